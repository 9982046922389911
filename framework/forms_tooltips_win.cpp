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

    // A disabled control gets no mouse input: the form does, so the same tip
    // stands on the control's place in the form too (display-only boxes are
    // disabled for good, others while their option is off).
    TOOLINFOA area{};
    area.cbSize = TTTOOLINFOA_V1_SIZE;
    area.uFlags = TTF_SUBCLASS;
    area.hwnd = form_;
    area.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    GetWindowRect(control, &area.rect);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&area.rect), 2);
    area.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&area));
}

}  // namespace forms
