#pragma once
// Reads the installation log into the review list (list box 1000 of the
// review dialog) and builds the removal lists from the list's content.

#include <windows.h>

#include <string>

#include "common/path_macros.h"
#include "skerrit/removal/install_log.h"

struct InstallLogContent {
    std::string custom_group;  // whole; the caller keeps what fits
    RemovalLists lists;
};

// Empties `list`, then fills it with the existing files and the shortcuts
// that the log names, and builds the removal lists from the list's content.
// Without a list (the silent run) the lists are built from the same items in
// the same order. `folders` supplies every macro value but the group name,
// which the log itself defines. False when the log cannot be opened.
bool ReadInstallLog(HWND list, const char* log_path, const MacroFolders& folders,
                    InstallLogContent& content);

// The review list's items in its own order.
std::vector<std::string> ListBoxItems(HWND list);
