#include "ulmarsh/item_info_text.h"

namespace ulmarsh {

const char* MethodName(int32_t code) {
    static const char* const kNames[] = {"Stored",   "Shrunken", "Reduced1",
                                         "Reduced2", "Reduced3", "Reduced4",
                                         "Imploded", "Tokenized", "Deflated"};
    if (code < 0 || code >= static_cast<int32_t>(sizeof kNames / sizeof kNames[0]))
        return "Unknown";
    return kNames[code];
}

std::string AttributeText(int32_t attributes) {
    struct Letter {
        char letter;
        uint32_t bit;
    };
    static const Letter kLetters[] = {{'a', 0x20}, {'d', 0x10},   {'v', 0x08},
                                      {'s', 0x04}, {'h', 0x02},   {'r', 0x01},
                                      {'*', 0x8000}, {'L', 0x10000}};
    const auto bits = static_cast<uint32_t>(attributes);
    std::string text;
    for (const Letter& l : kLetters) text += (bits & l.bit) ? l.letter : '-';
    return text;
}

const char* PathTypeText(int32_t pathType) { return pathType != 0 ? "Yes" : "No"; }

std::string DecimalText(int64_t value) { return std::to_string(value); }

std::string SizeText(int32_t value) { return DecimalText(static_cast<uint32_t>(value)); }

}  // namespace ulmarsh
