#include "toolkit/zipcore/entry_name.h"

#include <cctype>
#include <cstring>

#include "toolkit/zipcore/name_coding.h"
#include "toolkit/zipcore/name_parts.h"

namespace zipcore {

namespace {

std::vector<std::string> splitSlashes(const std::string& name) {
    std::vector<std::string> parts;
    forEachPart(name, [&](const std::string& part) { parts.push_back(part); });
    return parts;
}

// Windows also reads the superscript digits (in every code page) as device numbers.
bool isDeviceDigit(const std::string& text) {
    return (text.size() == 1 && text[0] >= '0' && text[0] <= '9') || text == "\xC2\xB9" || text == "\xC2\xB2" ||
           text == "\xC2\xB3";
}

bool isDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
    for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    return base.size() > 3 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           isDeviceDigit(base.substr(3));
}

// Control characters, including C1 and DEL, and bytes that are no character.
bool hasControlCharacter(const std::string& part) {
    for (size_t i = 0; i < part.size();) {
        const size_t n = utf8CharLength(&part[i], part.size() - i);
        if (n == 0) return true;
        const uint32_t cp = utf8CodePoint(&part[i], n);
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
        i += n;
    }
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

// A character outside ASCII counts as one DOS character, as its OEM form would.
bool shortText(const std::string& text, size_t limit) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const size_t n = utf8CharLength(&text[i], text.size() - i);
        if (n == 0 || !isShortChar(static_cast<unsigned char>(text[i]))) return false;
        i += n;
    }
    return count <= limit;
}

bool isShortPart(const std::string& part) {
    const size_t dot = part.find('.');
    const std::string base = part.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : part.substr(dot + 1);
    if (base.empty()) return false;
    if (dot != std::string::npos && ext.empty()) return false;
    return shortText(base, 8) && shortText(ext, 3);
}

}  // namespace

bool safeRelativeParts(const std::string& itemName, std::vector<std::string>& parts) {
    parts.clear();
    if (itemName.empty() || itemName[0] == '/' || itemName[0] == '\\') return false;
    if (itemName.find(':') != std::string::npos) return false;
    for (std::string part : splitSlashes(itemName)) {
        if (part.empty() || part == ".") continue;
        // Windows drops trailing dots and blanks, so ". ." or "..." would become "..".
        if (onlyDotsAndBlanks(part)) return false;
        if (hasControlCharacter(part) || isDeviceName(part)) return false;
        // Dropped here as Windows drops them, so that a path the system does not normalise
        // (a long one) names the same file.
        while (part.back() == '.' || part.back() == ' ') part.pop_back();
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
