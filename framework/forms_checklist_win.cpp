#include "framework/forms_checklist_win.h"

#include <commctrl.h>

namespace forms {
namespace {

constexpr UINT_PTR kSubclassId = 0x434B4C53;  // 'CKLS'
constexpr int kBoxMargin = 2;

int BoxSize(HWND list) {
    const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    return h > 2 * kBoxMargin ? h - 2 * kBoxMargin : h;
}

void Toggle(HWND list, int index) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) return;
    SetCheckListItem(list, index, !CheckListItemChecked(list, index));
    SendMessageA(GetParent(list), kItemCheckMessage, GetDlgCtrlID(list), index);
}

LRESULT CALLBACK CheckListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    switch (msg) {
    case WM_LBUTTONDOWN: {
        const int x = static_cast<short>(LOWORD(lParam));
        const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
        LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
        // HIWORD set: the point lies below the last item.
        if (HIWORD(hit) == 0 && x < BoxSize(list) + 2 * kBoxMargin)
            Toggle(list, LOWORD(hit));
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            Toggle(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ') return 0;  // the key-down did the work
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, CheckListProc, kSubclassId);
        break;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

}  // namespace

void InstallCheckList(HWND list) { SetWindowSubclass(list, CheckListProc, kSubclassId, 0); }

bool CheckListItemChecked(HWND list, int index) {
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
    return data != LB_ERR && data != 0;
}

void SetCheckListItem(HWND list, int index, bool checked) {
    SendMessageA(list, LB_SETITEMDATA, index, checked ? 1 : 0);
    RECT r;
    if (SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list, &r, FALSE);
}

bool DrawCheckListItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX) return false;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return true;

    const int box = BoxSize(item.hwndItem);
    RECT boxRect{r.left + kBoxMargin, r.top + kBoxMargin, r.left + kBoxMargin + box,
                 r.top + kBoxMargin + box};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (CheckListItemChecked(item.hwndItem, static_cast<int>(item.itemID))) state |= DFCS_CHECKED;
    DrawFrameControl(dc, &boxRect, DFC_BUTTON, state);

    char text[256];
    const LRESULT len = SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    if (len >= 0 && len < static_cast<LRESULT>(sizeof text)) {
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
        RECT textRect = r;
        textRect.left = boxRect.right + 2 * kBoxMargin;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextA(dc, text, static_cast<int>(len), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return true;
}

}  // namespace forms
