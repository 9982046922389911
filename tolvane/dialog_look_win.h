// The look of every dialog of the program: statics and buttons drawn
// transparently on the button-face colour.
#pragma once

#include <windows.h>

namespace tolvane {

// Handles WM_CTLCOLORSTATIC, WM_CTLCOLORBTN and WM_CTLCOLORDLG; returns the
// brush for the dialog procedure to return, or null for any other message.
INT_PTR ApplyDialogLook(HWND dialog, UINT message, WPARAM wparam);

}  // namespace tolvane
