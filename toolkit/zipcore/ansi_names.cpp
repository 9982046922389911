#include "toolkit/zipcore/ansi_names.h"

#include <cstdint>

namespace zipcore {

namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte is unassigned.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

uint32_t decode(const char* p, size_t n) {
    const auto b = [p](size_t i) { return uint32_t(static_cast<unsigned char>(p[i])); };
    switch (n) {
    case 1: return b(0);
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default: return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

bool cp1252Byte(uint32_t cp, char& out) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        out = char(cp);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp) {
            out = char(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

size_t utf8CharLength(const char* p, size_t available) {
    if (available == 0) return 0;
    const unsigned char lead = static_cast<unsigned char>(p[0]);
    size_t n;
    uint32_t least;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) { n = 2; least = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { n = 3; least = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { n = 4; least = 0x10000; }
    else return 0;
    if (available < n) return 0;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return 0;
    const uint32_t cp = decode(p, n);
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

bool utf8ToCp1252(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8CharLength(&utf8[i], utf8.size() - i);
        char c;
        if (n == 0 || !cp1252Byte(decode(&utf8[i], n), c)) {
            ansi.clear();
            return false;
        }
        ansi.push_back(c);
        i += n;
    }
    return true;
}

bool ansiItemName(const std::string& utf8, const AnsiNameConverter& convert, std::string& ansi) {
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) {
        ansi = utf8;
        return true;
    }
    if (convert(utf8, ansi)) return true;
    // Character by character, so that the name still shows which characters are missing.
    ansi.clear();
    std::string one;
    bool whole = true;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8CharLength(&utf8[i], utf8.size() - i);
        if (n == 1) {
            ansi.push_back(utf8[i]);
        } else if (n > 1 && convert(utf8.substr(i, n), one)) {
            ansi += one;
        } else {
            ansi.push_back(kUnrepresentableChar);
            whole = false;
        }
        i += n > 0 ? n : 1;
    }
    return whole;
}

}  // namespace zipcore
