// Check marks of a form's menu items.
#pragma once

#include <windows.h>

namespace forms {

bool MenuItemChecked(HWND form, UINT id);
// Inverts the item's check mark; returns the new state.
bool ToggleMenuItemCheck(HWND form, UINT id);

}  // namespace forms
