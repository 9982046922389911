#include "dialog_look_win.h"

#include "scoped_win.h"

namespace tolvane {

namespace {

// One brush for the whole run, deleted when the program ends.
class ButtonFaceBrush {
public:
    ButtonFaceBrush() : brush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))) {}
    ~ButtonFaceBrush() {
        if (brush_ != nullptr) DeleteObject(brush_);
    }
    ButtonFaceBrush(const ButtonFaceBrush&) = delete;
    ButtonFaceBrush& operator=(const ButtonFaceBrush&) = delete;
    HBRUSH get() const { return brush_; }

private:
    HBRUSH brush_;
};

HBRUSH ButtonFace() {
    static ButtonFaceBrush brush;
    return brush.get();
}

}  // namespace

INT_PTR ApplyDialogLook(HWND dialog, UINT message, WPARAM wparam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC control_dc = reinterpret_cast<HDC>(wparam);
            ScopedWindowDc dialog_dc(dialog);
            if (dialog_dc.get() != nullptr) SetBkColor(control_dc, GetBkColor(dialog_dc.get()));
            SetBkMode(control_dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(ButtonFace());
        }
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(ButtonFace());
        default:
            return 0;
    }
}

}  // namespace tolvane
