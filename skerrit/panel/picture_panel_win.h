// The picture panel: a child control that paints a background colour or
// picture, a placed picture and a placed text. Driven only by the PPM_*
// messages below.
#pragma once

#include <windows.h>

constexpr char kPicturePanelClassName[] = "TVCustomEventPIC";

enum PicturePanelMessage : UINT {
    PPM_SETPICTUREFILE = WM_USER + 1000,  // lParam: path; loads palette and picture, repaints
    PPM_SETPICTUREPLACEMENT,              // wParam: placement mode
    PPM_GETPICTUREPLACEMENT,
    PPM_SETTEXT,                          // lParam: text with escapes, or null
    PPM_GETTEXT,                          // wParam: buffer size, lParam: buffer
    PPM_SETTEXTPLACEMENT,                 // wParam: placement mode
    PPM_GETTEXTPLACEMENT,
    PPM_SETTEXTCOLOR,                     // lParam: COLORREF
    PPM_GETTEXTCOLOR,
    PPM_SETFONT,                          // lParam: font description, or null
    PPM_GETFONT,                          // wParam: buffer size, lParam: buffer
    PPM_SETBACKCOLOR,                     // lParam: COLORREF
    PPM_GETBACKCOLOR,
    PPM_SETBACKFILE,                      // lParam: path or null; repaints
    PPM_SETCONFIGPICTURE,                 // lParam: configuration record; repaints
};
static_assert(PPM_SETCONFIGPICTURE == WM_USER + 1014, "panel messages are a fixed contract");

// Registers the panel's window class; called once at start-up.
bool RegisterPicturePanelClass(HINSTANCE instance);

// Fills the panel of the welcome dialog with picture from the configuration
// block's record 0. Without a block the panel stays as created (black).
void SetUpWelcomePicture(HWND welcomeDialog);

