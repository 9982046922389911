#include "skerrit/startup/temp_copy.h"

#include <cstdio>

bool RunsFromTempFolder(const std::string& upper_executable, const std::string& upper_temp_folder) {
    // Without a known temporary folder there is nowhere to copy to: stay put.
    return upper_temp_folder.empty() || upper_executable.find(upper_temp_folder) != std::string::npos;
}

std::string TempCopyPath(const std::string& temp_folder, unsigned long tick_count) {
    char name[32];
    std::snprintf(name, sizeof(name), "sker%04lx.exe", tick_count % 10000UL);
    std::string path = temp_folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + name;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}
