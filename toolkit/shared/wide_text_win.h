// UTF-8, the engine's form of names and texts, to and from the UTF-16 of the Win32 wide API
// and of BSTRs. Exact both ways: nothing goes through a code page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vxcom {

// Wide characters without the runtime's std::wstring, whose instance would add about 35 KB to
// every control.
using WideText = std::vector<wchar_t>;

// The text and a terminating zero; bytes that are no UTF-8 become U+FFFD.
WideText WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const wchar_t* text, size_t length);
// The ANSI code page's bytes, for texts that are bytes (passwords, item data, comments, the
// saved state): best fit as the system does it.
WideText WideFromAnsi(const std::string& ansi);
std::string AnsiFromWide(const wchar_t* text, size_t length);

} // namespace vxcom
