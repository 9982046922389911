// The run's settings and its window-side state, process-wide for the one GUI
// thread.
#pragma once

#include <windows.h>

#include "skerrit/removal/install_log_win.h"
#include "skerrit/run_settings.h"

struct RunHandles {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    HWND modeless_dialog = nullptr;  // the welcome dialog while it exists
    HFONT link_font = nullptr;       // removal mode only; deleted at the end of the run
    InstallLogContent log;           // file and shortcut lists of the review
};

RunSettings& Settings();
RunHandles& Handles();

// Frees the lists and the link font (end of the run).
void FreeRunResources();
