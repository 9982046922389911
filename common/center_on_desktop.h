// Geometry of CenterOnDesktop: the window's new top-left corner, centred on
// the desktop and shifted right and down by the caption height. Divisions
// truncate toward zero, so a window larger than the desktop gets a negative
// offset rather than being clamped.
#pragma once

struct ScreenPoint {
    long x;
    long y;
};

struct ScreenRect {
    long left;
    long top;
    long right;
    long bottom;
};

ScreenPoint CenteredOrigin(const ScreenRect& desktop, long window_width, long window_height,
                           long caption_height);
