// Strict reading of whole numbers typed into the bench's boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ulmarsh {

// Optional blanks, an optional sign, at least one digit, optional blanks;
// nothing else. Out-of-range values give nothing.
std::optional<int64_t> ParseWholeNumber(std::string_view text, int32_t min, int32_t max);

inline std::optional<int16_t> ParseInt16(std::string_view text) {
    auto v = ParseWholeNumber(text, INT16_MIN, INT16_MAX);
    if (!v) return std::nullopt;
    return static_cast<int16_t>(*v);
}

inline std::optional<int32_t> ParseInt32(std::string_view text) {
    auto v = ParseWholeNumber(text, INT32_MIN, INT32_MAX);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

}  // namespace ulmarsh
