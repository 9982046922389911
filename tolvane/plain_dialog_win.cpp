#include "plain_dialog_win.h"

#include "common/center_on_desktop_win.h"
#include "common/dialog_look_win.h"

namespace tolvane {

INT_PTR CALLBACK PlainDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            CenterOnDesktop(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wparam));
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tolvane
