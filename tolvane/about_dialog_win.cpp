#include "about_dialog_win.h"

#include "common/center_on_desktop_win.h"
#include "dialog_look_win.h"

namespace tolvane {

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
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
            return ApplyDialogLook(dialog, message, wparam);
    }
}

}  // namespace tolvane
