#include "toolkit/zipcore/dos_time.h"

#include "common/padded_number.h"

namespace zipcore {

namespace {

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

DosDateTime toDos(const CivilTime& t) {
    DosDateTime out;
    if (t.year < 1980) {
        out.date = (1 << 5) | 1;  // 1980-01-01 00:00:00
        return out;
    }
    if (t.year > 2107) {
        out.date = uint16_t((127 << 9) | (12 << 5) | 31);
        out.time = uint16_t((23 << 11) | (59 << 5) | 29);
        return out;
    }
    const int month = clampInt(t.month, 1, 12);
    const int day = clampInt(t.day, 1, 31);
    out.date = uint16_t(((t.year - 1980) << 9) | (month << 5) | day);
    out.time = uint16_t((clampInt(t.hour, 0, 23) << 11) | (clampInt(t.minute, 0, 59) << 5) |
                        (clampInt(t.second, 0, 59) / 2));
    return out;
}

CivilTime fromDos(DosDateTime dt) {
    CivilTime t;
    t.year = 1980 + (dt.date >> 9);
    t.month = (dt.date >> 5) & 0x0F;
    t.day = dt.date & 0x1F;
    t.hour = dt.time >> 11;
    t.minute = (dt.time >> 5) & 0x3F;
    t.second = (dt.time & 0x1F) * 2;
    return t;
}

DosDateTime dosFromUnix(std::time_t t) {
    std::tm parts{};
#if defined(_WIN32)
    if (localtime_s(&parts, &t) != 0) return toDos(CivilTime{});
#else
    if (localtime_r(&t, &parts) == nullptr) return toDos(CivilTime{});
#endif
    CivilTime c;
    c.year = parts.tm_year + 1900;
    c.month = parts.tm_mon + 1;
    c.day = parts.tm_mday;
    c.hour = parts.tm_hour;
    c.minute = parts.tm_min;
    c.second = parts.tm_sec;
    return toDos(c);
}

std::time_t unixFromDos(DosDateTime dt) {
    const CivilTime c = fromDos(dt);
    std::tm parts{};
    parts.tm_year = c.year - 1900;
    // Out-of-range fields of a damaged stamp are normalised by mktime rather than trusted.
    parts.tm_mon = clampInt(c.month, 1, 12) - 1;
    parts.tm_mday = clampInt(c.day, 1, 31);
    parts.tm_hour = c.hour;
    parts.tm_min = c.minute;
    parts.tm_sec = c.second;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

std::string formatDosDateTime(DosDateTime dt) {
    const CivilTime c = fromDos(dt);
    return PaddedNumber(c.month, 2) + '/' + PaddedNumber(c.day, 2) + '/' + PaddedNumber(c.year, 4) + ' ' +
           PaddedNumber(c.hour, 2) + ':' + PaddedNumber(c.minute, 2) + ':' + PaddedNumber(c.second, 2);
}

}  // namespace zipcore
