#include "toolkit/zipcore/name_parts.h"

namespace zipcore {

std::string withForwardSlashes(std::string text) {
    for (char& c : text)
        if (c == '\\') c = '/';
    return text;
}

std::string nameKey(const std::string& name, bool caseSensitive) {
    std::string key = withForwardSlashes(name);
    if (!caseSensitive)
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return key;
}

bool endsWithSeparator(const std::string& text) {
    return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

}  // namespace zipcore
