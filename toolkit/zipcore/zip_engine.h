// The zip control's "add" function: puts a blank-separated list of files and folders into an
// archive, creating it or replacing same-named items, optionally as a split archive.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

struct ZipAddOptions {
    std::string archivePath;
    // Blank-separated specs; "quoted long names"; * and ? in the last part. A folder adds its
    // entry, and with recurse its whole tree. Stored names drop drive, leading separators and
    // "." / ".." parts and use '/'.
    std::string itemList;
    // Relative specs are taken from here (empty: the current folder).
    std::string baseFolder;
    bool recurse = false;         // wildcards match in every folder below, folders add their tree
    int level = 6;                // zlib level 0 (store) to 9
    // Split archive (name.z01, name.z02, ... name.zip) when nonzero; each volume holds at
    // most this many bytes. firstVolumeSize, when nonzero, limits the first volume instead.
    // An archive that fits in the first volume is written as one plain file. An existing
    // split archive cannot be updated (Zip64Unsupported, as for reading).
    uint32_t volumeSize = 0;
    uint32_t firstVolumeSize = 0;
};

struct ZipAddOutcome {
    ZipResult code = ZipResult::Ok;
    int32_t count = 0;            // items written from the list
    int32_t volumes = 0;          // files the archive occupies (1 unless split)
};

// Smallest volume accepted for a split archive; every header must fit in one volume.
constexpr uint32_t kMinVolumeSize = 64 * 1024;
// Volume size the controls use for multi-volume archives (a 3.5" HD floppy).
constexpr uint32_t kFloppyVolumeSize = 1457664;
// First-volume size for "CD First" (650 MiB, a CD-R).
constexpr uint32_t kCdVolumeSize = 681574400;

// The existing archive is left exactly as it was unless the whole run succeeds.
ZipAddOutcome runZipAdd(FileSystem& fs, const ZipAddOptions& options, RunEvents& events);

}  // namespace zipcore
