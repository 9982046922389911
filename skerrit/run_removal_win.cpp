#include "skerrit/run_removal_win.h"

#include "common/param_file_win.h"
#include "common/path_macros_win.h"
#include "skerrit/removal/removal_paths.h"
#include "skerrit/run_state_win.h"
#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/uninstall_entry_win.h"

bool LoadRunLog(HWND review_list) {
    RunSettings& settings = Settings();
    InstallLogContent& content = Handles().log;
    content = InstallLogContent{};
    // Checked like every line of the log: a relative or otherwise rewritten
    // path would be read from, and its folder walked from, somewhere else.
    if (settings.log_path_cut || !IsFullyQualifiedPath(settings.log_path)) return false;
    MacroFolders folders;
    folders.custom = settings.custom_folder;
    folders.exe = settings.program_folder;
    folders.installer_temp = settings.temp_folder;
    FetchSystemMacroFolders(folders);
    if (!ReadInstallLog(review_list, settings.log_path.c_str(), folders, content)) return false;
    settings.custom_group = content.custom_group.substr(0, setting_limits::kPath);
    return true;
}

RemovalJob MakeRunRemovalJob() {
    RunSettings& settings = Settings();
    // A run that dies while removing must not leave an earlier run's success behind.
    if (!settings.parameter_file.empty() && !settings.parameter_file_cut)
        WriteExitCode(settings.parameter_file, kResultNothingDone);
    RemovalJob job;
    job.files = Handles().log.lists.files;
    job.shortcuts = Handles().log.lists.shortcuts;
    job.log_path = settings.log_path;
    job.running_exe = RunningExecutablePath();  // scheduled for deletion at restart
    job.cancel = &settings.cancel_requested;
    job.remove_uninstall_entry = [] { RemoveUninstallEntry(Settings().product_name); };
    return job;
}
