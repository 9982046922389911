#include "framework/forms_filter.h"

namespace forms {

std::string OpenDialogFilter(const std::string& barSeparated) {
    if (barSeparated.empty()) return std::string();
    std::string out = barSeparated;
    for (char& c : out)
        if (c == '|') c = '\0';
    // A description without a pattern is unusable; pair it with itself.
    size_t parts = 1;
    for (char c : barSeparated) parts += c == '|';
    if (parts % 2 != 0) out.push_back('\0'), out += "*.*";
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

}  // namespace forms
