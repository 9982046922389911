// The message dialogs 105, 106 and 107.
#pragma once

#include <windows.h>

namespace tolvane {

// Shows a message dialog template modally, owned by the main window, with the
// current file name of the run settings in its edit field.
void ShowMessageDialog(int template_id);

INT_PTR CALLBACK MessageDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tolvane
