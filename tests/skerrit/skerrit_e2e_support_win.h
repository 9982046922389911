// Helpers of skerrit's end-to-end tests: the program's windows, its welcome
// dialog, and clean-up of the temporary copies and registry entries it makes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"

namespace skerrit_e2e {

// A visible main window (class TVUninstallClass) of `pid`, or of any process
// but `not_pid` when pid is 0.
HWND WaitForMainWindow(DWORD pid, DWORD not_pid = 0, DWORD timeout_ms = 15000);
// The welcome dialog inside the main window.
HWND WelcomeDialogOf(HWND main_window);
// A visible top-level dialog of `pid` with this title.
HWND WaitForDialog(DWORD pid, const char* title, DWORD timeout_ms = 10000);

std::string TempFolder();
// The sker*.exe copies in the temporary folder (they stay after a run).
std::vector<std::string> TempCopies();
void RemoveTempCopies();
int CountTempCopies();

std::string RegistryString(const std::string& subkey, const char* value);
void DeleteUninstallEntry(const std::string& product);
bool UninstallEntryExists(const std::string& product);

// Copies skerrit.exe next to the test into `path` (folders must exist).
bool CopySkerritTo(const std::string& path);

}  // namespace skerrit_e2e
