// skerrit's process-wide record of its command-line values, folders and
// result. The window handles of the run live in run_state_win.h.
#pragma once

#include <string>

namespace setting_limits {
constexpr std::size_t kPath = 259;            // log path, folders, product name, version
constexpr std::size_t kParameterFile = 779;
constexpr std::size_t kNumber = 31;           // /Z
}  // namespace setting_limits

// Results written as ExitCode.
constexpr long kResultDone = 1;
constexpr long kResultNothingDone = 2;

// Exit statuses of a silent removal, as deployment tools read them (the
// Windows Installer's conventions).
constexpr long kExitSuccess = 0;
constexpr long kExitRestartNeeded = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr long kExitFailed = 1603;         // ERROR_INSTALL_FAILURE

struct SwitchesSeen {
    bool I = false;
    bool L = false;
    bool Z = false;
    bool R = false;
    bool V = false;
    bool N = false;
    bool S = false;
    bool X = false;  // internal: this run is the temporary copy
    bool Any() const { return I || L || Z || R || V || N || S; }
};

struct RunSettings {
    std::string log_path;
    std::string parameter_file;
    std::string product_name = "Unknown";
    std::string version = "0.00";
    int topmost = 0;
    SwitchesSeen seen;
    // A path longer than its limit was cut; such a path is never opened or
    // written (it can name another file).
    bool log_path_cut = false;
    bool parameter_file_cut = false;

    // /S: removal without any window; uninstall-entry mode ignores it.
    bool Silent() const { return seen.S && !seen.I; }

    // /X: the file the temporary copy writes its exit status into for the
    // launcher that waits for it; empty when none waits (or the path was cut).
    std::string result_file;

    std::string custom_folder;
    std::string program_folder;
    std::string temp_folder;
    std::string custom_group;

    long result_code = kResultNothingDone;
    bool welcome_with_picture = false;
    bool restart_requested = false;
    bool cancel_requested = false;
    // One dialog sequence and one removal per run: nested message loops
    // (the shared-file question) would otherwise let a second one start.
    bool sequence_started = false;
    bool removal_started = false;

    int notice_template = 0;       // which of 104, 105, 110, 112 NoticeDialog shows
    std::string shared_file_path;  // the shared file being asked about
};
