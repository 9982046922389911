#include "common/main_window_win.h"

#include "common/center_on_desktop_win.h"

bool RegisterFrameClass(HINSTANCE instance, const char* class_name, WNDPROC procedure, int icon_id) {
    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(icon_id));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszClassName = class_name;
    return RegisterClassA(&window_class) != 0;
}

DWORD FrameExStyle(bool topmost) { return WS_EX_DLGMODALFRAME | (topmost ? WS_EX_TOPMOST : 0); }

HWND CreateFrameWindow(HINSTANCE instance, const char* class_name, bool topmost) {
    return CreateWindowExA(FrameExStyle(topmost), class_name, "", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           instance, nullptr);
}

void ShowFrameCentred(HWND window, int show_command) {
    CenterOnDesktop(window);
    ShowWindow(window, show_command);
    SetActiveWindow(window);
    UpdateWindow(window);
}

void AddSystemMenuItem(HWND window, UINT command_id, const char* text) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, command_id, text);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
}

bool HandleFrameMessage(HWND window, UINT message, WPARAM wparam, HWND hosted_dialog, UINT about_item,
                        UINT about_command) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return true;
        case WM_SETFOCUS:
            if (hosted_dialog != nullptr) SetFocus(hosted_dialog);
            return false;
        case WM_SYSCOMMAND:
            if (wparam == about_item) PostMessageA(window, WM_COMMAND, about_command, 0);
            return false;
        default:
            return false;
    }
}

int RunFrameMessageLoop(HWND (*hosted_dialog)()) {
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND dialog = hosted_dialog();
        if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
