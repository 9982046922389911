#include "message_dialog_win.h"

#include "common/center_on_desktop_win.h"
#include "dialog_look_win.h"
#include "resource.h"
#include "run_settings_win.h"

namespace tolvane {

void ShowMessageDialog(int template_id) {
    const RunSettings& settings = Settings();
    DialogBoxParamA(settings.instance, MAKEINTRESOURCEA(template_id), settings.main_window,
                    MessageDialog, 0);
}

INT_PTR CALLBACK MessageDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, IDC_FILE_NAME, Settings().current_file_name.c_str());
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
