// What skerrit's dialogs add to the common look: the underlined link line
// and the texts each template takes from its configuration record.
#pragma once

#include <windows.h>

#include "common/dialog_look_win.h"

// "MS Sans Serif", height 8, normal weight, underlined.
HFONT CreateLinkFont();
void SetLinkFont(HWND dialog);

// Opens the link text of `template_id`'s record through the shell; an empty
// link does nothing.
void OpenConfigLink(int template_id);

// Sets a dialog's texts from its record (the welcome dialogs set the main
// window's title instead of their own).
void ApplyDialogTexts(HWND dialog, int template_id);
