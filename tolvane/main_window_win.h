// The main window of registration mode: class TVMultiFileRegisterClass, sized
// around the confirmation dialog, with the About item on its system menu.
#pragma once

#include <windows.h>

namespace tolvane {

bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window and the confirmation dialog inside it (whose
// initialisation fills the list and may already report problems), then
// centres and shows the window. False when the window cannot be created.
bool CreateMainWindow(HINSTANCE instance, int show_command);

// Appends the About item and removes Size and Maximize.
void ExtendSystemMenu(HWND window);

}  // namespace tolvane
