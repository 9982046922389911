#pragma once
// Removing folders that became empty, and shortcut files.

#include <windows.h>

#include <string>

#include "skerrit/removal/protected_folders_win.h"

// Removes `folder` when it holds nothing, then each parent that became empty,
// up to but never including a drive, a share or a protected folder. Stops at
// the first folder that cannot be removed. Nothing is removed when `folder`
// is, or lies below, a link or mount point: its parents are not the folders
// the files were in. With `boundary`, only folders strictly inside it are
// removed. Returns the result of the last removal tried.
bool RemoveEmptyFolders(const char* folder, const ProtectedFolders& protected_folders, PathNames& names,
                        const char* boundary = nullptr);
bool RemoveEmptyFolders(const char* folder, const ProtectedFolders& protected_folders,
                        const char* boundary = nullptr);

// Where a shortcut entry's .lnk file lies, and the shell folder it lies in.
struct ShortcutLocation {
    std::string path;          // empty: the entry names no file
    std::string shell_folder;  // the walk upward stops below it
};

// Deletes the .lnk file at `location` and the folders that became empty
// above it, up to but not including the shell folder (the user's desktop or
// Start menu is never removed, even when our shortcut was the last thing in
// it).
bool RemoveShortcut(const ShortcutLocation& location, const ProtectedFolders& protected_folders,
                    PathNames& names);

// The location of a shortcut entry in this user's shell folders (see
// special_folder.h). `owner` may be null.
ShortcutLocation LocateShortcut(HWND owner, const char* entry);
