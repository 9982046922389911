#pragma once
// Shared files: those whose path is a value name under
// HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs, and every file
// below the Windows folder (but its Temp folder), the system folders and the
// Common Files folders, which the system and other programs share whether or
// not a value names them. The count is neither read nor changed. Paths are
// compared by what they name (path_names_win.h).

#include <string>
#include <unordered_set>
#include <vector>

#include "skerrit/removal/path_names_win.h"

class SharedFiles {
public:
    // The key's value names and the machine's shared folders, read once for
    // a removal of many files.
    static SharedFiles Load(PathNames& names);
    bool Contains(const std::string& path, PathNames& names) const;

private:
    bool FolderShared(const std::string& folder_key) const;

    std::unordered_set<std::string> keys_;         // of the registered files
    std::vector<std::string> registered_folders_;  // keys of their folders, with a trailing backslash
    std::vector<std::string> folders_;             // keys of the shared folders
    std::string windows_temp_;          // key
    // What holds for the folder asked about last, as spelled: a removal asks
    // about one folder's files in a row, and builds a file's key only where
    // a registered file lies.
    mutable std::string last_spelling_;
    mutable std::string last_key_;  // with a trailing backslash
    mutable bool last_known_ = false;
    mutable bool last_shared_ = false;
    mutable bool last_registered_ = false;
};

// One look-up (reads the key and the machine's folders).
bool IsSharedFile(const char* path);
