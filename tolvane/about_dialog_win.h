// The About box (template 104), opened from the system menu.
#pragma once

#include <windows.h>

namespace tolvane {

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tolvane
