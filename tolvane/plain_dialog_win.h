// The procedure of a dialog that only shows its template (the About box, and
// the message dialogs once their file name is set): centred on the desktop,
// ended by OK or Cancel with that id, drawn with the common dialog look.
#pragma once

#include <windows.h>

namespace tolvane {

INT_PTR CALLBACK PlainDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tolvane
