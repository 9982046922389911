#include "skerrit/startup/temp_copy.h"

#include "common/padded_number.h"

std::string TempCopyPath(const std::string& temp_folder, unsigned long tick_count) {
    const std::string name = "sker" + PaddedNumber(tick_count % 10000UL, 4, 16) + ".exe";
    std::string path = temp_folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + name;
}
