// The program's entry under HKLM\...\Uninstall, named by the product name.
#pragma once

#include <string>

struct UninstallEntry {
    std::string product_name;
    std::string version;
    std::string log_path;
    std::string executable;  // full path of the program writing the entry
};

// Writes DisplayName, UninstallString, QuietUninstallString and
// DisplayVersion: 1 written, 2 failed. Values are stored with their
// terminating NUL counted.
long RegisterUninstallEntry(const UninstallEntry& entry);
// Deletes the entry's key with all its values: 1 removed, 2 failed.
long RemoveUninstallEntry(const std::string& product_name);
