#include "toolkit/zipcore/entry_name.h"

#include <cctype>
#include <cstring>

#include "toolkit/zipcore/code_page.h"

namespace zipcore {

namespace {

std::vector<std::string> splitSlashes(const std::string& name) {
    std::vector<std::string> parts;
    forEachPart(name, [&](const std::string& part) { parts.push_back(part); });
    return parts;
}

// Windows also reads the superscript digits of code page 1252 (¹ ² ³) as device numbers.
bool isDeviceDigit(unsigned char c) { return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3; }

bool isDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        isDeviceDigit(static_cast<unsigned char>(base[3])))
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

// A double-byte character counts as a DOS character, whatever its trail byte is.
bool allShortChars(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (isLeadByte(c) && i + 1 < text.size()) ++i;
        else if (!isShortChar(c)) return false;
    }
    return true;
}

bool isShortPart(const std::string& part) {
    const size_t dot = part.find('.');
    const std::string base = part.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : part.substr(dot + 1);
    if (base.empty() || base.size() > 8) return false;
    if (dot != std::string::npos && (ext.empty() || ext.size() > 3)) return false;
    return allShortChars(base) && allShortChars(ext);
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
    const std::string p = withForwardSlashes(path);
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
    while (endsWithSeparator(n)) n.pop_back();
    for (const std::string& part : splitSlashes(n))
        if (!isShortPart(part)) return false;
    return true;
}

}  // namespace zipcore
