// Reads another process's system menu from inside that process: a message
// hook of this DLL runs on the window's thread, reads the menu and hands the
// items back through a file. (Wine does not let one process read the menus
// of another.)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace menu_probe {

struct MenuItem {
    bool separator = false;
    UINT id = 0;
    std::string text;
};

struct WindowIcons {
    bool big = false;   // WM_GETICON ICON_BIG
    bool small = false; // WM_GETICON ICON_SMALL
    bool drag = false;  // WM_QUERYDRAGICON
};

// The items of `window`'s system menu, top to bottom, and its icons; false
// when the probe could not run in the window's thread.
bool ReadSystemMenu(HWND window, std::vector<MenuItem>& items, WindowIcons* icons = nullptr,
                    DWORD timeoutMs = 5000);

} // namespace menu_probe
