#include "toolkit/zipcore/unzip_engine.h"

#include <algorithm>

#include "toolkit/zipcore/archive_publish.h"
#include "toolkit/zipcore/archive_turns.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/file_spec.h"
#include "toolkit/zipcore/run_barrier.h"
#include "toolkit/zipcore/unzip_context.h"

namespace zipcore {

namespace {

void reportOpenFailure(ZipResult r, const ZipArchive& archive, const UnzipOptions& o, RunEvents& events) {
    if (!archive.missingVolume().empty()) {
        events.message(MessageCode::ArchiveOpen, archive.missingVolume() + ": volume of the split archive " +
                                                     o.archivePath + " cannot be opened");
        return;
    }
    const bool open = r == ZipResult::ArchiveNotFound || r == ZipResult::NotAnArchive;
    events.message(open ? MessageCode::ArchiveOpen : MessageCode::ArchiveDamaged,
                   o.archivePath + ": " + resultText(r));
}

bool inRange(int64_t index, size_t count) { return index >= 0 && uint64_t(index) < count; }

}  // namespace

bool UnzipContext::selected(const ZipEntry& entry) const {
    if (options.noDirectoryItems && entry.isDirectory()) return false;
    if (options.ignoreLongNames && !isShortName(entry.name)) return false;
    // Archive names are matched as Windows matches file names: case does not count.
    return anySpecMatches(specs, entry.name, options.recurse, false);
}

bool UnzipContext::sizesShowable(const ZipEntry& entry) const {
    // 0xFFFFFFFF itself would read as the ZIP64 marker.
    if (entry.originalSize < 0xFFFFFFFFu && entry.compressedSize < 0xFFFFFFFFu) return true;
    events.message(MessageCode::ArchiveDamaged,
                   entry.name + ": item of 4 GiB or more; its sizes do not fit the item properties");
    return false;
}

std::string UnzipContext::password() const {
    return options.decrypt ? options.password : std::string();
}

ItemInfo UnzipContext::infoFor(size_t index) const {
    const ZipEntry& e = archive.entries()[index];
    ItemInfo info;
    info.index = int32_t(index);
    info.originalSize = e.originalSize;
    info.compressedSize = e.compressedSize;
    info.method = e.method;
    info.isDirectory = e.isDirectory();
    info.crc32 = e.crc32;
    info.modified.date = e.dosDate;
    info.modified.time = e.dosTime;
    info.dateTimeText = formatDosDateTime(info.modified);
    info.name = e.name;
    info.attributes = e.dosAttributes();
    if (e.encrypted()) info.attributes |= AttrEncrypted;
    if (!isShortName(e.name)) info.attributes |= AttrLongName;
    return info;
}

namespace {

UnzipOutcome unguardedRun(FileSystem& fs, UnzipAction action, const UnzipOptions& options, RunEvents& events) {
    UnzipOutcome out;
    if (int(action) < int(UnzipAction::CountAll) || int(action) > int(UnzipAction::UnzipToString) ||
        options.archivePath.empty()) {
        out.code = ZipResult::BadArgument;
        return out;
    }
    UnzipContext context(fs, options, events);
    // A single-file archive is replaced whole, so it is read at once: this run keeps the copy
    // it opened whatever an update does. A split set goes in place a volume at a time, and a
    // missing archive may be one a killed update moved aside: those wait for the update in
    // progress to end (and the next update's recovery to run). A run started from an event of
    // this thread's own update reads what is there.
    ZipResult opened = context.archive.openSplit(fs, options.archivePath);
    if (opened == ZipResult::ArchiveNotFound || context.archive.split()) {
        const ArchiveTurn turn = waitForArchiveTurn(fs, options.archivePath, events);
        if (!turn.lock && turn.code != ZipResult::Busy) {
            out.code = turn.code;
            return out;
        }
        if (turn.lock) recoverInterruptedUpdate(fs, fs.canonicalPath(options.archivePath));
        opened = context.archive.openSplit(fs, options.archivePath);
    }
    if (opened != ZipResult::Ok) {
        reportOpenFailure(opened, context.archive, options, events);
        out.code = opened;
        return out;
    }
    context.specs = splitFileSpecs(options.fileSpec);
    const std::vector<ZipEntry>& entries = context.archive.entries();
    const int32_t total = int32_t(entries.size());

    auto showInfo = [&](int64_t index) {
        if (!inRange(index, entries.size())) {
            out.code = ZipResult::IndexOutOfRange;
            return;
        }
        out.reachedIndex = int32_t(index);
        if (!context.sizesShowable(entries[size_t(index)])) {
            out.code = ZipResult::TooLarge;
            return;
        }
        out.info = context.infoFor(size_t(index));
        out.hasInfo = true;
    };

    switch (action) {
    case UnzipAction::CountAll:
        out.count = total;
        break;
    case UnzipAction::NextInfo:
        out.count = total;
        showInfo(int64_t(options.index) + 1);
        break;
    case UnzipAction::CountNamed:
        for (const ZipEntry& e : entries)
            if (context.selected(e)) ++out.count;
        if (out.count == 0) out.code = ZipResult::NothingMatched;
        break;
    case UnzipAction::NextNamedInfo: {
        out.count = total;
        int64_t found = -1;
        for (int64_t i = std::max<int64_t>(int64_t(options.index) + 1, 0); i < total; ++i) {
            if (context.selected(entries[size_t(i)])) {
                found = i;
                break;
            }
        }
        if (found < 0) out.code = ZipResult::NothingMatched;
        else showInfo(found);
        break;
    }
    case UnzipAction::CommentSize:
        out.count = int32_t(context.archive.comment().size());
        break;
    case UnzipAction::Comment:
        out.count = int32_t(context.archive.comment().size());
        out.returnString = context.archive.comment();
        break;
    case UnzipAction::IndexedInfo:
        out.count = total;
        showInfo(options.index);
        break;
    case UnzipAction::Extract:
        out.code = extractItems(context, out);
        break;
    case UnzipAction::UnzipToString:
        out.code = unzipToString(context, out);
        break;
    }
    return out;
}

}  // namespace

UnzipOutcome runUnzip(FileSystem& fs, UnzipAction action, const UnzipOptions& options, RunEvents& events) {
    try {
        return unguardedRun(fs, action, options, events);
    } catch (...) {
        UnzipOutcome out;
        out.code = resultOfException(events, options.archivePath);
        return out;
    }
}

const char* resultText(ZipResult code) {
    switch (code) {
    case ZipResult::Ok: return "success";
    case ZipResult::ArchiveNotFound: return "archive cannot be opened";
    case ZipResult::NotAnArchive: return "not a ZIP archive";
    case ZipResult::ArchiveDamaged: return "archive is damaged";
    case ZipResult::Zip64Unsupported: return "split archive: a volume is missing, or it cannot be updated";
    case ZipResult::UnsupportedMethod: return "unsupported compression method or encryption";
    case ZipResult::CrcMismatch: return "CRC or size check failed";
    case ZipResult::BadPassword: return "password missing or wrong";
    case ZipResult::UnsafeName: return "unsafe item name refused";
    case ZipResult::CreateFailed: return "cannot create file or folder";
    case ZipResult::WriteFailed: return "write failed";
    case ZipResult::ReadFailed: return "cannot read file";
    case ZipResult::NothingMatched: return "nothing matched";
    case ZipResult::IndexOutOfRange: return "index out of range";
    case ZipResult::Cancelled: return "cancelled";
    case ZipResult::BadArgument: return "bad argument";
    case ZipResult::TooLarge: return "limit exceeded";
    case ZipResult::ItemSkipped: return "some items were skipped";
    case ZipResult::Busy: return "the archive is being updated by this thread";
    }
    return "unknown result";
}

}  // namespace zipcore
