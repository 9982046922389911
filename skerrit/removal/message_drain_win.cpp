#include "skerrit/removal/message_drain_win.h"

void DrainMessages(HWND dialog, bool* cancel) {
    bool quit = false;
    WPARAM quit_code = 0;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            quit_code = message.wParam;
            continue;
        }
        if (dialog != nullptr && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (quit) {
        if (cancel != nullptr) *cancel = true;
        PostQuitMessage(static_cast<int>(quit_code));
    }
}
