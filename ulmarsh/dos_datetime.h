// MS-DOS date and time words as the rename form shows and reads them.
// Remainders keep the sign of the dividend, so out-of-range values stay
// reversible rather than wrapping.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulmarsh {

std::string FormatDosDate(int32_t date);  // MM/DD/YYYY
std::string FormatDosTime(int32_t time);  // HH:MM:SS

// Read by character position: MM at 1-2, DD at 4-5, year in the last four
// characters; separators are not examined. Nothing when a field is no number.
std::optional<int32_t> ParseDosDate(std::string_view text);
// HH at 1-2, MM at 4-5, seconds in the last two characters; seconds halve
// with ties to the even value (13 gives 6, 15 gives 8).
std::optional<int32_t> ParseDosTime(std::string_view text);

}  // namespace ulmarsh
