#pragma once
// Folders the removal never takes away, even when it emptied them: every
// profile's shell folders, the profiles, the profiles folder, and the
// machine's Windows, system, temporary, program and common-files folders
// (machine_folders_win.h). Drive and share roots are refused by
// MayRemoveFolder already. Compared by what they name, not how they are
// spelled (path_names_win.h).

#include <set>
#include <string>

#include "skerrit/removal/path_names_win.h"

class ProtectedFolders {
public:
    static ProtectedFolders OfThisMachine(PathNames& names);
    static ProtectedFolders OfThisMachine();

    void Add(const std::string& folder, PathNames& names);
    void Add(const std::string& folder);
    // `folder` (any spelling, with or without a trailing backslash) is one of
    // the protected folders.
    bool Contains(const std::string& folder, PathNames& names) const;
    bool Contains(const std::string& folder) const;

private:
    std::set<std::string> keys_;
    std::set<FileIdentity> identities_;
};
