#include "framework/afx_resource_win.h"

#include <vector>

std::string ModuleFileName(HMODULE module)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(module, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        if (buffer.size() >= 32768)
            return std::string(); // a cut path is never used
        buffer.resize(buffer.size() * 2);
    }
}

std::string LoadResourceString(HINSTANCE instance, UINT id)
{
    // Strings live in blocks of 16 counted UTF-16 entries.
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id / 16 + 1),
                                  reinterpret_cast<LPCSTR>(RT_STRING));
    if (found == nullptr)
        return std::string();
    const DWORD size = ::SizeofResource(instance, found);
    HGLOBAL loaded = ::LoadResource(instance, found);
    const auto* words = static_cast<const WCHAR*>(::LockResource(loaded));
    if (words == nullptr)
        return std::string();
    const size_t count = size / sizeof(WCHAR);
    size_t pos = 0;
    for (UINT index = 0; index < id % 16; ++index) {
        if (pos >= count)
            return std::string();
        pos += 1 + words[pos];
    }
    if (pos >= count || words[pos] == 0 || pos + 1 + words[pos] > count)
        return std::string();
    const int length = words[pos];
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, words + pos + 1, length, nullptr, 0,
                                            nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_ACP, 0, words + pos + 1, length, &text[0], bytes, nullptr,
                              nullptr);
    return text;
}

ResourceBytes FindResourceBytes(HINSTANCE instance, UINT id, const char* type)
{
    ResourceBytes bytes;
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), type);
    if (found == nullptr)
        return bytes;
    HGLOBAL loaded = ::LoadResource(instance, found);
    bytes.data = static_cast<const unsigned char*>(::LockResource(loaded));
    bytes.size = bytes.data != nullptr ? ::SizeofResource(instance, found) : 0;
    return bytes;
}
