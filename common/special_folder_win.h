#pragma once
// Resolves a shortcut entry to the path of its .lnk file in the shell folder
// the entry names (see special_folder.h).

#include <windows.h>

#include <string>

// Empty when the shell folder is unknown or the entry names no file in it.
// `owner` is the window the shell may use for its own messages (may be null).
// `shell_folder`, when given, receives the shell folder the path lies in.
std::string ResolveSpecialFolder(HWND owner, const char* entry,
                                 std::string* shell_folder = nullptr);
