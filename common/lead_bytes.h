// Paths are bytes of the ANSI code page. In a double-byte code page (932,
// 936, 949, 950) a lead byte starts a two-byte character whose second byte
// may be 0x5C, the backslash: that byte belongs to the character and never
// separates path parts.
#pragma once

#include <cstddef>
#include <string_view>

using LeadByteTest = bool (*)(unsigned char byte);

// Replaces how lead bytes are recognised (tests); null restores the default:
// the system's ANSI code page on Windows, none elsewhere.
void UseLeadByteTest(LeadByteTest test);
bool IsLeadByte(unsigned char byte);

// Offset of the last backslash that is a separator; npos when none.
std::size_t LastSeparator(std::string_view path);
bool EndsWithSeparator(std::string_view path);
std::size_t SeparatorCount(std::string_view path);
// Offset of the first separator at or after `from`; npos when none.
std::size_t NextSeparator(std::string_view path, std::size_t from);
