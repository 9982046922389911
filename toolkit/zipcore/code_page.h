// Names are bytes of the ANSI code page. In a double-byte code page (932, 936, 949, 950) a
// lead byte starts a two-byte character whose second byte may be 0x5C, the backslash: that
// byte is part of the character, never a path separator (表 is 0x95 0x5C in code page 932).
#pragma once

#include <string>

namespace zipcore {

using LeadByteTest = bool (*)(unsigned char byte);

// Replaces how lead bytes are recognised; null restores the default: the system's ANSI code
// page on Windows, none elsewhere. Meant to be set once, before any run.
void useLeadByteTest(LeadByteTest test);
bool isLeadByte(unsigned char byte);

// Every separator ('\\' or '/') turned into '/'; trail bytes stay as they are.
std::string withForwardSlashes(std::string text);
// The name as a comparison key: forward slashes and, unless case counts, ASCII letters in
// lower case; trail bytes stay as they are (they would otherwise turn into other characters).
std::string nameKey(const std::string& name, bool caseSensitive);
// Whether the last character is a separator (not the trail byte of a character).
bool endsWithSeparator(const std::string& text);
// Calls `part` for each run between separators, in order (empty runs included).
template <typename Part>
void forEachPart(const std::string& text, Part part) {
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            current.push_back(c);
            current.push_back(text[++i]);
        } else if (c == '/' || c == '\\') {
            part(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    part(current);
}

}  // namespace zipcore
