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

}  // namespace tolvane
