#include "list_file_win.h"

#include "common/profile_value_win.h"

#include <windows.h>

#include <vector>

namespace tolvane {

namespace {
const char kSection[] = "REGISTER";
}

std::string ReadListFileValue(const std::string& list_file, const std::string& key) {
    return ReadWholeProfileValue(list_file, kSection, key);
}

bool WriteListFileValue(const std::string& list_file, const std::string& key,
                        const std::string& value) {
    if (list_file.empty()) return false;
    return WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), list_file.c_str()) != FALSE;
}

bool ListFileIsUnicode(const std::string& list_file) {
    if (list_file.empty()) return false;
    HANDLE file = CreateFileA(list_file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char start[3] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, start, sizeof start, &read, nullptr);
    CloseHandle(file);
    if (!ok || read < 2) return false;
    const bool utf16 = (start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF);
    const bool utf8 = read == 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF;
    return utf16 || utf8;
}

bool ListFileIsWritable(const std::string& list_file) {
    if (list_file.empty()) return false;
    // Asked first: an administrator may open a read-only file for writing on
    // some systems, but the attribute says the list is not to be changed.
    const DWORD attributes = GetFileAttributesA(list_file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    HANDLE file = CreateFileA(list_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace tolvane
