// Extraction and test of the selected items.
#include <memory>
#include <vector>

#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/line_endings.h"
#include "toolkit/zipcore/long_names.h"
#include "toolkit/zipcore/unzip_context.h"

namespace zipcore {

namespace {

constexpr size_t kChunk = 256 * 1024;
constexpr uint32_t kSettableAttributes = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive;

// Keeps the first real failure; a declined overwrite only shows when nothing else failed.
void noteError(ZipResult& run, ZipResult item) {
    if (item == ZipResult::Ok) return;
    if (run == ZipResult::Ok || run == ZipResult::ItemSkipped) run = item;
}

MessageCode messageFor(ZipResult r) {
    switch (r) {
    case ZipResult::CrcMismatch: return MessageCode::CrcMismatch;
    case ZipResult::UnsupportedMethod: return MessageCode::UnsupportedMethod;
    case ZipResult::CreateFailed: return MessageCode::CreateFailed;
    case ZipResult::WriteFailed: return MessageCode::WriteFailed;
    case ZipResult::UnsafeName: return MessageCode::UnsafeName;
    default: return MessageCode::ArchiveDamaged;
    }
}

class Extractor {
public:
    Extractor(UnzipContext& c, UnzipOutcome& o) : c_(c), out_(o), progress_(c.events) {}
    ZipResult run();

private:
    enum class Step { Next, Stop };
    Step item(size_t index);
    Step handle(size_t index);
    Step fileItem(const ZipEntry& e, const std::vector<std::string>& parts, DosDateTime stamp, uint32_t attributes);
    // Whether an existing target may be replaced; sets skip result when not.
    bool mayReplace(const std::string& target, const FileStat& existing, const ZipEntry& e, bool& attributesCleared);
    bool makeFolders(const std::vector<std::string>& parts, size_t count);
    ZipResult copyItem(const ZipEntry& e, WriteFile* sink);
    std::string join(const std::vector<std::string>& parts, size_t count) const;
    std::unique_ptr<WriteFile> createTemp(const std::string& target, std::string& temp);
    bool takeFinalName(const std::string& temp, const std::string& target, uint64_t size, DosDateTime stamp);
    bool fail(ZipResult r, const std::string& what);

    UnzipContext& c_;
    UnzipOutcome& out_;
    RunProgress progress_;
    ZipResult result_ = ZipResult::Ok;
    std::vector<uint8_t> buffer_, converted_;
    bool destinationReady_ = false;
    LongNameMangler mangler_;
    std::vector<std::pair<std::string, DosDateTime>> folderTimes_;
};

std::string Extractor::join(const std::vector<std::string>& parts, size_t count) const {
    std::string path = c_.options.destination;
    const char sep = c_.fs.separator();
    for (size_t i = 0; i < count; ++i) {
        if (!path.empty() && !endsWithSeparator(path)) path.push_back(sep);
        path += parts[i];
    }
    return path;
}

// A temporary file beside the target that this run alone created: jobs and processes
// extracting into one folder at once never share one.
std::unique_ptr<WriteFile> Extractor::createTemp(const std::string& target, std::string& temp) {
    FileStat st;
    unsigned refusedWhileFree = 0;
    for (unsigned n = 0; n < 1000;) {
        temp = target + ".~vx" + std::to_string(n);
        std::unique_ptr<WriteFile> file = c_.fs.createNew(temp);
        if (file) return file;
        if (c_.fs.stat(temp, st)) {
            ++n;  // another run's: the next number
        } else if (++refusedWhileFree == 3) {
            break;  // free, and still it cannot be made (another run may just have renamed it)
        }
    }
    temp.clear();
    return nullptr;
}

// Renames the finished file to its final name. Another run of the same archive may have put
// the same item there a moment before and made it read-only: a target of our size and time
// stamp is that item, and our copy is not needed.
bool Extractor::takeFinalName(const std::string& temp, const std::string& target, uint64_t size,
                              DosDateTime stamp) {
    if (c_.fs.rename(temp, target)) return true;
    FileStat now;
    if (!c_.fs.stat(target, now) || now.isDirectory || now.size != size ||
        dosStamp(now.modified) != dosStamp(stamp))
        return false;
    c_.fs.remove(temp);
    return true;
}

bool Extractor::fail(ZipResult r, const std::string& what) {
    noteError(result_, r);
    c_.events.message(messageFor(r), what + ": " + resultText(r));
    return false;
}

// Creates the destination with any missing parents. Leading parts such as a drive or a UNC
// server cannot be created and need not be: only the last level has to succeed.
bool createFolderPath(FileSystem& fs, const std::string& path) {
    bool afterSeparator = true;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '/' || path[i] == '\\') {
            if (i > 0 && !afterSeparator && path[i - 1] != ':') fs.createFolder(path.substr(0, i));
            afterSeparator = true;
        } else {
            afterSeparator = false;
        }
    }
    return fs.createFolder(path);
}

bool Extractor::makeFolders(const std::vector<std::string>& parts, size_t count) {
    const std::string& destination = c_.options.destination;
    if (!destination.empty() && !destinationReady_) {
        if (!createFolderPath(c_.fs, destination)) return fail(ZipResult::CreateFailed, destination);
        destinationReady_ = true;
    }
    for (size_t i = 1; i <= count; ++i) {
        const std::string folder = join(parts, i);
        if (!c_.fs.createFolder(folder)) return fail(ZipResult::CreateFailed, folder);
    }
    return true;
}

ZipResult Extractor::copyItem(const ZipEntry& e, WriteFile* sink) {
    ItemReader reader;
    ZipResult r = reader.open(c_.archive, e, c_.password());
    if (r != ZipResult::Ok) return r;
    LfToCrlf lines;
    const bool convert = c_.options.lfToCrlf && sink != nullptr;
    for (;;) {
        size_t got = 0;
        r = reader.read(buffer_.data(), buffer_.size(), got);
        if (r != ZipResult::Ok) return r;
        if (got == 0) return ZipResult::Ok;
        if (sink) {
            bool written;
            if (convert) {
                lines.convert(buffer_.data(), got, converted_);
                written = sink->write(converted_.data(), converted_.size());
            } else {
                written = sink->write(buffer_.data(), got);
            }
            if (!written) return ZipResult::WriteFailed;
        }
        if (!progress_.advance(got)) return ZipResult::Cancelled;
    }
}

bool Extractor::mayReplace(const std::string& target, const FileStat& existing, const ZipEntry& e,
                           bool& attributesCleared) {
    const UnzipOptions& o = c_.options;
    if (o.freshen || o.update) {
        // Replacing older files is what these modes are for; no question is asked.
        if (dosStamp(DosDateTime{e.dosDate, e.dosTime}) <= dosStamp(existing.modified)) return false;
    } else if (!o.overwrite) {
        if (c_.events.message(MessageCode::OverwriteFile, target + " exists. Replace it?") != ResponseYes) {
            noteError(result_, ZipResult::ItemSkipped);
            return false;
        }
    }
    if ((existing.attributes & AttrReadOnly) && !o.overwriteReadOnly &&
        c_.events.message(MessageCode::OverwriteReadOnly, target + " is read-only. Replace it?") != ResponseYes) {
        noteError(result_, ZipResult::ItemSkipped);
        return false;
    }
    // Windows refuses to replace read-only, hidden or system files: clear those bits first.
    const uint32_t blocking = AttrReadOnly | AttrHidden | AttrSystem;
    if (existing.attributes & blocking) {
        attributesCleared = true;
        if (!c_.fs.setAttributes(target, existing.attributes & ~blocking)) return fail(ZipResult::CreateFailed, target);
    }
    return true;
}

Extractor::Step Extractor::fileItem(const ZipEntry& e, const std::vector<std::string>& parts, DosDateTime stamp,
                                    uint32_t attributes) {
    const UnzipOptions& o = c_.options;
    if (o.test) {
        const ZipResult r = copyItem(e, nullptr);
        if (r == ZipResult::Cancelled) return Step::Stop;
        if (r == ZipResult::BadPassword) {
            noteError(result_, r);
            return c_.events.message(MessageCode::PasswordFailed, e.name + ": " + resultText(r)) == ResponseNo
                       ? Step::Stop : Step::Next;
        }
        if (r != ZipResult::Ok) fail(r, e.name);
        else ++out_.count;
        return Step::Next;
    }

    const std::string target = join(parts, parts.size());
    const size_t limit = c_.fs.maxPathLength();
    // The temporary name adds up to 8 characters; a path the platform would cut is refused.
    if (limit != 0 && target.size() + 8 > limit) {
        fail(ZipResult::TooLarge, target);
        return Step::Next;
    }
    FileStat existing;
    const bool exists = c_.fs.stat(target, existing);
    bool attributesCleared = false;
    if (exists) {
        if (existing.isDirectory) {
            fail(ZipResult::CreateFailed, target);
            return Step::Next;
        }
        if (!mayReplace(target, existing, e, attributesCleared)) return Step::Next;
    } else if (o.freshen) {
        return Step::Next;
    }
    if (!makeFolders(parts, parts.size() - 1)) return Step::Next;

    std::string temp;
    std::unique_ptr<WriteFile> file = createTemp(target, temp);
    if (!file) {
        if (attributesCleared) c_.fs.setAttributes(target, existing.attributes);
        fail(ZipResult::CreateFailed, target);
        return Step::Next;
    }
    ZipResult r = copyItem(e, file.get());
    const uint64_t size = file->position();
    if (!file->close() && r == ZipResult::Ok) r = ZipResult::WriteFailed;
    file.reset();
    // The file is finished before it takes its name: a rename by another run can no longer
    // come between it and its time stamp or attributes.
    if (r == ZipResult::Ok) {
        c_.fs.setModified(temp, stamp);
        c_.fs.setAttributes(temp, attributes & kSettableAttributes);
        if (!takeFinalName(temp, target, size, stamp)) r = ZipResult::WriteFailed;
    }
    if (r != ZipResult::Ok) {
        // A failed item never replaces what was there.
        c_.fs.remove(temp);
        if (attributesCleared) c_.fs.setAttributes(target, existing.attributes);
        if (r == ZipResult::Cancelled) return Step::Stop;
        if (r == ZipResult::BadPassword) {
            noteError(result_, r);
            return c_.events.message(MessageCode::PasswordFailed, e.name + ": " + resultText(r)) == ResponseNo
                       ? Step::Stop : Step::Next;
        }
        fail(r, target);
        return Step::Next;
    }
    ++out_.count;
    return Step::Next;
}

Extractor::Step Extractor::item(size_t index) {
    const ZipEntry& e = c_.archive.entries()[index];
    if (!progress_.startItem((c_.options.test ? "Testing " : "Extracting ") + e.name, e.name, e.originalSize))
        return Step::Stop;
    if (handle(index) == Step::Stop) return Step::Stop;
    // Skipped and failed items count as done, so the run's percent still reaches their share.
    return progress_.finishItem() ? Step::Next : Step::Stop;
}

Extractor::Step Extractor::handle(size_t index) {
    const ZipEntry& e = c_.archive.entries()[index];
    const UnzipOptions& o = c_.options;

    std::vector<std::string> parts;
    if (!safeRelativeParts(e.name, parts)) {
        fail(ZipResult::UnsafeName, e.name);
        return Step::Next;
    }
    const bool directory = e.isDirectory();
    if (directory && (o.noDirectoryNames || o.noDirectoryItems)) return Step::Next;
    if (o.noDirectoryNames) parts.erase(parts.begin(), parts.end() - 1);
    if (o.mangleLongNames) mangler_.mangle(parts);

    DosDateTime stamp{e.dosDate, e.dosTime};
    uint32_t attributes = e.dosAttributes();
    if (o.allowRenaming && !o.test) {
        RenameRequest request;
        for (size_t i = 0; i < parts.size(); ++i) request.name += (i ? "/" : "") + parts[i];
        request.dosDate = stamp.date;
        request.dosTime = stamp.time;
        request.attributes = c_.infoFor(index).attributes;
        request.originalName = e.name;
        const int32_t response = c_.events.rename(request);
        if (response == 1) return Step::Next;
        if (response == 2) return Step::Stop;
        if (!safeRelativeParts(request.name, parts)) {
            fail(ZipResult::UnsafeName, request.name);
            return Step::Next;
        }
        stamp = DosDateTime{uint16_t(request.dosDate), uint16_t(request.dosTime)};
        attributes = request.attributes;
    }

    if (directory) {
        if (o.test) {
            ++out_.count;
        } else if (makeFolders(parts, parts.size())) {
            ++out_.count;
            folderTimes_.push_back({join(parts, parts.size()), stamp});
        }
        return Step::Next;
    }
    return fileItem(e, parts, stamp, attributes);
}

ZipResult Extractor::run() {
    const std::vector<ZipEntry>& entries = c_.archive.entries();
    std::vector<size_t> chosen;
    uint64_t totalBytes = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!c_.selected(entries[i])) continue;
        chosen.push_back(i);
        // Declared sizes may be anything up to 2^64.
        const uint64_t size = entries[i].originalSize;
        totalBytes = size > UINT64_MAX - totalBytes ? UINT64_MAX : totalBytes + size;
    }
    if (chosen.empty()) {
        c_.events.message(MessageCode::NothingMatched, "No items matched " + c_.options.fileSpec);
        return ZipResult::NothingMatched;
    }
    buffer_.resize(kChunk);
    progress_.setTotal(totalBytes, chosen.size());
    for (size_t index : chosen) {
        if (item(index) == Step::Stop) return ZipResult::Cancelled;
    }
    // Folder times last: writing files into a folder would change its time again.
    for (auto it = folderTimes_.rbegin(); it != folderTimes_.rend(); ++it) c_.fs.setModified(it->first, it->second);
    if (!progress_.finishRun(c_.options.test ? "Test complete" : "Extraction complete")) return ZipResult::Cancelled;
    return result_;
}

}  // namespace

ZipResult extractItems(UnzipContext& context, UnzipOutcome& outcome) {
    Extractor extractor(context, outcome);
    return extractor.run();
}

}  // namespace zipcore
