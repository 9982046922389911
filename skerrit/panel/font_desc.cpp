#include "skerrit/panel/font_desc.h"

#include <cstdint>

namespace {

constexpr int kNumericItems = 6;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads a signed decimal number at the start of an item; saturates instead of
// overflowing. Leaves `p` at the item's comma or the end of the text.
int32_t ReadNumberItem(const char*& p) {
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT32_MAX) value = value * 10 + (*p - '0');
    }
    while (*p != '\0' && *p != ',') ++p;
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

FontDescription ParseFontDescription(const char* text) {
    FontDescription font{};
    if (text == nullptr) return font;
    int32_t numbers[kNumericItems] = {};
    const char* p = text;
    int commas = 0;
    for (int item = 0; item < kNumericItems; ++item) {
        numbers[item] = ReadNumberItem(p);
        if (*p != ',') break;
        ++p;
        ++commas;
    }
    // The face name exists only after the sixth comma.
    int length = 0;
    if (commas == kNumericItems) {
        for (; length < kMaxFaceNameLength && p[length] != '\0'; ++length) font.faceName[length] = p[length];
    }
    font.faceName[length] = '\0';
    font.height = numbers[0];
    font.width = numbers[1];
    font.weight = numbers[2];
    font.italic = numbers[3] != 0;
    font.underline = numbers[4] != 0;
    font.strikeout = numbers[5] != 0;
    return font;
}

