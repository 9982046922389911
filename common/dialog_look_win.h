// The look every dialog of the installer-side programs shares: statics and
// buttons drawn transparently on the button-face colour, with one brush for
// the whole run.
#pragma once

#include <windows.h>

// Answers WM_CTLCOLORBTN, WM_CTLCOLORSTATIC and WM_CTLCOLORDLG with the run's
// button-face brush in `result`. True when `message` was one of them.
bool HandleDialogColor(HWND dialog, UINT message, WPARAM wparam, INT_PTR* result);

// Deletes the brush at the end of the run (it is deleted at exit otherwise).
void DeleteButtonFaceBrush();
