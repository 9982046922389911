// The look every skerrit dialog shares: statics and buttons drawn
// transparently on the button-face colour, the underlined link line, and the
// texts each template takes from its configuration record.
#pragma once

#include <windows.h>

// Answers WM_CTLCOLORBTN, WM_CTLCOLORSTATIC and WM_CTLCOLORDLG with the one
// button-face brush of the run. True when `message` was one of them.
bool HandleDialogColor(HWND dialog, UINT message, WPARAM wparam, INT_PTR* result);
void DeleteButtonFaceBrush();

// "MS Sans Serif", height 8, normal weight, underlined.
HFONT CreateLinkFont();
void SetLinkFont(HWND dialog);

// Opens the link text of `template_id`'s record through the shell; an empty
// link does nothing.
void OpenConfigLink(int template_id);

// Sets a dialog's texts from its record (the welcome dialogs set the main
// window's title instead of their own).
void ApplyDialogTexts(HWND dialog, int template_id);
