#include "scoped_win.h"

#include <vector>

namespace tolvane {

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& folder) {
    // Sized by the system, so a deep current folder is restored exactly.
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return;
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return;
    previous_.assign(buffer.data(), length);
    if (!folder.empty()) changed_ = SetCurrentDirectoryA(folder.c_str()) != FALSE;
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    if (changed_) SetCurrentDirectoryA(previous_.c_str());
}

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace tolvane
