#pragma once
// The removal: installed files (asking before shared ones), folders that
// became empty, shortcuts, then the finishing steps that run even after a
// cancel (log, the running copy at restart, the uninstall entry).

#include <windows.h>

#include <functional>
#include <string>

#include "skerrit/removal/install_log.h"
#include "skerrit/removal/protected_folders_win.h"
#include "skerrit/removal/removal_folders_win.h"

struct RemovalJob {
    // The job's own copies: nothing the dialogs do while the removal waits
    // for an answer can change what it walks.
    RemovalList files;
    RemovalList shortcuts;
    std::string log_path;     // deleted at the end
    std::string running_exe;  // deleted at the next restart; empty: nothing scheduled
    HWND dialog = nullptr;    // keyboard handling while messages are drained
    HWND path_line = nullptr; // shows the file being removed
    bool* cancel = nullptr;   // cleared at the start; set by Cancel or a quit message
    // Asked for each file listed as shared; true removes it. Not given: every
    // shared file is kept (the silent run).
    std::function<bool(const char* path)> confirm_shared;
    // The image of the program that started this run and waits for its end
    // (the silent relaunch). Running, it cannot be deleted; when listed it is
    // moved beside running_exe and deleted at the next restart with it.
    std::string launcher_exe;
    std::function<void()> remove_uninstall_entry;
    // Never removed by any walk upward; the machine's own when not given.
    const ProtectedFolders* protected_folders = nullptr;
    // Where a shortcut entry lies; this user's shell folders when not given.
    std::function<ShortcutLocation(const char* entry)> locate_shortcut;
};

// Runs the whole removal of `job` on the calling (GUI) thread.
void RunRemovalJob(const RemovalJob& job);

// Shown in the path line while shortcuts are removed.
extern const char kRemovingShortcutsText[];
