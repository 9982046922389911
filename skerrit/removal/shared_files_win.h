#pragma once
// Shared files: those whose path is a value name under
// HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs, and every file
// below the Windows folder (but its Temp folder), the system folders and the
// Common Files folders, which the system and other programs share whether or
// not a value names them. The count is neither read nor changed. Paths are
// compared by what they name (path_names_win.h).

#include <set>
#include <string>
#include <vector>

#include "skerrit/removal/path_names_win.h"

class SharedFiles {
public:
    // The key's value names and the machine's shared folders, read once for
    // a removal of many files.
    static SharedFiles Load(PathNames& names);
    bool Contains(const std::string& path, PathNames& names) const;
    std::size_t registered() const { return keys_.size(); }

private:
    std::set<std::string> keys_;
    std::vector<std::string> folders_;  // keys of the shared folders
    std::string windows_temp_;          // key
};

// One look-up (reads the key and the machine's folders).
bool IsSharedFile(const char* path);
