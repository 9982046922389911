// Drawing of the picture panel; all of it happens when the panel is asked to
// erase its background.
#pragma once

#include <windows.h>

#include "skerrit/panel/picture_panel_state_win.h"

// Background (colour, or background picture), picture, then text.
void PaintPicturePanel(HWND panel, HDC dc, const PicturePanelState& state);

// Realises the background and picture palettes in the panel's context and
// repaints when the system palette changed; returns the changed entries.
UINT RealizePicturePanelPalettes(HWND panel, const PicturePanelState& state);
