#include "main_window_win.h"

#include "common/main_window_win.h"
#include "confirm_dialog_win.h"
#include "plain_dialog_win.h"
#include "resource.h"
#include "run_settings_win.h"

namespace tolvane {

namespace {

const char kClassName[] = "TVMultiFileRegisterClass";

std::string LoadResourceString(HINSTANCE instance, UINT id) {
    char text[256] = {};
    const int length = LoadStringA(instance, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (HandleFrameMessage(window, message, wparam, Settings().confirm_dialog, IDM_ABOUT_SYSMENU, IDM_ABOUT)) {
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wparam) == IDM_ABOUT) {
        DialogBoxParamA(Settings().instance, MAKEINTRESOURCEA(IDD_ABOUT), window, PlainDialog, 0);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    return RegisterFrameClass(instance, kClassName, MainWindowProc, IDI_TOLVANE);
}

bool CreateMainWindow(HINSTANCE instance, int show_command) {
    RunSettings& settings = Settings();
    HWND window = CreateFrameWindow(instance, kClassName, settings.command.topmost == 1);
    if (window == nullptr) return false;
    settings.main_window = window;
    SetWindowTextA(window, LoadResourceString(instance, IDS_MAIN_TITLE).c_str());

    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONFIRM), window, ConfirmDialog, 0);
    settings.confirm_dialog = dialog;

    // The frame is measured from the window's own styles: a fixed border
    // width would clip the dialog's right and bottom edges.
    RECT frame = {};
    if (dialog != nullptr) GetWindowRect(dialog, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                       FrameExStyle(settings.command.topmost == 1));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    ShowFrameCentred(window, show_command);
    return true;
}

void ExtendSystemMenu(HWND window) {
    AddSystemMenuItem(window, IDM_ABOUT_SYSMENU, LoadResourceString(Settings().instance, IDS_ABOUT_MENU).c_str());
}

}  // namespace tolvane
