// UTF-8 item names (general-purpose flag bit 11, Info-ZIP Unicode path extra field) in the
// ANSI code page the engine, the file system and the hosts work in.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace zipcore {

// Converts a UTF-8 name; false when the bytes are no valid UTF-8 or a character has no
// equivalent in the code page (never a best-fit or default character).
using AnsiNameConverter = std::function<bool(const std::string& utf8, std::string& ansi)>;

// The platform's conversion: the ANSI code page on Windows (toolkit/shared/ansi_names_win.cpp),
// Windows-1252 elsewhere.
bool utf8ToAnsi(const std::string& utf8, std::string& ansi);

// UTF-8 to Windows-1252; its five unassigned bytes and U+0080-U+009F are not representable.
bool utf8ToCp1252(const std::string& utf8, std::string& ansi);

// Length (1-4) of the well-formed UTF-8 character at p, 0 when there is none: overlong forms,
// surrogates and values past U+10FFFF are not characters.
size_t utf8CharLength(const char* p, size_t available);

// Stands for each character the code page lacks when such a name is shown. It is a control
// character, so safeRelativeParts refuses the name and nothing is written under it.
constexpr char kUnrepresentableChar = '\x1A';

// The name in the code page; characters it lacks (and invalid bytes) become
// kUnrepresentableChar. False when there was any.
bool ansiItemName(const std::string& utf8, const AnsiNameConverter& convert, std::string& ansi);

}  // namespace zipcore
