#include "common/center_on_desktop_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/resource.h"

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            SetLinkFont(dialog);
            ApplyDialogTexts(dialog, IDD_ABOUT);
            CenterOnDesktop(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:
                case IDCANCEL: EndDialog(dialog, IDOK); return TRUE;
                case IDC_LINK:
                    if (HIWORD(wparam) == STN_CLICKED) OpenConfigLink(IDD_ABOUT);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}
