#include "skerrit/removal_engine_win.h"

#include "skerrit/message_drain_win.h"
#include "skerrit/reboot_delete_win.h"
#include "skerrit/removal_folders_win.h"
#include "skerrit/removal_paths.h"
#include "skerrit/shared_files_win.h"

const char kRemovingShortcutsText[] = "Removing Shortcuts...";

namespace {

void ShowInPathLine(HWND path_line, const char* text) {
    if (path_line == nullptr) return;
    SetWindowTextA(path_line, text);
    InvalidateRect(path_line, nullptr, TRUE);
    UpdateWindow(path_line);
}

bool Cancelled(const RemovalJob& job) { return job.cancel != nullptr && *job.cancel; }

void RemoveFiles(const RemovalJob& job) {
    if (job.files == nullptr) return;
    // Read once: asking the registry per file would make the removal
    // quadratic in the number of shared-file values.
    const SharedFileNames shared = SharedFileNames::Load();
    std::size_t cursor = 0;
    ListEntry entry;
    while (NextListEntry(*job.files, cursor, entry)) {
        const char* path = entry.text.c_str();
        if (!entry.cut && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            ShowInPathLine(job.path_line, path);
            const bool remove =
                !shared.Contains(path) || (job.confirm_shared && job.confirm_shared(path));
            if (remove && DeleteFileA(path)) RemoveEmptyFolders(FolderOfPath(entry.text).c_str());
            DrainMessages(job.dialog, job.cancel);
        }
        if (Cancelled(job)) return;
    }
}

void RemoveShortcuts(const RemovalJob& job) {
    ShowInPathLine(job.path_line, kRemovingShortcutsText);
    if (job.shortcuts == nullptr) return;
    std::size_t cursor = 0;
    ListEntry entry;
    while (!Cancelled(job) && NextListEntry(*job.shortcuts, cursor, entry)) {
        if (!entry.cut) RemoveShortcut(job.dialog, entry.text.c_str());
    }
}

void Finish(const RemovalJob& job) {
    if (!job.log_path.empty() && job.log_path.size() < MAX_PATH &&
        DeleteFileA(job.log_path.c_str()))
        RemoveEmptyFolders(FolderOfPath(job.log_path).c_str());
    if (!job.running_exe.empty()) ScheduleDeleteAtRestart(job.running_exe.c_str(), "");
    if (job.remove_uninstall_entry) job.remove_uninstall_entry();
}

}  // namespace

void RunRemovalJob(const RemovalJob& job) {
    if (job.cancel != nullptr) *job.cancel = false;
    RemoveFiles(job);
    RemoveShortcuts(job);
    Finish(job);
}
