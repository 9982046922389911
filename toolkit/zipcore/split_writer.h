// Lays a finished single-file archive out as a split archive: volumes name.z01, name.z02, ...
// and the last one under the archive's own name. The first volume starts with the split
// marker; no header is ever divided between volumes, only item data runs across.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

// Name of volume `number` (1-based) of a split archive of `volumes` volumes.
std::string volumeName(const std::string& archivePath, int number, int volumes);

// Writes the volumes of `singlePath` to files named by tempName(number); volumeCount gets
// their number. NextVolume messages are raised before each volume after the first;
// a ResponseNo stops with Cancelled.
ZipResult writeSplitVolumes(FileSystem& fs, const std::string& singlePath, uint32_t volumeSize,
                            uint32_t firstVolumeSize, const std::string& tempPrefix, RunEvents& events,
                            int& volumeCount);

std::string splitTempName(const std::string& tempPrefix, int number);

}  // namespace zipcore
