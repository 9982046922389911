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
    // False when the launcher that waits for this run deletes running_exe
    // once the run ended (running_exe still names where the launcher goes aside).
    bool schedule_running_exe = true;
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

// What a removal leaves to the machine, for the exit status deployment tools read.
struct RemovalOutcome {
    // A listed file was open elsewhere (sharing violation) and is deleted at
    // the next restart instead. Neither the run's own image nor its launcher
    // counts.
    bool restart_needed = false;
    // A listed file stays that the removal should have deleted (refused by
    // its access rights, a folder, or in use and not schedulable).
    bool files_left = false;
};

// Runs the whole removal of `job` on the calling (GUI) thread.
RemovalOutcome RunRemovalJob(const RemovalJob& job);

// Shown in the path line while shortcuts are removed.
extern const char kRemovingShortcutsText[];
