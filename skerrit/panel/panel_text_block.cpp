#include "skerrit/panel/panel_text_block.h"

#include <cstring>

bool PanelTextBlock::Set(const char* source) {
    if (source == nullptr) {
        Clear();
        return true;
    }
    size_t length = 0;
    while (length < kCapacity && source[length] != '\0') ++length;
    const bool whole = length < kCapacity;
    if (!whole) length = kCapacity - 1;
    std::memcpy(text_, source, length);
    text_[length] = '\0';
    present_ = true;
    return whole;
}

void PanelTextBlock::Clear() {
    present_ = false;
    text_[0] = '\0';
}

size_t PanelTextBlock::CopyTo(char* buffer, size_t size) const {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    const size_t limit = (size < kCapacity ? size : kCapacity) - 1;
    const char* text = Text();
    size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return length;
}
