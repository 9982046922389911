// Blits a bitmap into a window by one of the picture placement modes.
#pragma once

#include <windows.h>

#include <cstdint>

// Draws into `dc`, or into the window's own context when `dc` is null, with
// `palette` (may be null) realised as the foreground palette for the blits.
// Returns the result of the last blit; FALSE when nothing was drawn.
BOOL DrawPlacedBitmap(HWND window, HDC dc, uint32_t placement, HBITMAP bitmap, HPALETTE palette,
                      DWORD rasterOperation);
