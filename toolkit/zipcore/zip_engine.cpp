#include "toolkit/zipcore/zip_engine.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <thread>

#include "toolkit/zipcore/archive_publish.h"
#include "toolkit/zipcore/archive_turns.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/run_barrier.h"
#include "toolkit/zipcore/run_progress.h"
#include "toolkit/zipcore/split_writer.h"
#include "toolkit/zipcore/zip_item_list.h"
#include "toolkit/zipcore/zip_reader.h"
#include "toolkit/zipcore/zip_writer.h"

namespace zipcore {

namespace {

MessageCode messageFor(ZipResult r) {
    switch (r) {
    case ZipResult::ReadFailed: return MessageCode::SourceRead;
    case ZipResult::CreateFailed: return MessageCode::CreateFailed;
    case ZipResult::ArchiveNotFound:
    case ZipResult::NotAnArchive: return MessageCode::ArchiveOpen;
    case ZipResult::ArchiveDamaged:
    case ZipResult::Zip64Unsupported: return MessageCode::ArchiveDamaged;
    default: return MessageCode::WriteFailed;
    }
}

// Length of what precedes the first item (or the directory): a self-extractor's program, which
// an update keeps.
uint64_t leadingBytes(const ZipArchive& archive) {
    uint64_t first = archive.centralStart();
    for (const ZipEntry& e : archive.entries()) first = std::min(first, archive.prefix() + e.localHeaderOffset);
    return first;
}

class AddRun {
public:
    AddRun(FileSystem& fs, const ZipAddOptions& o, RunEvents& e) : fs_(fs), o_(o), events_(e), progress_(e) {}
    ZipAddOutcome run();

private:
    ZipResult writeArchive(const std::vector<ItemToAdd>& items, ZipArchive* old, std::unique_ptr<WriteFile> temp);
    ZipResult checkItemCount(size_t expected);
    ZipResult addItem(const ItemToAdd& item, CompressAhead& ahead, size_t job);
    ZipResult publish();
    ZipResult report(ZipResult r, const std::string& what) {
        if (r != ZipResult::Ok && r != ZipResult::Cancelled) events_.message(messageFor(r), what + ": " + resultText(r));
        return r;
    }

    FileSystem& fs_;
    const ZipAddOptions& o_;
    RunEvents& events_;
    RunProgress progress_;
    ZipWriter writer_;
    CompressedFile compressed_;
    std::string archive_;  // the canonical spelling of the archive's path
    std::string temp_;
    size_t keptOld_ = 0;   // old items copied into the new archive
    uint64_t programBytes_ = 0;  // a self-extractor's program kept in front of the items
    int volumes_ = 1;
    int32_t added_ = 0;
};

ZipResult AddRun::addItem(const ItemToAdd& item, CompressAhead& ahead, size_t job) {
    if (!progress_.startItem("Adding " + item.storedName, item.storedName, item.stat.size)) return ZipResult::Cancelled;
    ZipResult r = ZipResult::Ok;
    if (item.stat.isDirectory) {
        r = writer_.addFolder(item.storedName, item.stat);
    } else {
        ahead.take(job, compressed_);
        r = compressed_.code;
        if (r == ZipResult::Ok && compressed_.streamed)
            r = writer_.addStreamed(fs_, item.path, item.storedName, item.stat, o_.level, progress_);
        else if (r == ZipResult::Ok)
            r = writer_.addCompressed(item.storedName, item.stat, o_.level, compressed_, progress_);
    }
    if (r != ZipResult::Ok) return report(r, item.path);
    ++added_;
    return progress_.finishItem() ? ZipResult::Ok : ZipResult::Cancelled;
}

ZipResult AddRun::writeArchive(const std::vector<ItemToAdd>& items, ZipArchive* old, std::unique_ptr<WriteFile> temp) {
    ZipResult r = writer_.start(std::move(temp));
    if (r != ZipResult::Ok) return report(r, temp_);
    // The order of the new archive: old items keep their places, a same-named new item takes
    // the old one's place, the other new items follow.
    std::map<std::string, size_t> byName;
    for (size_t i = 0; i < items.size(); ++i) byName[nameKey(items[i].storedName, fs_.caseSensitive())] = i;
    std::vector<bool> placed(items.size(), false);
    struct Step {
        const ZipEntry* copy;  // or the new item:
        size_t item;
    };
    std::vector<Step> steps;
    if (old) {
        for (const ZipEntry& e : old->entries()) {
            const auto hit = byName.find(nameKey(e.name, fs_.caseSensitive()));
            if (hit == byName.end()) {
                steps.push_back(Step{&e, 0});
            } else if (!placed[hit->second]) {
                placed[hit->second] = true;
                steps.push_back(Step{nullptr, hit->second});
            }
        }
    }
    for (size_t i = 0; i < items.size(); ++i)
        if (!placed[i]) steps.push_back(Step{nullptr, i});

    std::vector<CompressAhead::Job> jobs;
    for (const Step& step : steps)
        if (!step.copy && !items[step.item].stat.isDirectory)
            jobs.push_back(CompressAhead::Job{items[step.item].path, items[step.item].stat.size});
    CompressAhead ahead(fs_, std::move(jobs), o_.level);

    if (old) {
        programBytes_ = leadingBytes(*old);
        r = writer_.copyLeadingBytes(old->file(), programBytes_);
        if (r != ZipResult::Ok) return report(r, o_.archivePath);
    }
    size_t job = 0;
    for (const Step& step : steps) {
        if (step.copy) {
            r = writer_.copyItem(*old, *step.copy);
            if (r != ZipResult::Ok) return report(r, o_.archivePath);
            ++keptOld_;
            continue;
        }
        const ItemToAdd& item = items[step.item];
        r = addItem(item, ahead, job);
        if (!item.stat.isDirectory) ++job;
        if (r != ZipResult::Ok) return r;
    }
    r = writer_.finish(old ? old->comment() : std::string());
    return report(r, temp_);
}

// The new archive must hold every old item it did not replace and every item this run
// added, read back from what was written: an item lost on the way is never published.
ZipResult AddRun::checkItemCount(size_t expected) {
    ZipArchive written;
    const ZipResult r = written.open(fs_, temp_);
    if (r == ZipResult::Ok && written.entries().size() == expected) return ZipResult::Ok;
    events_.message(MessageCode::WriteFailed, o_.archivePath + ": the new archive does not hold every item; it is not used");
    return ZipResult::WriteFailed;
}

ZipResult AddRun::publish() {
    FileStat st;
    uint64_t size = 0;
    if (fs_.stat(temp_, st)) size = st.size;
    const uint32_t firstLimit = o_.firstVolumeSize ? o_.firstVolumeSize : o_.volumeSize;
    if (o_.volumeSize == 0 || size <= firstLimit) {
        volumes_ = 1;
        return publishFile(fs_, temp_, archive_, archive_ + ".~vxold") ? ZipResult::Ok
                                                                        : report(ZipResult::WriteFailed, o_.archivePath);
    }
    // Volumes cannot carry a self-extractor's program, and a split set cannot run: the
    // program would be lost with the file that was runnable. The archive stays as it was.
    if (programBytes_ > 0) {
        events_.message(MessageCode::ArchiveDamaged,
                        o_.archivePath + ": a self-extracting archive cannot be split into volumes");
        return ZipResult::Zip64Unsupported;
    }
    const std::string prefix = temp_ + "s";
    int count = 0;
    ZipResult r = writeSplitVolumes(fs_, temp_, o_.volumeSize, o_.firstVolumeSize, prefix, events_, count);
    if (r == ZipResult::Ok) {
        if (!publishSplit(fs_, prefix, count, archive_)) r = ZipResult::WriteFailed;
        volumes_ = count;
    }
    for (int n = 1; n <= count + 1; ++n) fs_.remove(splitTempName(prefix, n));
    return report(r, o_.archivePath);
}

ZipAddOutcome AddRun::run() {
    ZipAddOutcome out;
    if (o_.archivePath.empty() || o_.level < 0 || o_.level > 9 ||
        (o_.volumeSize != 0 && o_.volumeSize < kMinVolumeSize) ||
        (o_.firstVolumeSize != 0 && o_.firstVolumeSize < kMinVolumeSize)) {
        out.code = ZipResult::BadArgument;
        return out;
    }
    // From reading the old archive until the new one has replaced it, no other run updates
    // it: two runs would each publish their own update and lose the other's.
    const ArchiveTurn turn = waitForArchiveTurn(fs_, o_.archivePath, events_);
    // Busy, as for a second run of one control, raises no message.
    if (!turn.lock) {
        out.code = turn.code;
        return out;
    }
    // Every spelling of the archive's path (short names, case, relative) names the same
    // temporary and aside files, so that any run finds what a killed one left.
    archive_ = fs_.canonicalPath(o_.archivePath);
    recoverInterruptedUpdate(fs_, archive_);
    std::unique_ptr<ZipArchive> old;
    FileStat st;
    if (fs_.stat(archive_, st)) {
        if (st.isDirectory) {
            out.code = report(ZipResult::CreateFailed, o_.archivePath);
            return out;
        }
        // Something that is not a readable archive is never overwritten.
        old = std::make_unique<ZipArchive>();
        const ZipResult r = old->open(fs_, archive_);
        if (r != ZipResult::Ok) {
            out.code = report(r, o_.archivePath);
            return out;
        }
    }
    // Declared first, so that it goes after the temporary file has been closed.
    struct RemoveOnExit {
        FileSystem& fs;
        const std::string& path;
        ~RemoveOnExit() {
            if (!path.empty()) fs.remove(path);
        }
    } removeTemp{fs_, temp_};
    std::unique_ptr<WriteFile> temp = createTemporary(fs_, archive_, temp_);
    if (!temp) {
        out.code = report(ZipResult::CreateFailed, o_.archivePath);
        return out;
    }

    ItemListRequest request;
    request.itemList = o_.itemList;
    request.baseFolder = o_.baseFolder;
    request.recurse = o_.recurse;
    request.archive = archive_;
    std::vector<ItemToAdd> items;
    out.code = gatherItems(fs_, request, events_, items);
    if (out.code != ZipResult::Ok) {
        if (out.code == ZipResult::NothingMatched)
            events_.message(MessageCode::NothingMatched, "Nothing to add from " + o_.itemList);
        return out;
    }
    uint64_t total = 0;
    for (const ItemToAdd& item : items) total += item.stat.size;
    progress_.setTotal(total, items.size());

    out.code = writeArchive(items, old.get(), std::move(temp));
    writer_.abandon();
    old.reset();
    if (out.code == ZipResult::Ok) out.code = checkItemCount(keptOld_ + size_t(added_));
    if (out.code == ZipResult::Ok && !progress_.finishRun("Compression complete")) out.code = ZipResult::Cancelled;
    if (out.code == ZipResult::Ok) out.code = publish();
    // Whatever went wrong, the temporary file goes (removeTemp) and the old archive stays as it was.
    out.count = out.code == ZipResult::Ok ? added_ : 0;
    out.volumes = out.code == ZipResult::Ok ? volumes_ : 0;
    return out;
}

}  // namespace

ZipAddOutcome runZipAdd(FileSystem& fs, const ZipAddOptions& options, RunEvents& events) {
    try {
        AddRun run(fs, options, events);
        return run.run();
    } catch (...) {
        ZipAddOutcome out;
        out.code = resultOfException(events, options.archivePath);
        return out;
    }
}

}  // namespace zipcore
