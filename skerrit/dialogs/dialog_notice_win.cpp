#include "common/center_on_desktop_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"
#include "skerrit/startup/system_services_win.h"

namespace {

void PrepareRestartOptions(HWND dialog) {
    if (EnableShutdownPrivilege()) {
        CheckDlgButton(dialog, IDC_RESTART_NOW, BST_CHECKED);
        CheckDlgButton(dialog, IDC_RESTART_LATER, BST_UNCHECKED);
    } else {
        CheckDlgButton(dialog, IDC_RESTART_NOW, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_RESTART_LATER, BST_CHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_RESTART_NOW), FALSE);
    }
    Settings().restart_requested = false;
}

}  // namespace

INT_PTR CALLBACK NoticeDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    // The template is fixed per dialog at its start; a nested notice (a
    // shared file during the removal) must not change an open one's meaning.
    switch (message) {
        case WM_INITDIALOG: {
            const int shown = Settings().notice_template;
            SetWindowLongPtrA(dialog, DWLP_USER, shown);
            ApplyDialogTexts(dialog, shown);
            if (shown == IDD_RESTART) PrepareRestartOptions(dialog);
            if (shown == IDD_SHARED_FILE) {
                SetDlgItemTextA(dialog, IDC_SHARED_PATH, Settings().shared_file_path.c_str());
            }
            CenterOnDesktop(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            const int shown = static_cast<int>(GetWindowLongPtrA(dialog, DWLP_USER));
            switch (LOWORD(wparam)) {
                case IDOK:
                    Settings().restart_requested =
                        shown == IDD_RESTART && IsDlgButtonChecked(dialog, IDC_RESTART_NOW) == BST_CHECKED;
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    Settings().restart_requested = false;
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default: return FALSE;
            }
        }
        default: return FALSE;
    }
}
