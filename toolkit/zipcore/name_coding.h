// How item names are coded. The engine, its file systems and the controls work on names in
// UTF-8. Archives hold ASCII names as they are, other names in UTF-8 with flag bit 11 (or an
// Info-ZIP Unicode path field); names without either are in the OEM code page of the host
// that wrote them, except that Unix and macOS writers store UTF-8 without saying so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zipcore {

// Length (1-4) of the well-formed UTF-8 character at p, 0 when there is none: overlong forms,
// surrogates and values past U+10FFFF are not characters.
size_t utf8CharLength(const char* p, size_t available);
// The code point of a character utf8CharLength measured as n bytes long.
uint32_t utf8CodePoint(const char* p, size_t n);
void appendUtf8(std::string& out, uint32_t codePoint);
bool isValidUtf8(const std::string& text);
bool isAscii(const std::string& text);

// Stands for each byte that is no character. It is a control character, so
// safeRelativeParts refuses the name and nothing is written under it.
constexpr char kUnrepresentableChar = '\x1A';

// The text with every byte that starts no well-formed character replaced.
std::string validUtf8Name(const std::string& bytes);

// An OEM code page name in UTF-8: the system's OEM code page on Windows
// (toolkit/shared/oem_names_win.cpp), code page 437 elsewhere.
std::string oemToUtf8(const std::string& oem);
std::string cp437ToUtf8(const std::string& bytes);

// Host systems ("version made by" high byte) that matter for names.
enum : uint8_t { kHostMsDos = 0, kHostOs2 = 6, kHostNtfs = 11 };

// A header name without flag bit 11 or a Unicode path field, as other tools read it.
std::string legacyItemName(const std::string& bytes, uint8_t host);

}  // namespace zipcore
