#include "skerrit/startup/temp_copy.h"

#include "common/padded_number.h"

bool RunsFromTempFolder(const std::string& upper_executable, const std::string& upper_temp_folder) {
    // Without a known temporary folder there is nowhere to copy to: stay put.
    return upper_temp_folder.empty() || upper_executable.find(upper_temp_folder) != std::string::npos;
}

std::string TempCopyPath(const std::string& temp_folder, unsigned long tick_count) {
    const std::string name = "sker" + PaddedNumber(tick_count % 10000UL, 4, 16) + ".exe";
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
