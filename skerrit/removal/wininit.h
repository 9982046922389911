#pragma once
// The Windows 9x restart-time file operations in "wininit.ini", section
// [rename]: a "NUL=<short path>" line deletes that file at the next start.
// Portable: the rewrite of the file's content.

#include <string>
#include <string_view>

// Offset of the first "[rename]\r\n" (without regard to case), or npos.
std::size_t FindRenameHeader(std::string_view content);

// The content with "NUL=<short path>\r\n" as the first line after the
// [rename] header, or with a new "[rename]" section at the top when there is
// no header. Every byte of `content` is kept.
std::string InsertWininitDeletion(std::string_view content, std::string_view short_path);
