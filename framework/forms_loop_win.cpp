#include "framework/forms_loop_win.h"

#include <algorithm>
#include <vector>

namespace forms {
namespace {

std::vector<HWND>& ModelessForms() {
    static std::vector<HWND> forms;
    return forms;
}

bool IsFormMessage(MSG& msg) {
    // Copy: a handler may load or unload forms while the message is handled.
    const std::vector<HWND> forms = ModelessForms();
    for (HWND form : forms) {
        if (IsWindow(form) && (msg.hwnd == form || IsChild(form, msg.hwnd)))
            return IsDialogMessageA(form, &msg) != FALSE;
    }
    return false;
}

void Dispatch(MSG& msg) {
    if (IsFormMessage(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

void RegisterModeless(HWND form) { ModelessForms().push_back(form); }

void UnregisterModeless(HWND form) {
    auto& forms = ModelessForms();
    forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

bool DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

void WaitForInput(DWORD timeoutMs) {
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace forms
