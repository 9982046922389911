#include "installer/sample/sample_install_files_win.h"

#include <windows.h>

#include "common/scoped_handles_win.h"

namespace {

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool MakeFolderPath(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) return !folder.empty();
    const std::size_t slash = folder.find_last_of('\\');
    // Parents first; a drive ("C:") ends the walk.
    if (slash != std::string::npos && slash > 2 && !MakeFolderPath(folder.substr(0, slash))) return false;
    return CreateDirectoryA(folder.c_str(), nullptr) != FALSE || IsFolder(folder);
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    // A failed close can lose what was written.
    return file.Close() && ok && written == content.size();
}

unsigned long SharedFileCount(const std::string& path) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return 0;
    DWORD count = 0, type = 0, size = sizeof(count);
    if (RegQueryValueExA(key.get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(count))
        return 0;
    return count;
}

unsigned long AddSharedFileCount(const std::string& path) {
    const DWORD count = SharedFileCount(path) + 1;
    ScopedKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS)
        return 0;
    if (RegSetValueExA(key.get(), path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                       sizeof(count)) != ERROR_SUCCESS)
        return 0;
    return count;
}
