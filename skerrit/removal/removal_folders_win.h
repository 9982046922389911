#pragma once
// Removing folders that became empty, and shortcut files.

#include <windows.h>

// Removes `folder` when it holds nothing, then each parent that became empty,
// up to but never including a drive. Stops at the first folder that cannot be
// listed or is not empty. With `boundary`, only folders strictly inside it
// are removed. Returns the result of the last removal tried.
bool RemoveEmptyFolders(const char* folder, const char* boundary = nullptr);

// Deletes the .lnk file that a shortcut entry names (see special_folder.h)
// and the folders that became empty above it, up to but not including the
// shell folder (the user's desktop or Start menu is never removed, even when
// our shortcut was the last thing in it). `owner` may be null.
bool RemoveShortcut(HWND owner, const char* entry);
