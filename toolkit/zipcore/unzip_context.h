// What the unzip functions share during one run: the open archive, the parsed specs, the
// host's callbacks and the run's progress.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/zipcore/run_progress.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_reader.h"

namespace zipcore {

struct UnzipContext {
    UnzipContext(FileSystem& f, const UnzipOptions& o, RunEvents& e) : fs(f), options(o), events(e) {}
    FileSystem& fs;
    const UnzipOptions& options;
    RunEvents& events;
    ZipArchive archive;
    std::vector<std::string> specs;

    bool selected(const ZipEntry& entry) const;
    std::string password() const;
    ItemInfo infoFor(size_t index) const;
    // Whether the item's sizes fit its 32-bit properties; raises message 3 when not.
    bool sizesShowable(const ZipEntry& entry) const;
};

ZipResult extractItems(UnzipContext& context, UnzipOutcome& outcome);
ZipResult unzipToString(UnzipContext& context, UnzipOutcome& outcome);

}  // namespace zipcore
