// The process-wide record of one run: command-line values, the parameter
// file's folders, the result and the window handles.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "command_line.h"
#include "common/param_file_win.h"
#include "result_code.h"

namespace tolvane {

struct RunSettings {
    CommandLineValues command;
    ParameterFolders folders;
    long result_code = kResultNothingDone;
    std::string current_file_name;  // shown by the message dialogs
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    HWND confirm_dialog = nullptr;
};

RunSettings& Settings();

// Sets the name the next message dialog shows, cut at the list value limit.
void SetCurrentFileName(std::string_view name);

}  // namespace tolvane
