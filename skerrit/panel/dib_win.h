// Pictures and palettes from packed bitmaps and from bitmap files. Every
// function yields nothing for input that is not a complete, sane bitmap.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/gdi_objects_win.h"

// A device-dependent bitmap for the screen, made with the picture's own
// palette realised so that 256-colour pictures keep their colours.
gdi::Bitmap BitmapFromPackedDib(const uint8_t* data, size_t size);

// A logical palette of the colour table; none for pictures without one.
gdi::Palette PaletteFromPackedDib(const uint8_t* data, size_t size);

gdi::Bitmap LoadBitmapFile(const char* path);
gdi::Palette LoadPaletteFile(const char* path);

