#include "skerrit/startup/main_window_win.h"

#include "common/main_window_win.h"
#include "skerrit/startup/config_block.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/panel/picture_panel_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"

const char kMainWindowClass[] = "TVUninstallClass";

namespace {

// Window class names compare without regard to case: this is the same class.
const char kMainWindowCreateName[] = "TVUnInstallClass";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (HandleFrameMessage(window, message, wparam, Handles().modeless_dialog, IDM_SYSTEM_ABOUT, IDM_ABOUT)) {
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wparam) == IDM_ABOUT) ShowModal(IDD_ABOUT, AboutDialog);
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    if (!RegisterFrameClass(instance, kMainWindowClass, MainWindowProc, IDI_SKERRIT)) return false;
    return RegisterPicturePanelClass(instance);
}

bool CreateMainWindow(HINSTANCE instance, int show_state) {
    RunHandles& handles = Handles();
    HWND window = CreateFrameWindow(instance, kMainWindowCreateName, Settings().topmost == 1);
    if (window == nullptr) return false;
    handles.main_window = window;

    const int welcome = Settings().welcome_with_picture ? IDD_WELCOME_PICTURE : IDD_WELCOME;
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(welcome), window, WelcomeDialog, 0);
    if (dialog == nullptr) {
        DestroyWindow(window);
        handles.main_window = nullptr;
        return false;
    }
    handles.modeless_dialog = dialog;

    RECT dialog_rect;
    GetWindowRect(dialog, &dialog_rect);
    const int border = GetSystemMetrics(SM_CYBORDER);
    // The menu height is added although the window has no menu.
    const int width = (dialog_rect.right - dialog_rect.left) + 2 * border;
    const int height = (dialog_rect.bottom - dialog_rect.top) + GetSystemMetrics(SM_CYCAPTION) +
                       GetSystemMetrics(SM_CYMENU) + 2 * border;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ShowFrameCentred(window, show_state);
    return true;
}

void ExtendSystemMenu(HWND window) {
    AddSystemMenuItem(window, IDM_SYSTEM_ABOUT, GetConfigText(IDD_ABOUT, ConfigField::MenuText).c_str());
}
