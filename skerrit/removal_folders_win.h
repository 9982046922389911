#pragma once
// Removing folders that became empty, and shortcut files.

#include <windows.h>

// Removes `folder` when it holds nothing, then each parent that became empty,
// up to but never including a drive. Stops at the first folder that cannot be
// listed or is not empty. Returns the result of the last removal tried.
bool RemoveEmptyFolders(const char* folder);

// Deletes the .lnk file that a shortcut entry names (see special_folder.h)
// and the folders that became empty above it. `owner` may be null.
bool RemoveShortcut(HWND owner, const char* entry);
