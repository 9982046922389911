#include "skerrit/removal/removal_engine_win.h"

#include "skerrit/removal/message_drain_win.h"
#include "skerrit/removal/reboot_delete_win.h"
#include "skerrit/removal/removal_folders_win.h"
#include "skerrit/removal/removal_paths.h"
#include "skerrit/removal/shared_files_win.h"

const char kRemovingShortcutsText[] = "Removing Shortcuts...";

namespace {

void ShowInPathLine(HWND path_line, const char* text) {
    if (path_line == nullptr) return;
    SetWindowTextA(path_line, text);
    InvalidateRect(path_line, nullptr, TRUE);
    UpdateWindow(path_line);
}

// A user reads a few paths a second; Cancel answers within a blink.
constexpr DWORD kRepaintIntervalMs = 200;
constexpr DWORD kDrainIntervalMs = 100;

bool Cancelled(const RemovalJob& job) { return job.cancel != nullptr && *job.cancel; }

// Repainting the path line and polling the queue cost far more than deleting
// a file; doing them at a pace a user can see keeps a removal of many files
// close to the speed of the deletions themselves.
class Pacer {
public:
    explicit Pacer(DWORD interval_ms) : interval_ms_(interval_ms) {}
    bool Due() {
        const DWORD now = GetTickCount();
        if (started_ && now - last_ < interval_ms_) return false;
        started_ = true;
        last_ = now;
        return true;
    }

private:
    const DWORD interval_ms_;
    bool started_ = false;
    DWORD last_ = 0;
};

// Entries of one folder come one after another (deeper first, sorted within
// a depth), so the folder can only have become empty once its run of entries
// ends: the walk upward is tried then, not after every file.
class EmptiedFolderWalk {
public:
    EmptiedFolderWalk(const ProtectedFolders& protected_folders, PathNames& names)
        : protected_(protected_folders), names_(names) {}
    void FileRemovedFrom(const std::string& folder) {
        if (!pending_.empty() && pending_ != folder && lstrcmpiA(pending_.c_str(), folder.c_str()) != 0) Flush();
        pending_ = folder;
    }
    void Flush() {
        if (pending_.empty()) return;
        RemoveEmptyFolders(pending_.c_str(), protected_, names_);
        pending_.clear();
    }
    ~EmptiedFolderWalk() { Flush(); }

private:
    const ProtectedFolders& protected_;
    PathNames& names_;
    std::string pending_;
};

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME;
}

bool IsInUse(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

// Files installed from read-only media keep the read-only attribute; the
// listed file goes all the same. The attribute comes back when it still
// cannot be deleted (held open), so a file that stays is left as it was.
bool DeleteListedFile(const char* path) {
    if (DeleteFileA(path)) return true;
    const DWORD error = GetLastError();
    const DWORD attributes = error == ERROR_ACCESS_DENIED ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
        SetLastError(error);
        return false;
    }
    if (DeleteFileA(path)) return true;
    const DWORD second_error = GetLastError();
    SetFileAttributesA(path, attributes);
    SetLastError(second_error);
    return false;
}

// A running image can be renamed though not deleted: moved beside the copy,
// it leaves its folder now and goes at the next restart. Where it cannot be
// moved (another volume) it is deleted at restart in place.
bool MoveLauncherAside(const RemovalJob& job, const char* path) {
    const std::string aside = job.running_exe + ".launcher";
    if (!job.running_exe.empty() && aside.size() <= kMaxRemovalPathLength &&
        MoveFileExA(path, aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ScheduleDeleteAtRestart(aside.c_str(), "");
        return true;
    }
    ScheduleDeleteAtRestart(path, "");
    return false;
}

void RemoveFiles(const RemovalJob& job, const ProtectedFolders& protected_folders, PathNames& names,
                 RemovalOutcome& outcome) {
    // Read once: asking the registry per file would make the removal
    // quadratic in the number of shared-file values.
    const SharedFiles shared = SharedFiles::Load(names);
    const std::string launcher = job.launcher_exe.empty() ? std::string() : names.FileKey(job.launcher_exe);
    Pacer repaint(kRepaintIntervalMs);
    Pacer drain(kDrainIntervalMs);
    EmptiedFolderWalk folders(protected_folders, names);
    std::size_t cursor = 0;
    ListEntry entry;
    while (NextListEntry(job.files, cursor, entry)) {
        if (Cancelled(job)) break;
        // A cut path, or one the system would resolve elsewhere, names
        // another file: never act on it.
        if (entry.cut || !IsFullyQualifiedPath(entry.text)) continue;
        const char* path = entry.text.c_str();
        bool removed = false;
        if (shared.Contains(entry.text, names)) {
            if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) continue;
            ShowInPathLine(job.path_line, path);
            if (job.confirm_shared && job.confirm_shared(path)) removed = DeleteListedFile(path);
        } else {
            // Deleting answers the existence question too.
            removed = DeleteListedFile(path);
            const DWORD error = removed ? ERROR_SUCCESS : GetLastError();
            if (!removed && IsMissing(error)) continue;
            if (!removed && IsInUse(error) && !launcher.empty() && names.FileKey(entry.text) == launcher) {
                removed = MoveLauncherAside(job, path);
            } else if (!removed && error == ERROR_SHARING_VIOLATION) {
                // Open elsewhere: it goes at the next restart, which the run then asks for.
                const bool scheduled = ScheduleDeleteAtRestart(path, "");
                outcome.restart_needed = outcome.restart_needed || scheduled;
                outcome.files_left = outcome.files_left || !scheduled;
            } else if (!removed) {
                outcome.files_left = true;
            }
            if (repaint.Due()) ShowInPathLine(job.path_line, path);
        }
        if (removed) folders.FileRemovedFrom(FolderOfPath(entry.text));
        // A cancel ends the loop, and the walk of the last folder still runs.
        if (drain.Due()) DrainMessages(job.dialog, job.cancel);
    }
}

void RemoveShortcuts(const RemovalJob& job, const ProtectedFolders& protected_folders, PathNames& names) {
    ShowInPathLine(job.path_line, kRemovingShortcutsText);
    std::size_t cursor = 0;
    ListEntry entry;
    while (!Cancelled(job) && NextListEntry(job.shortcuts, cursor, entry)) {
        if (entry.cut) continue;
        const ShortcutLocation location = job.locate_shortcut
                                              ? job.locate_shortcut(entry.text.c_str())
                                              : LocateShortcut(job.dialog, entry.text.c_str());
        RemoveShortcut(location, protected_folders, names);
    }
}

void Finish(const RemovalJob& job, const ProtectedFolders& protected_folders, PathNames& names) {
    if (!job.log_path.empty() && job.log_path.size() <= kMaxRemovalPathLength &&
        DeleteFileA(job.log_path.c_str()))
        RemoveEmptyFolders(FolderOfPath(job.log_path).c_str(), protected_folders, names);
    if (!job.running_exe.empty() && job.schedule_running_exe) ScheduleDeleteAtRestart(job.running_exe.c_str(), "");
    if (job.remove_uninstall_entry) job.remove_uninstall_entry();
}

}  // namespace

RemovalOutcome RunRemovalJob(const RemovalJob& job) {
    if (job.cancel != nullptr) *job.cancel = false;
    // What each folder resolves to is looked up once for the whole run.
    PathNames names;
    const ProtectedFolders machine_folders =
        job.protected_folders ? ProtectedFolders() : ProtectedFolders::OfThisMachine(names);
    const ProtectedFolders& protected_folders =
        job.protected_folders ? *job.protected_folders : machine_folders;
    RemovalOutcome outcome;
    RemoveFiles(job, protected_folders, names, outcome);
    RemoveShortcuts(job, protected_folders, names);
    Finish(job, protected_folders, names);
    return outcome;
}
