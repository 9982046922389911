// skerrit: the uninstaller. Three runs: relaunch from a temporary copy,
// uninstall-entry mode (/I) and removal mode, with dialogs or silent (/S).
#include <windows.h>

#include <string>

#include "common/child_run_win.h"
#include "common/main_window_win.h"
#include "common/param_file_win.h"
#include "skerrit/startup/command_line.h"
#include "skerrit/startup/config_block_win.h"
#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/startup/main_window_win.h"
#include "skerrit/startup/relaunch_win.h"
#include "skerrit/run_state_win.h"
#include "skerrit/silent_removal_win.h"
#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/uninstall_entry_win.h"

namespace {

void ReadFolders(RunSettings& settings) {
    if (!settings.seen.R || settings.parameter_file_cut) return;
    const ParameterFolders folders = ReadParameterFolders(settings.parameter_file);
    settings.custom_folder = folders.custom_path;
    settings.temp_folder = folders.temp_dir;
    settings.program_folder = folders.exe_path;
}

long WriteUninstallEntry(const std::string& executable) {
    const RunSettings& settings = Settings();
    // The entry would start the uninstaller with a log path that names another file.
    if (executable.empty() || settings.log_path_cut) return kResultNothingDone;
    return RegisterUninstallEntry(
        UninstallEntry{settings.product_name, settings.version, settings.log_path, executable});
}

HWND WelcomeDialogWindow() { return Handles().modeless_dialog; }

void FinishRun() {
    const RunSettings& settings = Settings();
    if (!settings.parameter_file.empty() && !settings.parameter_file_cut) {
        WriteExitCode(settings.parameter_file, settings.result_code);
    }
    FreeRunResources();
    DeleteButtonFaceBrush();
    SetRunConfigBlock(nullptr);
    if (settings.restart_requested && EnableShutdownPrivilege()) ExitWindowsEx(EWX_REBOOT, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_tail, int show_state) {
    const std::string executable = RunningExecutablePath();
    if (!executable.empty()) SetRunConfigBlock(LocateConfigBlock(executable.c_str()));

    RunSettings& settings = Settings();
    settings = RunSettings{};
    const char* tail = command_tail != nullptr ? command_tail : "";
    ParseCommandLine(tail, settings);

    // Nobody is at the screen to answer a system message box (a missing disk,
    // a fault).
    if (settings.Silent()) SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    // The temporary copy (/X) never copies itself again.
    if (settings.seen.Any() && !settings.seen.I && !settings.seen.X && !executable.empty()) {
        if (settings.Silent()) {
            // The caller (a deployment tool) learns the copy's exit status from ours.
            DWORD copy_status = 0;
            if (RelaunchFromTempAndWait(executable.c_str(), tail, copy_status)) {
                SetRunConfigBlock(nullptr);
                return static_cast<int>(copy_status);
            }
        } else if (RelaunchFromTemp(executable.c_str(), tail)) {
            SetRunConfigBlock(nullptr);
            return 0;
        }
    }

    settings.welcome_with_picture = (GetConfigFlags(101) & 1u) != 0;
    ReadFolders(settings);
    Handles().instance = instance;

    if (settings.Silent()) {
        const long exit_status = RunSilentRemoval();
        FinishRun();
        if (!settings.result_file.empty()) WriteRunResult(settings.result_file, exit_status);
        return static_cast<int>(exit_status);
    }

    if (!RegisterWindowClasses(instance)) {
        FinishRun();
        return static_cast<int>(kResultNothingDone);
    }

    if (settings.seen.I) {
        settings.result_code = WriteUninstallEntry(executable);
        PostQuitMessage(static_cast<int>(settings.result_code));
    } else {
        Handles().link_font = CreateLinkFont();
        if (!CreateMainWindow(instance, show_state)) {
            FreeRunResources();
            SetRunConfigBlock(nullptr);
            return 0;
        }
        ExtendSystemMenu(Handles().main_window);
    }

    const int exit_value = RunFrameMessageLoop(WelcomeDialogWindow);
    FinishRun();
    return exit_value;
}
