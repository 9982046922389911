// Drives the sample installation and the uninstall it registers, as the user
// and Windows' program removal would: used by the end-to-end tests and by the
// demo driver.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "installer/sample/sample_install.h"
#include "tests/driver/e2e_driver.h"

namespace sample_session {

// The shipped configuration block's dialog titles.
extern const char kReviewTitle[];
extern const char kRemovalTitle[];
extern const char kSharedTitle[];
extern const char kRestartTitle[];
extern const char kCancelledTitle[];
extern const char kErrorTitle[];
extern const char kAboutTitle[];

constexpr int kReviewList = 1000;
constexpr int kPathLine = 1003;
constexpr int kSharedPath = 1009;
constexpr int kRestartNow = 1007;
constexpr int kRestartLater = 1008;
constexpr int kAboutCommand = 2024;

// tvsample's switches for these options (folders only when set).
std::string SampleArguments(const SampleOptions& options);

// Starts tvsample beside the running program; its output goes to `output`
// (an inheritable handle) or nowhere when null. The shell's link handler is
// kept from touching the host's desktop menus.
e2e::Process StartSampleInstall(const SampleOptions& options, HANDLE output = nullptr);
// Presses OK in tolvane's confirmation when it shows within the time.
bool AcceptRegistration(DWORD timeout_ms);

// UninstallString (QuietUninstallString) of the product's entry; empty when
// there is none.
std::string UninstallString(const std::string& product);
std::string QuietUninstallString(const std::string& product);
bool UninstallEntryExists(const std::string& product);
// Runs a command line as program removal does (no program name apart).
e2e::Process StartCommandLine(const std::string& command_line);

// The uninstaller that runs on after `launcher` started its temporary copy:
// its main window and its process.
struct Uninstaller {
    HWND main = nullptr;
    HWND welcome = nullptr;
    e2e::Process process;
};
Uninstaller WaitForUninstaller(DWORD launcher_pid, DWORD timeout_ms);
HWND WaitForDialog(const Uninstaller& uninstaller, const char* title, DWORD timeout_ms = 15000);

// Every installed file (help index included) and shortcut file of the plan.
struct InstalledThing {
    std::string what;  // "file", "shortcut"
    std::string path;
};
std::vector<InstalledThing> InstalledThings(const SampleOptions& options, const SamplePlan& plan);
unsigned long SharedCount(const std::string& path);
// Whether the path waits in the list of files that Windows NT deletes at restart.
bool PendingDeletion(const std::string& path);
void RemoveSharedCount(const std::string& path);

}  // namespace sample_session
