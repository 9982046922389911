// Unzips part of one item into memory.
#include <algorithm>
#include <vector>

#include "toolkit/zipcore/line_endings.h"
#include "toolkit/zipcore/unzip_context.h"

namespace zipcore {

namespace {

constexpr size_t kChunk = 64 * 1024;

bool findItem(UnzipContext& c, size_t& found) {
    const std::vector<ZipEntry>& entries = c.archive.entries();
    if (c.specs.empty()) {
        const int32_t index = c.options.index;
        if (index < 0 || size_t(index) >= entries.size() || entries[size_t(index)].isDirectory()) return false;
        found = size_t(index);
        return true;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].isDirectory() && c.selected(entries[i])) {
            found = i;
            return true;
        }
    }
    return false;
}

}  // namespace

ZipResult unzipToString(UnzipContext& c, UnzipOutcome& out) {
    const UnzipOptions& o = c.options;
    if (o.startingOffset < 0 || o.charsToUnzip < 0) return ZipResult::BadArgument;
    size_t index = 0;
    if (!findItem(c, index)) {
        c.events.message(MessageCode::NothingMatched, "No item matched " + o.fileSpec);
        return ZipResult::NothingMatched;
    }
    out.count = 1;
    const ZipEntry& e = c.archive.entries()[index];
    if (!c.sizesShowable(e)) return ZipResult::TooLarge;
    out.info = c.infoFor(index);
    out.hasInfo = true;

    const uint64_t skip = uint64_t(o.startingOffset);
    const size_t wanted = size_t(std::min(o.charsToUnzip, kMaxStringChars));
    RunProgress progress(c.events);
    progress.setTotal(e.originalSize, 1);
    if (!progress.startItem("Unzipping " + e.name, e.name, e.originalSize)) return ZipResult::Cancelled;

    ItemReader reader;
    ZipResult r = reader.open(c.archive, e, c.password());
    if (r != ZipResult::Ok) {
        c.events.message(r == ZipResult::BadPassword ? MessageCode::PasswordFailed : MessageCode::ArchiveDamaged,
                         e.name + ": " + resultText(r));
        return r;
    }
    std::vector<uint8_t> buffer(kChunk), converted;
    LfToCrlf lines;
    uint64_t position = 0;  // in the (converted) text
    // Reading stops once the wanted characters are in; the item's CRC is then not checked.
    while (out.unzipString.size() < wanted) {
        size_t got = 0;
        r = reader.read(buffer.data(), buffer.size(), got);
        if (r != ZipResult::Ok) {
            c.events.message(r == ZipResult::CrcMismatch ? MessageCode::CrcMismatch : MessageCode::ArchiveDamaged,
                             e.name + ": " + resultText(r));
            out.unzipString.clear();
            return r;
        }
        if (got == 0) break;
        const uint8_t* data = buffer.data();
        size_t n = got;
        if (o.lfToCrlf) {
            lines.convert(buffer.data(), got, converted);
            data = converted.data();
            n = converted.size();
        }
        size_t from = 0;
        if (position < skip) from = size_t(std::min<uint64_t>(skip - position, n));
        const size_t take = std::min(n - from, wanted - out.unzipString.size());
        out.unzipString.append(reinterpret_cast<const char*>(data) + from, take);
        position += n;
        if (!progress.advance(got)) return ZipResult::Cancelled;
    }
    out.charsReturned = int32_t(out.unzipString.size());
    if (!progress.finishItem()) return ZipResult::Cancelled;
    return ZipResult::Ok;
}

}  // namespace zipcore
