// How an update puts its new archive in place, and how the next run on the archive recovers
// from one that was killed half-way. Every file a run leaves beside the archive is named
// "<archive>.~vx...": temporaries ".~vxN" (split volumes ".~vxNs.K"), the old archive moved
// aside ".~vxoldN", volumes moved aside ".~vxvolN", and ".~vxset" while the volumes of a split
// archive are being put in place (it holds their number).
#pragma once

#include <memory>
#include <string>

#include "toolkit/zipcore/file_system.h"

namespace zipcore {

// Creates the run's temporary file exclusively: the first free "<archive>.~vxN". Null when
// none can be created.
std::unique_ptr<WriteFile> createTemporary(FileSystem& fs, const std::string& archivePath, std::string& tempPath);

// Whether a path names the archive or one of the files runs leave beside it (the canonical
// spelling of both expected).
bool belongsToArchive(const FileSystem& fs, const std::string& canonicalArchive, const std::string& canonicalPath);

// Puts `from` in place of `to` so that `to` always holds the old file or the new one, whole:
// one atomic replacement, or where a reader keeps the old file from being replaced, the old
// one moved aside (asideStem + N) first and put back when the new one cannot follow. A
// read-only `to` is never replaced. Waits up to 10 s for programs that share no deletion.
bool publishFile(FileSystem& fs, const std::string& from, const std::string& to, const std::string& asideStem);

// Puts split volumes tempName(prefix, 1..count) in place of the archive's volumes, the last
// one (the archive's own name) last; on failure no volume stays behind.
bool publishSplit(FileSystem& fs, const std::string& prefix, int count, const std::string& archivePath);

// Run while holding the archive's lock, before it is read: restores an old archive that a
// killed publish left moved aside, removes volumes of a split publish that never finished,
// and deletes every temporary left beside the archive.
void recoverInterruptedUpdate(FileSystem& fs, const std::string& archivePath);

}  // namespace zipcore
