#include <string>

#include "common/center_on_desktop_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_removal_win.h"
#include "skerrit/run_state_win.h"

namespace {

// The dialog's own state in DWLP_USER: only the removal's end may end it
// with OK (Enter reaches the hidden default button while files are removed).
enum RemovalState : LONG_PTR { kNotStarted = 0, kRunning = 1, kEnded = 2 };

bool AskAboutSharedFile(const char* path) {
    Settings().shared_file_path = std::string(path).substr(0, setting_limits::kPath);
    return ShowNotice(IDD_SHARED_FILE) == IDOK;
}

void RunRemoval(HWND dialog) {
    RunSettings& settings = Settings();
    if (settings.removal_started) return;  // the finishing steps run once per run
    settings.removal_started = true;
    RemovalJob job = MakeRunRemovalJob();
    job.dialog = dialog;
    job.path_line = GetDlgItem(dialog, IDC_PATH_LINE);
    job.confirm_shared = AskAboutSharedFile;
    RunRemovalJob(job);
    if (settings.cancel_requested) {
        // Stopped by a quit (the main window closed): not a removal that ran to its end.
        EndDialog(dialog, IDCANCEL);
        return;
    }
    SetWindowLongPtrA(dialog, DWLP_USER, kEnded);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace

INT_PTR CALLBACK RemovalDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, kNotStarted);
            ApplyDialogTexts(dialog, IDD_REMOVAL);
            CenterOnDesktop(dialog);
            ShowWindow(dialog, SW_SHOW);
            PostMessageA(dialog, WM_COMMAND, IDM_START_REMOVAL, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDM_START_REMOVAL:
                    if (GetWindowLongPtrA(dialog, DWLP_USER) == kNotStarted) {
                        SetWindowLongPtrA(dialog, DWLP_USER, kRunning);
                        RunRemoval(dialog);
                    }
                    return TRUE;
                case IDOK:
                    if (GetWindowLongPtrA(dialog, DWLP_USER) == kEnded) EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    Settings().cancel_requested = true;
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}
