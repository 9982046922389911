// The confirmation dialog (template 100): the sorted file list with OK and
// Cancel, shown as the child of the main window in registration mode.
#pragma once

#include <windows.h>

namespace tolvane {

INT_PTR CALLBACK ConfirmDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Lists every existing file of the registration list once, warning about each
// missing one. True when at least one file was listed.
bool FillRegisterList(HWND dialog);

// Registers or unregisters the listed files in list order, stopping at the
// first failure. Sets the result code to done or failed.
void ProcessRegisterList();

}  // namespace tolvane
