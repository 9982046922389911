// Zero-padded decimal or lower-case hexadecimal digits, as "%0Nd" or "%0Nx" print them,
// without linking the C library's whole printf engine (about 25 KB) into shipped files.
#pragma once

#include <string>

inline std::string PaddedNumber(unsigned long long value, int width, unsigned base = 10) {
    char digits[64];  // a 64-bit value has at most 64 digits in any base from 2
    int count = 0;
    do {
        const unsigned digit = static_cast<unsigned>(value % base);
        digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        value /= base;
    } while (value != 0);
    std::string text(width > count ? static_cast<size_t>(width - count) : 0u, '0');
    while (count > 0) text += digits[--count];
    return text;
}
