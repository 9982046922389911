// The frame both installer-side programs put around their first dialog: a
// fixed-size window with a caption, system menu and minimise box, centred on
// the desktop, with an About item on its system menu.
#pragma once

#include <windows.h>

// Registers a class redrawn on resize, on a light grey background, with the
// program's icon and the arrow cursor.
bool RegisterFrameClass(HINSTANCE instance, const char* class_name, WNDPROC procedure, int icon_id);

// Extended style of the frame: a dialog frame, topmost when asked.
DWORD FrameExStyle(bool topmost);

// Creates the still hidden, untitled frame at the default place and size,
// topmost when asked.
HWND CreateFrameWindow(HINSTANCE instance, const char* class_name, bool topmost);

// Centres the frame on the desktop, shows it with `show_command`, activates
// and paints it.
void ShowFrameCentred(HWND window, int show_command);

// Appends a separator and `text` as command `command_id` to the system menu
// and removes Size and Maximize.
void AddSystemMenuItem(HWND window, UINT command_id, const char* text);

// What both frames do with their messages: the run ends when the frame goes
// (WM_DESTROY posts the quit message), the focus passes to the hosted dialog,
// and the system menu's `about_item` is passed on as WM_COMMAND
// `about_command`. True when the message is fully handled and the window
// procedure returns 0; false when it goes on to DefWindowProc.
bool HandleFrameMessage(HWND window, UINT message, WPARAM wparam, HWND hosted_dialog, UINT about_item,
                        UINT about_command);

// Runs the message loop until WM_QUIT, giving the keyboard messages to the
// dialog `hosted_dialog` returns (asked per message, as the dialog can go
// during the run). Returns the quit message's exit value.
int RunFrameMessageLoop(HWND (*hosted_dialog)());
