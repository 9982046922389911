// A fixed text block of the picture panel (text, font description,
// background file): 260 bytes, or absent.
#pragma once

#include <cstddef>

class PanelTextBlock {
public:
    static constexpr size_t kCapacity = 260;

    // Stores at most kCapacity - 1 characters; returns false when the source
    // was longer and had to be cut.
    bool Set(const char* source);
    void Clear();
    bool Present() const { return present_; }
    // Empty when absent.
    const char* Text() const { return present_ ? text_ : ""; }
    char* MutableText() { return text_; }

    // Copies into a caller's buffer the way the panel's get-messages do:
    // untouched when the buffer or its size is 0, otherwise emptied and given
    // at most min(size, kCapacity) - 1 characters. Returns the count copied.
    size_t CopyTo(char* buffer, size_t size) const;

private:
    bool present_ = false;
    char text_[kCapacity] = {};
};

