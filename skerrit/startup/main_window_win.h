// skerrit's main window (class TVUninstallClass): hosts the welcome dialog and
// carries the About item on its system menu.
#pragma once

#include <windows.h>

extern const char kMainWindowClass[];

// Registers the main window class and the picture panel class.
bool RegisterWindowClasses(HINSTANCE instance);

// Creates the main window with the welcome dialog (106 or 101) as its modeless
// child, fits, centres and shows it.
bool CreateMainWindow(HINSTANCE instance, int show_state);

// Adds a separator and the About item (record 5's menu text) and removes
// Size and Maximize.
void ExtendSystemMenu(HWND window);
