#include "skerrit/main_window_win.h"

#include "common/center_on_desktop_win.h"
#include "skerrit/config_block.h"
#include "skerrit/dialogs_win.h"
#include "skerrit/picture_panel_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"

const char kMainWindowClass[] = "TVUninstallClass";

namespace {

// Window class names compare without regard to case: this is the same class.
const char kMainWindowCreateName[] = "TVUnInstallClass";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_SETFOCUS:
            if (Handles().modeless_dialog != nullptr) SetFocus(Handles().modeless_dialog);
            break;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDM_ABOUT) ShowModal(IDD_ABOUT, AboutDialog);
            break;
        case WM_SYSCOMMAND:
            if (wparam == IDM_SYSTEM_ABOUT) {
                PostMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
            }
            break;
        default: break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSA window_class{};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SKERRIT));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszClassName = kMainWindowClass;
    if (RegisterClassA(&window_class) == 0) return false;
    return RegisterPicturePanelClass(instance);
}

bool CreateMainWindow(HINSTANCE instance, int show_state) {
    RunHandles& handles = Handles();
    const DWORD ex_style = WS_EX_DLGMODALFRAME | (Settings().topmost == 1 ? WS_EX_TOPMOST : 0);
    HWND window = CreateWindowExA(ex_style, kMainWindowCreateName, "",
                                  WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                  nullptr, instance, nullptr);
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
    CenterOnDesktop(window);
    ShowWindow(window, show_state);
    SetActiveWindow(window);
    UpdateWindow(window);
    return true;
}

void ExtendSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_SYSTEM_ABOUT, GetConfigText(IDD_ABOUT, ConfigField::MenuText).c_str());
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
}
