#include "list_file_win.h"

#include <windows.h>

#include <vector>

namespace tolvane {

namespace {
const char kSection[] = "REGISTER";
}

std::string ReadWholeProfileValue(const std::string& file, const char* section, const std::string& key) {
    // The profile functions would take an empty name as win.ini.
    if (file.empty()) return std::string();
    // The profile functions report a value that fills the buffer as size - 1:
    // grow until the value fits with room to spare.
    // A value still filling the largest buffer is returned as read: it is far
    // over every limit of the callers either way.
    std::string value;
    for (DWORD size = 1024; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD length = GetPrivateProfileStringA(section, key.c_str(), "", buffer.data(), size,
                                                      file.c_str());
        value.assign(buffer.data(), length < size ? length : size - 1);
        if (length < size - 1) break;
    }
    return value;
}

std::string ReadListFileValue(const std::string& list_file, const std::string& key) {
    return ReadWholeProfileValue(list_file, kSection, key);
}

bool WriteListFileValue(const std::string& list_file, const std::string& key,
                        const std::string& value) {
    if (list_file.empty()) return false;
    return WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), list_file.c_str()) != FALSE;
}

}  // namespace tolvane
