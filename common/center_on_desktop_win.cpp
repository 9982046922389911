#include "center_on_desktop_win.h"

#include "center_on_desktop.h"

void CenterOnDesktop(HWND window) {
    RECT desktop;
    RECT own;
    if (!GetWindowRect(GetDesktopWindow(), &desktop) || !GetWindowRect(window, &own)) return;
    const ScreenPoint origin =
        CenteredOrigin(ScreenRect{desktop.left, desktop.top, desktop.right, desktop.bottom},
                       own.right - own.left, own.bottom - own.top, GetSystemMetrics(SM_CYCAPTION));
    SetWindowPos(window, nullptr, static_cast<int>(origin.x), static_cast<int>(origin.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
