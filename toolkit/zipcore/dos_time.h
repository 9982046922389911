// MS-DOS date and time fields as ZIP stores them (local time, 2-second resolution).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace zipcore {

struct DosDateTime {
    uint16_t date = 0;  // bits 15-9 year-1980, 8-5 month, 4-0 day
    uint16_t time = 0;  // bits 15-11 hour, 10-5 minute, 4-0 second/2
};

struct CivilTime {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Clamps to the DOS range 1980-01-01 .. 2107-12-31; odd seconds round down.
DosDateTime toDos(const CivilTime& t);
CivilTime fromDos(DosDateTime dt);

// Local time conversion of a POSIX time stamp, and back (mktime in local time).
DosDateTime dosFromUnix(std::time_t t);
std::time_t unixFromDos(DosDateTime dt);

// "MM/DD/YYYY HH:MM:SS".
std::string formatDosDateTime(DosDateTime dt);

// Orders two stamps; the DOS layout makes (date << 16 | time) monotonic.
inline uint32_t dosStamp(DosDateTime dt) { return (uint32_t(dt.date) << 16) | dt.time; }

}  // namespace zipcore
