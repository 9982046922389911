// Runs that update one archive take turns: from reading the old archive until the new one has
// replaced it, no other run updates it, and a run that opens it for reading waits until an
// update in progress has been published.
#pragma once

#include <memory>
#include <string>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

struct ArchiveTurn {
    std::unique_ptr<ArchiveLock> lock;  // null: no turn, see code
    ZipResult code = ZipResult::Ok;     // Cancelled, Busy (this thread's own update) or WriteFailed
};

// Waits for the archive's turn. The host hears why the run waits (and may stop it) about
// twice a second. A lock that cannot be had is reported (message 9) and fails the run;
// Busy is left to the caller: a reader goes on without the turn.
ArchiveTurn waitForArchiveTurn(FileSystem& fs, const std::string& archivePath, RunEvents& events);

// The name of the system-wide lock of the archive at `fullPath` (a full path, its case
// already folded as the file system folds it): one name per archive whatever form of its
// path a run was given, and whichever program hosts the run.
std::string archiveLockName(const std::string& fullPath);

}  // namespace zipcore
