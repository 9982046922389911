#include "confirm_dialog_win.h"

#include <vector>

#include "common/dialog_look_win.h"
#include "common/param_file_win.h"
#include "list_file_win.h"
#include "listed_files_win.h"
#include "message_dialog_win.h"
#include "resource.h"
#include "run_settings_win.h"

namespace tolvane {

namespace {

void WarnNotFound(const std::string& path) {
    SetCurrentFileName(path);
    ShowMessageDialog(IDD_REGISTRATION_WARNING);
}

std::string ListEntryText(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length < 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == LB_ERR || copied < 0) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(copied));
}

void RefuseUnicodeList() {
    const std::string text = "The registration list is saved as Unicode text, which cannot be read as it "
                             "stands. Save it as ANSI text and run the installation again.\r\n\r\n" +
                             Settings().command.list_file;
    MessageBoxA(Settings().main_window, text.c_str(), "Registration Error", MB_OK | MB_ICONSTOP);
}

}  // namespace

bool FillRegisterList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int listed = 0;
    for (const std::string& file : CollectListedFiles(Settings().command.list_file, WarnNotFound)) {
        const LRESULT added = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.c_str()));
        if (added != LB_ERR && added != LB_ERRSPACE) ++listed;
    }
    return listed > 0;
}

void ProcessRegisterList() {
    RunSettings& settings = Settings();
    HWND list = GetDlgItem(settings.confirm_dialog, IDC_FILE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR) return;
    // A key queued meanwhile must not start a second pass from inside the
    // error dialog's message loop.
    EnableWindow(GetDlgItem(settings.confirm_dialog, IDOK), FALSE);
    EnableWindow(GetDlgItem(settings.confirm_dialog, IDCANCEL), FALSE);
    // Until the run ends, the file says it failed: a server that takes the
    // process down, or a killed run, must not leave an earlier run's result.
    if (!settings.command.parameter_file.empty()) WriteExitCode(settings.command.parameter_file, kResultFailed);
    std::vector<std::string> files;
    for (int index = 0; index < count; ++index) files.push_back(ListEntryText(list, index));
    // Messages are dispatched while each server registers in its child: the
    // main window takes no input meanwhile, as under a modal dialog.
    EnableWindow(settings.main_window, FALSE);
    const int failed = ProcessListedFiles(files, RegistersFiles(settings.command.operation));
    EnableWindow(settings.main_window, TRUE);
    if (failed >= 0) {
        settings.result_code = kResultFailed;
        SetCurrentFileName(files[static_cast<std::size_t>(failed)]);
        ShowMessageDialog(IDD_REGISTRATION_ERROR);
        return;
    }
    settings.result_code = kResultDone;
}

INT_PTR CALLBACK ConfirmDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            Settings().confirm_dialog = dialog;
            if (ListFileIsUnicode(Settings().command.list_file)) {
                Settings().result_code = kResultFailed;
                ShowWindow(dialog, SW_HIDE);
                RefuseUnicodeList();
                PostMessageA(Settings().main_window, WM_CLOSE, 0, 0);
            } else if (!FillRegisterList(dialog)) {
                Settings().result_code = kResultFailed;
                SetCurrentFileName("");
                ShowMessageDialog(IDD_NO_FILES);
                ShowWindow(dialog, SW_HIDE);
                PostMessageA(Settings().main_window, WM_CLOSE, 0, 0);
            }
            return FALSE;  // the main window hands the focus over
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:
                    if (!IsWindowEnabled(GetDlgItem(dialog, IDOK))) break;  // a pass is running
                    ProcessRegisterList();
                    PostMessageA(Settings().main_window, WM_CLOSE, 0, 0);
                    break;
                case IDCANCEL:
                    if (!IsWindowEnabled(GetDlgItem(dialog, IDCANCEL))) break;
                    Settings().result_code = kResultNothingDone;
                    PostMessageA(Settings().main_window, WM_CLOSE, 0, 0);
                    break;
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tolvane
