#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"

namespace {

int WelcomeTemplate() { return Settings().welcome_with_picture ? IDD_WELCOME_PICTURE : IDD_WELCOME; }

void CloseMainWindow() { PostMessageA(Handles().main_window, WM_CLOSE, 0, 0); }

// The dialog sequence that Continue starts; ends by closing the main window.
void RunDialogSequence(HWND welcome) {
    RunSettings& settings = Settings();
    // A click that reaches the welcome dialog while a later dialog waits in a
    // nested message loop must not start the sequence again.
    if (settings.sequence_started) return;
    settings.sequence_started = true;
    EnableWindow(welcome, FALSE);
    if (!settings.seen.L) {
        ShowNotice(IDD_ERROR);
        CloseMainWindow();
        return;
    }
    settings.result_code = static_cast<long>(ShowModal(IDD_REVIEW, ReviewDialog));
    if (settings.result_code != IDOK) {
        settings.result_code = kResultNothingDone;
        CloseMainWindow();
        return;
    }
    settings.result_code = static_cast<long>(ShowModal(IDD_REMOVAL, RemovalDialog));
    if (settings.result_code != IDOK) settings.result_code = kResultNothingDone;
    ShowNotice(settings.result_code == kResultNothingDone ? IDD_CANCELLED : IDD_RESTART);
    CloseMainWindow();
}

}  // namespace

INT_PTR CALLBACK WelcomeDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            Handles().modeless_dialog = dialog;
            SetLinkFont(dialog);
            ApplyDialogTexts(dialog, WelcomeTemplate());
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK: RunDialogSequence(dialog); return TRUE;
                case IDCANCEL:
                    if (Settings().sequence_started) return TRUE;  // the sequence decides
                    Settings().result_code = kResultNothingDone;
                    CloseMainWindow();
                    return TRUE;
                case IDC_LINK:
                    if (HIWORD(wparam) == STN_CLICKED) OpenConfigLink(WelcomeTemplate());
                    return TRUE;
                default: return FALSE;
            }
        case WM_DESTROY:
            if (Handles().modeless_dialog == dialog) Handles().modeless_dialog = nullptr;
            return FALSE;
        default: return FALSE;
    }
}
