#include "toolkit/shared/progress_window_win.h"

#include "toolkit/shared/wide_text_win.h"

#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/resource.h"

#include <commctrl.h>

namespace vxcom {

namespace {
constexpr char kClassName[] = "VXProgressWindow";
constexpr int kWidth = 380, kHeight = 170;

std::string LoadText(UINT id)
{
    char buffer[128];
    int n = LoadStringA(ModuleHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

} // namespace

bool ProgressWindow::Open(const std::string& title, bool allowCancel)
{
    Close();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    if (!RegisterModuleClass(kClassName, &Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    allowCancel_ = allowCancel;
    cancelled_ = false;
    majorShown_.clear();
    minorShown_.clear();
    const std::string caption = title.empty() ? LoadText(IDS_PROGRESS_DEFAULT_TITLE) : title;
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kClassName, "",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, kWidth, kHeight, nullptr,
                              nullptr, ModuleHandle(), nullptr);
    if (!window_) return false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowTextW(window_, WideFromUtf8(caption).data());

    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    auto child = [this](const char* cls, const char* text, DWORD style, int x, int y, int w,
                        int h, int id) {
        HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleHandle(),
                                 nullptr);
        if (c && font_) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return c;
    };
    majorText_ = child("STATIC", "", SS_LEFTNOWORDWRAP, 10, 8, 350, 16, 100);
    majorBar_ = child(PROGRESS_CLASSA, "", WS_BORDER, 10, 26, 350, 16, 101);
    minorText_ = child("STATIC", "", SS_LEFTNOWORDWRAP, 10, 50, 350, 16, 102);
    minorBar_ = child(PROGRESS_CLASSA, "", WS_BORDER, 10, 68, 350, 16, 103);
    cancel_ = child("BUTTON", LoadText(IDS_PROGRESS_CANCEL).c_str(), BS_PUSHBUTTON, 280, 98, 80,
                    24, IDCANCEL);
    EnableWindow(cancel_, allowCancel_);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    return true;
}

void ProgressWindow::Close()
{
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (font_) {
        DeleteObject(font_);
        font_ = nullptr;
    }
}

// Texts are UTF-8 (item names): shown through the wide API, whatever the code page.
void ProgressWindow::SetTextIfChanged(HWND control, std::string& shown, const std::string& text)
{
    if (shown == text) return;
    shown = text;
    SetWindowTextW(control, WideFromUtf8(text).data());
}

void ProgressWindow::ShowMajor(const std::string& text, int percent)
{
    if (!window_) return;
    SetTextIfChanged(majorText_, majorShown_, text);
    SendMessageA(majorBar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ProgressWindow::ShowMinor(const std::string& text, int percent)
{
    if (!window_) return;
    SetTextIfChanged(minorText_, minorShown_, text);
    SendMessageA(minorBar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

bool ProgressWindow::Pump()
{
    if (!window_) return cancelled_;
    // Only this window's own input: the host's windows are not ours to drive.
    HWND mine[] = {window_, majorText_, majorBar_, minorText_, minorBar_, cancel_};
    for (HWND w : mine) {
        MSG msg;
        while (w && PeekMessageA(&msg, w, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return cancelled_;
}

LRESULT CALLBACK ProgressWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
        if (self && LOWORD(wp) == IDCANCEL && self->allowCancel_) self->cancelled_ = true;
        return 0;
    case WM_CLOSE:
        // The window lives as long as the run; closing it is a cancel request.
        if (self && self->allowCancel_) self->cancelled_ = true;
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

} // namespace vxcom
