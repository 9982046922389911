#include "toolkit/zipcore/zip_engine.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <thread>

#include "toolkit/zipcore/archive_turns.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/run_progress.h"
#include "toolkit/zipcore/split_writer.h"
#include "toolkit/zipcore/zip_item_list.h"
#include "toolkit/zipcore/zip_reader.h"
#include "toolkit/zipcore/zip_writer.h"

namespace zipcore {

namespace {

std::string unusedName(FileSystem& fs, const std::string& base) {
    FileStat st;
    for (unsigned n = 0; n < 1000; ++n) {
        const std::string candidate = base + ".~vx" + std::to_string(n);
        if (!fs.stat(candidate, st) && !fs.stat(splitTempName(candidate, 1), st)) return candidate;
    }
    return std::string();
}

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
    ZipResult writeArchive(const std::vector<ItemToAdd>& items, ZipArchive* old);
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
    std::string temp_;
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

ZipResult AddRun::writeArchive(const std::vector<ItemToAdd>& items, ZipArchive* old) {
    ZipResult r = writer_.create(fs_, temp_);
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

// Replaces the archive with the new one. Where the old one cannot be replaced while a program
// that did not share it is reading it, the replacement waits for it a while.
bool replaceArchive(FileSystem& fs, const std::string& from, const std::string& to) {
    constexpr int kAttempts = 200;
    constexpr auto kPause = std::chrono::milliseconds(50);
    FileStat st;
    for (int attempt = 0;; ++attempt) {
        if (fs.replace(from, to)) return true;
        if (attempt == kAttempts || !fs.stat(from, st) || !fs.stat(to, st) || st.isDirectory) return false;
        std::this_thread::sleep_for(kPause);
    }
}

ZipResult AddRun::publish() {
    FileStat st;
    uint64_t size = 0;
    if (fs_.stat(temp_, st)) size = st.size;
    const uint32_t firstLimit = o_.firstVolumeSize ? o_.firstVolumeSize : o_.volumeSize;
    if (o_.volumeSize == 0 || size <= firstLimit) {
        volumes_ = 1;
        return replaceArchive(fs_, temp_, o_.archivePath) ? ZipResult::Ok
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
        for (int n = 1; n <= count && r == ZipResult::Ok; ++n)
            if (!fs_.rename(splitTempName(prefix, n), volumeName(o_.archivePath, n, count))) r = ZipResult::WriteFailed;
        volumes_ = count;
    }
    for (int n = 1; n <= count; ++n) fs_.remove(splitTempName(prefix, n));
    fs_.remove(temp_);
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
    const std::unique_ptr<ArchiveLock> lock = waitForArchiveTurn(fs_, o_.archivePath, events_);
    if (!lock) {
        out.code = ZipResult::Cancelled;
        return out;
    }
    std::unique_ptr<ZipArchive> old;
    FileStat st;
    if (fs_.stat(o_.archivePath, st)) {
        if (st.isDirectory) {
            out.code = report(ZipResult::CreateFailed, o_.archivePath);
            return out;
        }
        // Something that is not a readable archive is never overwritten.
        old = std::make_unique<ZipArchive>();
        const ZipResult r = old->open(fs_, o_.archivePath);
        if (r != ZipResult::Ok) {
            out.code = report(r, o_.archivePath);
            return out;
        }
    }
    temp_ = unusedName(fs_, o_.archivePath);
    if (temp_.empty()) {
        out.code = report(ZipResult::CreateFailed, o_.archivePath);
        return out;
    }

    ItemListRequest request;
    request.itemList = o_.itemList;
    request.baseFolder = o_.baseFolder;
    request.recurse = o_.recurse;
    request.excluded = {o_.archivePath, temp_};
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

    out.code = writeArchive(items, old.get());
    writer_.abandon();
    old.reset();
    if (out.code == ZipResult::Ok && !progress_.finishRun("Compression complete")) out.code = ZipResult::Cancelled;
    if (out.code == ZipResult::Ok) out.code = publish();
    // Whatever went wrong, the temporary file goes and the old archive stays as it was.
    fs_.remove(temp_);
    out.count = out.code == ZipResult::Ok ? added_ : 0;
    out.volumes = out.code == ZipResult::Ok ? volumes_ : 0;
    return out;
}

}  // namespace

ZipAddOutcome runZipAdd(FileSystem& fs, const ZipAddOptions& options, RunEvents& events) {
    AddRun run(fs, options, events);
    return run.run();
}

}  // namespace zipcore
