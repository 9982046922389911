// Names and paths as the engine holds them, in UTF-8: no byte of a multi-byte character is
// ever an ASCII byte, so '/' and '\\' bytes are always separators.
#pragma once

#include <string>

namespace zipcore {

// Every separator ('\\' or '/') turned into '/'.
std::string withForwardSlashes(std::string text);
// The name as a comparison key: forward slashes and, unless case counts, ASCII letters in
// lower case.
std::string nameKey(const std::string& name, bool caseSensitive);
// Whether the last character is a separator.
bool endsWithSeparator(const std::string& text);
// Calls `part` for each run between separators, in order (empty runs included).
template <typename Part>
void forEachPart(const std::string& text, Part part) {
    std::string current;
    for (const char c : text) {
        if (c == '/' || c == '\\') {
            part(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    part(current);
}

}  // namespace zipcore
