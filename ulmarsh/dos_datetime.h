// MS-DOS date and time words as the rename form shows and reads them.
// Showing never wraps: a word outside the DOS ranges shows its raw fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulmarsh {

std::string FormatDosDate(int32_t date);  // MM/DD/YYYY
std::string FormatDosTime(int32_t time);  // HH:MM:SS

// What a typed date or time gives. A field the word cannot carry is refused
// rather than packed: it would come back as another stamp.
struct DosWordText {
    enum Status { Read, Unreadable, OutOfRange };
    Status status = Unreadable;
    int32_t word = 0;  // set when Read
};

// Read by character position: MM at 1-2, DD at 4-5, year in the last four
// characters; separators are not examined. Unreadable when a field is no
// number; out of range unless it is a calendar day from 01/01/1980 to
// 12/31/2107.
DosWordText ReadDosDate(std::string_view text);
// HH at 1-2, MM at 4-5, seconds in the last two characters; seconds halve
// with ties to the even value (13 gives 6, 15 gives 8). Out of range unless
// it lies from 00:00:00 to 23:59:58 (59 seconds would halve to a 60th second).
DosWordText ReadDosTime(std::string_view text);

// The word of a date or time that reads; nothing otherwise.
std::optional<int32_t> ParseDosDate(std::string_view text);
std::optional<int32_t> ParseDosTime(std::string_view text);

}  // namespace ulmarsh
