#include "common/center_on_desktop_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_removal_win.h"

INT_PTR CALLBACK ReviewDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    INT_PTR color = 0;
    if (HandleDialogColor(dialog, message, wparam, &color)) return color;
    switch (message) {
        case WM_INITDIALOG:
            ApplyDialogTexts(dialog, IDD_REVIEW);
            CenterOnDesktop(dialog);
            if (!LoadRunLog(GetDlgItem(dialog, IDC_ITEM_LIST))) {
                ShowNotice(IDD_ERROR);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK: EndDialog(dialog, IDOK); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}
