#include "toolkit/zipcore/entry_name.h"

#include <cctype>
#include <cstring>

namespace zipcore {

namespace {

std::vector<std::string> splitSlashes(const std::string& name) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : name) {
        if (c == '/' || c == '\\') {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    parts.push_back(current);
    return parts;
}

bool isDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '0' && base[3] <= '9')
        return true;
    return false;
}

bool onlyDotsAndBlanks(const std::string& part) {
    for (char c : part)
        if (c != '.' && c != ' ') return false;
    return true;
}

bool isShortChar(unsigned char c) {
    if (c >= 0x80 || std::isalnum(c)) return true;
    return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr && c != 0;
}

bool isShortPart(const std::string& part) {
    const size_t dot = part.find('.');
    const std::string base = part.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : part.substr(dot + 1);
    if (base.empty() || base.size() > 8) return false;
    if (dot != std::string::npos && (ext.empty() || ext.size() > 3)) return false;
    for (unsigned char c : base)
        if (!isShortChar(c)) return false;
    for (unsigned char c : ext)
        if (!isShortChar(c)) return false;
    return true;
}

}  // namespace

bool safeRelativeParts(const std::string& itemName, std::vector<std::string>& parts) {
    parts.clear();
    if (itemName.empty() || itemName[0] == '/' || itemName[0] == '\\') return false;
    if (itemName.find(':') != std::string::npos) return false;
    for (const std::string& part : splitSlashes(itemName)) {
        if (part.empty() || part == ".") continue;
        // Windows drops trailing dots and blanks, so ". ." or "..." would become "..".
        if (onlyDotsAndBlanks(part)) return false;
        for (unsigned char c : part)
            if (c < 0x20) return false;
        if (isDeviceName(part)) return false;
        parts.push_back(part);
    }
    return !parts.empty();
}

std::string storedNameFor(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    size_t start = 0;
    if (p.size() >= 2 && p[0] == '/' && p[1] == '/') {
        // UNC path: drop //server/share.
        size_t slashes = 0;
        for (start = 2; start < p.size() && slashes < 2; ++start)
            if (p[start] == '/') ++slashes;
        if (slashes < 2) start = p.size();
    }
    std::vector<std::string> kept;
    for (const std::string& part : splitSlashes(p.substr(start))) {
        if (part.empty() || part == "." || part == "..") continue;
        // A drive can only lead; "C:" or "C:name" at the front loses its drive.
        std::string rest = part;
        while (kept.empty() && rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0])))
            rest.erase(0, 2);
        if (rest.empty() || rest == "." || rest == "..") continue;
        kept.push_back(rest);
    }
    std::string out;
    for (const std::string& part : kept) {
        if (!out.empty()) out.push_back('/');
        out += part;
    }
    return out;
}

bool isShortName(const std::string& name) {
    std::string n = name;
    while (!n.empty() && (n.back() == '/' || n.back() == '\\')) n.pop_back();
    for (const std::string& part : splitSlashes(n))
        if (!isShortPart(part)) return false;
    return true;
}

}  // namespace zipcore
