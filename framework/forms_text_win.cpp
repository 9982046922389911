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

std::string LoadResourceText(HINSTANCE instance, UINT id) {
    // String-table entries hold at most 4097 characters including the NUL.
    std::vector<char> buffer(4100);
    const int got = LoadStringA(instance, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

}  // namespace forms
