#include "ulmarsh/number_text.h"

namespace ulmarsh {

std::optional<int64_t> ParseWholeNumber(std::string_view text, int32_t min, int32_t max) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t firstDigit = i;
    // The magnitude stops growing as soon as it passes the 32-bit limit, so
    // any number of digits fits in 64 bits.
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(min) : static_cast<int64_t>(max);
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) return std::nullopt;
        ++i;
    }
    if (i == firstDigit) return std::nullopt;
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i != n) return std::nullopt;
    return negative ? -magnitude : magnitude;
}

}  // namespace ulmarsh
