#include "framework/forms_tooltips_win.h"

#include <commctrl.h>

namespace forms {

void TooltipSet::Attach(HWND form) {
    form_ = form;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                           nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE)),
                           nullptr);
    if (tip_) SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void TooltipSet::Add(HWND control, const std::string& text) {
    if (!tip_ || !control || text.empty()) return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = form_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    // The tooltip copies the text when the tool is added.
    ti.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace forms
