#include "skerrit/panel/text_escape.h"

namespace {

char EscapedCharacter(char letter) {
    switch (letter) {
        case 'N': case 'n': return '\r';
        case 'R': case 'r': return '\n';
        case 'T': case 't': return '\t';
        default: return '\0';
    }
}

}  // namespace

size_t DecodeTextEscapes(char* text) {
    if (text == nullptr) return 0;
    size_t out = 0;
    for (size_t in = 0; text[in] != '\0'; ++in) {
        const char decoded = text[in] == '\\' ? EscapedCharacter(text[in + 1]) : '\0';
        if (decoded != '\0') {
            text[out++] = decoded;
            ++in;
        } else {
            text[out++] = text[in];
        }
    }
    text[out] = '\0';
    return out;
}

