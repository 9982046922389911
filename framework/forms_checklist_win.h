// A list box with a tick box in front of each item. A click on the tick box or
// the space bar on the selected item flips the tick and tells the parent with
// kItemCheckMessage (wParam = list id, lParam = item index), once per change.
#pragma once

#include <windows.h>

namespace forms {

constexpr UINT kItemCheckMessage = WM_APP + 0x3A0;
constexpr DWORD kCheckListStyle =
    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;

void InstallCheckList(HWND list);
bool CheckListItemChecked(HWND list, int index);
// Sets a tick without telling the parent (used while a form loads).
void SetCheckListItem(HWND list, int index, bool checked);
// Drawing for the parent's WM_DRAWITEM; false when the item is not a check list's.
bool DrawCheckListItem(const DRAWITEMSTRUCT& item);

}  // namespace forms
