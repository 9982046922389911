#include "toolkit/zipcore/long_names.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/name_coding.h"

namespace zipcore {

namespace {

std::string dosChars(const std::string& text, size_t limit) {
    std::string out;
    // A character outside ASCII becomes '_': the short name is plain ASCII in every code page.
    for (size_t i = 0; i < text.size() && out.size() < limit;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t n = c < 0x80 ? 1 : std::max<size_t>(1, utf8CharLength(&text[i], text.size() - i));
        i += n;
        if (c == ' ' || c == '.') continue;
        if (c < 0x80 && (std::isalnum(c) || (c != 0 && std::strchr("!#$%&'()-@^_`{}~", c))))
            out.push_back(char(std::toupper(c)));
        else
            out.push_back('_');
    }
    return out;
}

std::string upper(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::string mangledPart(const std::string& part, int number) {
    const size_t dot = part.find_last_of('.');
    const bool hasExt = dot != std::string::npos && dot > 0;
    std::string base = dosChars(hasExt ? part.substr(0, dot) : part, 8);
    const std::string ext = hasExt ? dosChars(part.substr(dot + 1), 3) : std::string();
    const std::string tail = "~" + std::to_string(number);
    if (base.empty()) base = "_";
    base = base.substr(0, 8 - std::min<size_t>(tail.size(), 7)) + tail;
    return ext.empty() ? base : base + "." + ext;
}

void LongNameMangler::mangle(std::vector<std::string>& parts) {
    std::string folder;
    for (std::string& part : parts) {
        const std::string key = folder + "\n" + upper(part);
        if (!isShortName(part)) {
            auto hit = assigned_.find(key);
            if (hit == assigned_.end()) {
                std::string name;
                for (int n = 1; n < 1000000; ++n) {
                    name = mangledPart(part, n);
                    if (!taken_.count(folder + "\n" + name)) break;
                }
                taken_.insert(folder + "\n" + name);
                hit = assigned_.emplace(key, name).first;
            }
            part = hit->second;
        } else {
            taken_.insert(folder + "\n" + upper(part));
        }
        folder += "\n" + upper(part);
    }
}

}  // namespace zipcore
