#pragma once
// Folders the removal never takes away, even when it emptied them: the
// Windows, system and temporary folders, the user profile, the shell folders that
// shortcuts go into (Desktop, Start menu, Programs, Startup, Send To, for the
// user and for all users) and the profile folders the system manages.
// Drive and share roots are refused by MayRemoveFolder already.

#include <windows.h>

#include <string>
#include <vector>

class ProtectedFolders {
public:
    // The folders of this machine and user.
    static ProtectedFolders OfThisMachine();

    void Add(const std::string& folder);
    // `folder` (with or without a trailing backslash, long or short names)
    // is one of the protected folders.
    bool Contains(const std::string& folder) const;

private:
    std::vector<std::string> folders_;  // long forms, no trailing backslash
};
