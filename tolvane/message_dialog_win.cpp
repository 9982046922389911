#include "message_dialog_win.h"

#include "plain_dialog_win.h"
#include "resource.h"
#include "run_settings_win.h"

namespace tolvane {

void ShowMessageDialog(int template_id) {
    const RunSettings& settings = Settings();
    DialogBoxParamA(settings.instance, MAKEINTRESOURCEA(template_id), settings.main_window,
                    MessageDialog, 0);
}

INT_PTR CALLBACK MessageDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, IDC_FILE_NAME, Settings().current_file_name.c_str());
    }
    return PlainDialog(dialog, message, wparam, lparam);
}

}  // namespace tolvane
