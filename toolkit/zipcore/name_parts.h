// Names and paths as the engine holds them, in UTF-8: no byte of a multi-byte character is
// ever an ASCII byte, so '/' and '\\' bytes are always separators.
#pragma once

#include <string>

namespace zipcore {

// Every separator ('\\' or '/') turned into '/'.
std::string withForwardSlashes(std::string text);
// Letters in lower case as Windows compares names: ASCII, Latin-1, Latin Extended-A, Greek
// and Cyrillic capitals (characters without case, or whose fold would change their byte
// length, stay). Every character keeps its length, so positions stay valid.
std::string foldCase(std::string utf8);
// The name as a comparison key: forward slashes and, unless case counts, folded letters.
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
