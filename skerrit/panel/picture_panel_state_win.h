// What one picture panel owns: its settings, pictures, palettes, font and
// text blocks. Freed, with every GDI object, when the panel's window goes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/gdi_objects_win.h"
#include "skerrit/panel/panel_text_block.h"

struct PicturePanelState {
    uint16_t picturePlacement = 0;
    uint16_t textPlacement = 0;
    gdi::Bitmap picture;
    gdi::Palette picturePalette;
    PanelTextBlock text;
    PanelTextBlock fontDescription;
    gdi::Font font;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(0, 0, 0);
    PanelTextBlock backFile;
    gdi::Bitmap backPicture;
    gdi::Palette backPalette;
};
