// Moves a window, without resizing it, to the centre of the desktop shifted
// by the caption height (SM_CYCAPTION).
#pragma once

#include <windows.h>

void CenterOnDesktop(HWND window);
