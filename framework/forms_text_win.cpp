#include "framework/forms_text_win.h"

#include <vector>

namespace forms {

std::string WindowText(HWND hwnd) {
    if (!hwnd) return std::string();
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

}  // namespace forms
