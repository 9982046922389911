#include "common/profile_value_win.h"

#include <windows.h>

#include <vector>

std::string ReadWholeProfileValue(const std::string& file, const char* section, const std::string& key) {
    if (file.empty()) return std::string();
    // The profile functions report a value that fills the buffer as size - 1: grow until the
    // value fits with room to spare. A value still filling the largest buffer is returned as
    // read: it is far over every caller's limit either way.
    std::string value;
    for (DWORD size = 1024; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD length =
            GetPrivateProfileStringA(section, key.c_str(), "", buffer.data(), size, file.c_str());
        value.assign(buffer.data(), length < size ? length : size - 1);
        if (length < size - 1) break;
    }
    return value;
}
