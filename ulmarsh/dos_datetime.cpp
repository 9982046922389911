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

bool InRange(int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; }

int DaysInMonth(int32_t year, int32_t month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

DosWordText Refused(DosWordText::Status status) { return DosWordText{status, 0}; }

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

DosWordText ReadDosDate(std::string_view text) {
    const auto month = FieldAt(text, 0, 2);
    const auto day = FieldAt(text, 3, 2);
    const auto year = LastField(text, 4);
    if (!month || !day || !year) return Refused(DosWordText::Unreadable);
    if (!InRange(*year, 1980, 2107) || !InRange(*month, 1, 12) ||
        !InRange(*day, 1, DaysInMonth(*year, *month)))
        return Refused(DosWordText::OutOfRange);
    return DosWordText{DosWordText::Read, (*year - 1980) * 512 + *month * 32 + *day};
}

DosWordText ReadDosTime(std::string_view text) {
    const auto hour = FieldAt(text, 0, 2);
    const auto minute = FieldAt(text, 3, 2);
    const auto second = LastField(text, 2);
    if (!hour || !minute || !second) return Refused(DosWordText::Unreadable);
    if (!InRange(*hour, 0, 23) || !InRange(*minute, 0, 59) || !InRange(*second, 0, 59))
        return Refused(DosWordText::OutOfRange);
    const int64_t halves = HalfTiesToEven(*second);
    if (halves > 29) return Refused(DosWordText::OutOfRange);
    return DosWordText{DosWordText::Read,
                       static_cast<int32_t>(*hour * 2048 + *minute * 32 + halves)};
}

std::optional<int32_t> ParseDosDate(std::string_view text) {
    const DosWordText r = ReadDosDate(text);
    if (r.status != DosWordText::Read) return std::nullopt;
    return r.word;
}

std::optional<int32_t> ParseDosTime(std::string_view text) {
    const DosWordText r = ReadDosTime(text);
    if (r.status != DosWordText::Read) return std::nullopt;
    return r.word;
}

}  // namespace ulmarsh
