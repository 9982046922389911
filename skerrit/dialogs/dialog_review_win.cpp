#include "common/center_on_desktop_win.h"
#include "common/path_macros_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/removal/install_log_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"

namespace {

// Fills the list from the log; false when there is no log to read (a cut log
// path is not opened: it would name another file).
bool FillReviewList(HWND dialog) {
    RunSettings& settings = Settings();
    if (settings.log_path_cut || settings.log_path.empty()) return false;
    MacroFolders folders;
    folders.custom = settings.custom_folder;
    folders.exe = settings.program_folder;
    folders.installer_temp = settings.temp_folder;
    FetchSystemMacroFolders(folders);
    InstallLogContent& content = Handles().log;
    content = InstallLogContent{};
    if (!ReadInstallLog(GetDlgItem(dialog, IDC_ITEM_LIST), settings.log_path.c_str(), folders, content)) {
        return false;
    }
    settings.custom_group = content.custom_group.substr(0, setting_limits::kPath);
    return true;
}

}  // namespace

INT_PTR CALLBACK ReviewDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            ApplyDialogTexts(dialog, IDD_REVIEW);
            CenterOnDesktop(dialog);
            if (!FillReviewList(dialog)) {
                ShowNotice(IDD_ERROR);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK: EndDialog(dialog, IDOK); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}
