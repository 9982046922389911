#include "ulmarsh/dos_datetime.h"

#include <cstdio>

#include "ulmarsh/number_text.h"

namespace ulmarsh {
namespace {

// Two digits at least; a negative field shows its sign in front ("-05").
std::string TwoDigits(int64_t v) {
    char buf[32];
    if (v < 0)
        std::snprintf(buf, sizeof buf, "-%02lld", static_cast<long long>(-v));
    else
        std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(v));
    return buf;
}

std::optional<int32_t> FieldAt(std::string_view text, size_t pos, size_t len) {
    if (text.size() < pos + len) return std::nullopt;
    return ParseInt32(text.substr(pos, len));
}

std::optional<int32_t> LastField(std::string_view text, size_t len) {
    if (text.size() < len) return std::nullopt;
    return ParseInt32(text.substr(text.size() - len));
}

int64_t HalfTiesToEven(int64_t v) {
    if (v % 2 == 0) return v / 2;
    const int64_t below = (v - 1) / 2;  // v odd: exact division
    return below % 2 == 0 ? below : below + 1;
}

}  // namespace

std::string FormatDosDate(int32_t date) {
    const int64_t d = date;
    const int64_t day = d % 32;
    const int64_t month = ((d % 512) - day) / 32;
    const int64_t year = (d - d % 512) / 512 + 1980;
    return TwoDigits(month) + "/" + TwoDigits(day) + "/" + std::to_string(year);
}

std::string FormatDosTime(int32_t time) {
    const int64_t t = time;
    return TwoDigits(t / 2048) + ":" + TwoDigits((t / 32) % 64) + ":" + TwoDigits((t % 32) * 2);
}

std::optional<int32_t> ParseDosDate(std::string_view text) {
    const auto month = FieldAt(text, 0, 2);
    const auto day = FieldAt(text, 3, 2);
    const auto year = LastField(text, 4);
    if (!month || !day || !year) return std::nullopt;
    const int64_t v = ((static_cast<int64_t>(*year) - 1980) % 128) * 512 + (*month % 16) * 32 +
                      (*day % 32);
    return static_cast<int32_t>(v);
}

std::optional<int32_t> ParseDosTime(std::string_view text) {
    const auto hour = FieldAt(text, 0, 2);
    const auto minute = FieldAt(text, 3, 2);
    const auto second = LastField(text, 2);
    if (!hour || !minute || !second) return std::nullopt;
    const int64_t v = static_cast<int64_t>(*hour % 32) * 2048 + (*minute % 64) * 32 +
                      HalfTiesToEven(*second % 64);
    return static_cast<int32_t>(v);
}

}  // namespace ulmarsh
