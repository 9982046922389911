#include "framework/forms_menu_win.h"

namespace forms {

bool MenuItemChecked(HWND form, UINT id) {
    HMENU menu = GetMenu(form);
    return menu && (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool ToggleMenuItemCheck(HWND form, UINT id) {
    HMENU menu = GetMenu(form);
    if (!menu) return false;
    const bool checked = !MenuItemChecked(form, id);
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    return checked;
}

}  // namespace forms
