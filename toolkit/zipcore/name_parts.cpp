#include "toolkit/zipcore/name_parts.h"

#include <cstdint>

namespace zipcore {

namespace {

// The small letter of a two-byte character's capital, or the character itself.
uint32_t lowerOf(uint32_t cp) {
    if ((cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) || (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) ||
        (cp >= 0x410 && cp <= 0x42F))
        return cp + 0x20;
    if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
    if (cp == 0x178) return 0xFF;
    if (cp == 0x386) return 0x3AC;
    if (cp >= 0x388 && cp <= 0x38A) return cp + 0x25;
    if (cp == 0x38C) return 0x3CC;
    if (cp == 0x38E || cp == 0x38F) return cp + 0x3F;
    const bool evenCapital = (cp >= 0x100 && cp <= 0x137 && cp != 0x130) || (cp >= 0x14A && cp <= 0x177) ||
                             (cp >= 0x460 && cp <= 0x481) || (cp >= 0x48A && cp <= 0x4BF);
    const bool oddCapital = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E) ||
                            (cp >= 0x4C1 && cp <= 0x4CE);
    if ((evenCapital && cp % 2 == 0) || (oddCapital && cp % 2 == 1)) return cp + 1;
    return cp;
}

}  // namespace

std::string foldCase(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            text[i] = char(c - 'A' + 'a');
        } else if (c >= 0xC2 && c <= 0xDF && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            const uint32_t lower = lowerOf(((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu));
            text[i] = char(0xC0 | (lower >> 6));
            text[++i] = char(0x80 | (lower & 0x3F));
        }
    }
    return text;
}

std::string withForwardSlashes(std::string text) {
    for (char& c : text)
        if (c == '\\') c = '/';
    return text;
}

std::string nameKey(const std::string& name, bool caseSensitive) {
    const std::string key = withForwardSlashes(name);
    return caseSensitive ? key : foldCase(key);
}

bool endsWithSeparator(const std::string& text) {
    return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

}  // namespace zipcore
