// tolvane: registers (or unregisters) the COM server files and type libraries
// of a registration list, or rewrites the list with its path macros resolved.
#include <windows.h>

#include "common/main_window_win.h"
#include "common/param_file_win.h"
#include "common/path_macros_win.h"
#include "cut_folder_macros_win.h"
#include "expand_register_list.h"
#include "list_file_win.h"
#include "listed_files_win.h"
#include "main_window_win.h"
#include "run_settings_win.h"
#include "server_child_win.h"

namespace tolvane {
namespace {

long RunExpansionMode(const RunSettings& settings) {
    MacroFolders folders;
    FetchSystemMacroFolders(folders);
    folders.custom = settings.folders.custom_path;
    folders.exe = settings.folders.exe_path;
    folders.installer_temp = settings.folders.temp_dir;
    const std::string& list_file = settings.command.list_file;
    // A list that cannot be written back, or only garbled, stays as it is, and
    // the run says so.
    if (ListFileIsUnicode(list_file) || !ListFileIsWritable(list_file)) return kResultFailed;
    return ExpandRegisterList(
        [&](const std::string& key) { return ReadListFileValue(list_file, key); },
        [&](const std::string& key, const std::string& value) { return WriteListFileValue(list_file, key, value); },
        TolvaneMacroTable(folders), UnusableFolderMacros(settings.command.parameter_file));
}

HWND ConfirmDialogWindow() { return Settings().confirm_dialog; }

int Run(HINSTANCE instance, const char* command_tail, int show_command) {
    RunSettings& settings = Settings();
    settings.instance = instance;
    settings.command = ParseCommandLine(command_tail != nullptr ? command_tail : "");
    if (settings.command.seen_x) return RunServerChild(settings.command);
    // Nobody is at the screen to answer a system message box (a missing disk).
    if (settings.command.seen_s) SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // An empty name would make the profile functions read win.ini.
    if (settings.command.seen_r && !settings.command.parameter_file.empty()) {
        settings.folders = ReadParameterFolders(settings.command.parameter_file);
    }

    int exit_status = kResultNothingDone;
    if (RegisterMainWindowClass(instance)) {
        switch (SelectRunMode(settings.command)) {
            case RunMode::kRegistration:
                if (settings.command.seen_s) {
                    // The exit status as deployment tools read it, for callers without a parameter file.
                    settings.result_code = RunSilentRegistration();
                    PostQuitMessage(SilentExitStatus(settings.result_code));
                    break;
                }
                // No window, no result: the run ends before anything happened.
                if (!CreateMainWindow(instance, show_command)) return 0;
                ExtendSystemMenu(settings.main_window);
                break;
            case RunMode::kExpansion:
                settings.result_code = RunExpansionMode(settings);
                PostQuitMessage(kResultNothingDone);
                break;
            case RunMode::kNothing:
                settings.result_code = kResultNothingDone;
                PostQuitMessage(kResultNothingDone);
                break;
        }
        exit_status = RunFrameMessageLoop(ConfirmDialogWindow);
    }
    if (!settings.command.parameter_file.empty()) {
        WriteExitCode(settings.command.parameter_file, settings.result_code);
    }
    return exit_status;
}

}  // namespace
}  // namespace tolvane

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_tail, int show_command) {
    return tolvane::Run(instance, command_tail, show_command);
}
