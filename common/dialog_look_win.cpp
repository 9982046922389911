#include "common/dialog_look_win.h"

#include "common/gdi_objects_win.h"

namespace {

gdi::Brush& ButtonFaceBrushSlot() {
    static gdi::Brush brush;
    return brush;
}

HBRUSH ButtonFaceBrush() {
    gdi::Brush& brush = ButtonFaceBrushSlot();
    if (!brush) brush.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    return brush.Get();
}

}  // namespace

bool HandleDialogColor(HWND dialog, UINT message, WPARAM wparam, INT_PTR* result) {
    if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORDLG) {
        return false;
    }
    if (message != WM_CTLCOLORDLG) {
        HDC control_dc = reinterpret_cast<HDC>(wparam);
        const gdi::WindowDC dialog_dc(dialog);
        if (dialog_dc.Get() != nullptr) SetBkColor(control_dc, GetBkColor(dialog_dc.Get()));
        SetBkMode(control_dc, TRANSPARENT);
    }
    *result = reinterpret_cast<INT_PTR>(ButtonFaceBrush());
    return true;
}

void DeleteButtonFaceBrush() { ButtonFaceBrushSlot().Reset(); }
