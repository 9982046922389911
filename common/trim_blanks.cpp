#include "trim_blanks.h"

#include <cstring>

void TrimBlanks(std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    const std::size_t last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
}

void TrimBlanks(char* text) {
    if (text == nullptr) return;
    std::size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') --length;
    text[length] = '\0';
    std::size_t first = 0;
    while (text[first] == ' ') ++first;
    if (first > 0) std::memmove(text, text + first, length - first + 1);
}
