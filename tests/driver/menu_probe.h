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

// The items of `window`'s system menu, top to bottom; false when the probe
// could not run in the window's thread.
bool ReadSystemMenu(HWND window, std::vector<MenuItem>& items, DWORD timeoutMs = 5000);

} // namespace menu_probe
