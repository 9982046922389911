#include "toolkit/zipcore/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "toolkit/zipcore/byte_order.h"
#include "toolkit/zipcore/extra_fields.h"
#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/name_coding.h"
#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

namespace {

constexpr size_t kChunk = kStreamChunk;
constexpr uint16_t kMadeByFat20 = 20;
constexpr uint16_t kMadeByNtfs20 = (kHostNtfs << 8) | 20;
constexpr uint16_t kUtf8NameFlag = 0x0800;

// ASCII names are written as they are; any other name in UTF-8, which flag bit 11 announces
// (every current reader takes it; legacy bytes would be read in some OEM code page).
uint16_t nameFlags(const std::string& name) { return isAscii(name) ? 0 : kUtf8NameFlag; }
// Such an item names NTFS as its host: Info-ZIP's unzip decodes a name from an MS-DOS host as
// OEM bytes even under flag bit 11. The attributes are DOS bits for either host.
uint16_t madeBy(const std::string& name) { return isAscii(name) ? kMadeByFat20 : kMadeByNtfs20; }

uint16_t levelFlags(int level) {
    // Bits 1-2 tell readers which deflate option was used.
    if (level >= 8) return 0x0002;
    if (level == 2) return 0x0004;
    if (level == 1) return 0x0006;
    return 0;
}


ZipEntry fileEntry(const std::string& storedName, const FileStat& stat) {
    ZipEntry e;
    e.name = storedName;
    e.versionMadeBy = madeBy(e.name);
    e.dosDate = stat.modified.date;
    e.dosTime = stat.modified.time;
    e.externalAttributes = stat.attributes & 0x3F & ~uint32_t(AttrDirectory);
    return e;
}

}  // namespace

ZipWriter::ZipWriter() = default;
ZipWriter::~ZipWriter() = default;

bool ZipWriter::write(const void* data, size_t n) {
    if (!file_->write(data, n)) return false;
    offset_ += n;
    return true;
}

ZipResult ZipWriter::start(std::unique_ptr<WriteFile> file) {
    file_ = std::move(file);
    if (!file_) return ZipResult::CreateFailed;
    in_.resize(kChunk);
    out_.resize(kChunk);
    return ZipResult::Ok;
}

ZipResult ZipWriter::copyBytes(ReadFile& from, uint64_t length) {
    while (length > 0) {
        size_t got = 0;
        const size_t want = size_t(std::min<uint64_t>(length, in_.size()));
        if (!from.read(in_.data(), want, got) || got == 0) return ZipResult::ArchiveDamaged;
        if (!write(in_.data(), got)) return ZipResult::WriteFailed;
        length -= got;
    }
    return ZipResult::Ok;
}

ZipResult ZipWriter::copyLeadingBytes(ReadFile& from, uint64_t length) {
    if (!from.seek(0)) return ZipResult::ArchiveDamaged;
    return copyBytes(from, length);
}

ZipResult ZipWriter::writeLocalHeader(const ZipEntry& e, const ItemLayout& l, const std::string& extra) {
    // Room for the ZIP64 blocks: 20 bytes locally, at most 28 in the central record.
    const auto fits = [](const std::string& x, size_t more) {
        return withoutExtraBlock(x, kZip64ExtraId).size() + more <= 0xFFFF;
    };
    if (e.headerName().size() > 0xFFFF || !fits(extra, l.zip64Local ? 20 : 0) || !fits(e.extra, 28))
        return ZipResult::TooLarge;
    const std::string h = localHeader(e, l, extra);
    return write(h.data(), h.size()) ? ZipResult::Ok : ZipResult::WriteFailed;
}

ZipResult ZipWriter::addFolder(const std::string& storedName, const FileStat& stat) {
    ZipEntry e;
    e.versionNeeded = 20;
    e.name = storedName;
    if (e.name.empty() || e.name.back() != '/') e.name.push_back('/');
    e.versionMadeBy = madeBy(e.name);
    e.flags = nameFlags(e.name);
    e.dosDate = stat.modified.date;
    e.dosTime = stat.modified.time;
    e.externalAttributes = (stat.attributes & 0x3F) | AttrDirectory;
    ItemLayout l;
    l.offset = offset_;
    const ZipResult r = writeLocalHeader(e, l, std::string());
    if (r == ZipResult::Ok) central_.push_back(Written{e, l});
    return r;
}

ZipResult ZipWriter::storeStream(ReadFile& source, ZipEntry& e, ItemLayout& l, RunProgress& progress, bool again) {
    uint32_t crc = 0;
    uint64_t total = 0;
    for (;;) {
        size_t got = 0;
        if (!source.read(in_.data(), in_.size(), got)) return ZipResult::ReadFailed;
        if (got == 0) break;
        crc = uint32_t(crc32(crc, in_.data(), unsigned(got)));
        total += got;
        if (!write(in_.data(), got)) return ZipResult::WriteFailed;
        if (!progress.advance(again ? 0 : got)) return ZipResult::Cancelled;
    }
    e.crc32 = crc;
    l.compressedSize = l.originalSize = total;
    return ZipResult::Ok;
}

ZipResult ZipWriter::deflateStream(ReadFile& source, ZipEntry& e, ItemLayout& l, int level,
                                   RunProgress& progress) {
    Deflater d(level);
    if (!d.ready) return ZipResult::BadArgument;
    uint32_t crc = 0;
    uint64_t total = 0, packed = 0;
    bool atEnd = false;
    while (!atEnd) {
        size_t got = 0;
        if (!source.read(in_.data(), in_.size(), got)) return ZipResult::ReadFailed;
        atEnd = got == 0;
        crc = uint32_t(crc32(crc, in_.data(), unsigned(got)));
        total += got;
        d.z.next_in = in_.data();
        d.z.avail_in = unsigned(got);
        do {
            d.z.next_out = out_.data();
            d.z.avail_out = unsigned(out_.size());
            const int rc = deflate(&d.z, atEnd ? Z_FINISH : Z_NO_FLUSH);
            if (rc == Z_STREAM_ERROR) return ZipResult::WriteFailed;
            const size_t n = out_.size() - d.z.avail_out;
            packed += n;
            if (n && !write(out_.data(), n)) return ZipResult::WriteFailed;
        } while (d.z.avail_out == 0);
        if (got && !progress.advance(got)) return ZipResult::Cancelled;
    }
    e.crc32 = crc;
    l.originalSize = total;
    l.compressedSize = packed;
    return ZipResult::Ok;
}

ZipResult ZipWriter::addCompressed(const std::string& storedName, const FileStat& stat, int level,
                                   const CompressedFile& c, RunProgress& progress) {
    ZipEntry e = fileEntry(storedName, stat);
    const bool deflated = c.deflated;
    e.method = deflated ? 8 : 0;
    e.flags = uint16_t((deflated ? levelFlags(level) : 0) | nameFlags(e.name));
    e.versionNeeded = deflated ? 20 : 10;
    e.crc32 = c.crc;
    ItemLayout l;
    l.offset = offset_;
    l.originalSize = c.size;
    l.compressedSize = c.bodySize();
    const ZipResult r = writeLocalHeader(e, l, std::string());
    if (r != ZipResult::Ok) return r;
    if (c.bodySize() && !write(c.body(), c.bodySize())) return ZipResult::WriteFailed;
    central_.push_back(Written{e, l});
    return progress.advance(c.size) ? ZipResult::Ok : ZipResult::Cancelled;
}

ZipResult ZipWriter::addLargeFile(ReadFile& source, uint64_t size, ZipEntry& e, ItemLayout& l, int level,
                                  RunProgress& progress) {
    e.method = level > 0 ? 8 : 0;
    e.flags = uint16_t((level > 0 ? levelFlags(level) : 0) | nameFlags(e.name));
    e.versionNeeded = level > 0 ? 20 : 10;
    // Sizes are known only after the data; a file that may reach 4 GiB gets room for them in
    // a local ZIP64 field.
    l.zip64Local = needsZip64(level > 0 ? deflateLimit(size) : size);
    const uint64_t headerAt = offset_;
    ZipResult r = writeLocalHeader(e, l, std::string());
    if (r != ZipResult::Ok) return r;
    r = level > 0 ? deflateStream(source, e, l, level, progress) : storeStream(source, e, l, progress);
    if (r != ZipResult::Ok) return r;
    if (level > 0 && l.compressedSize >= l.originalSize) {
        // Deflating did not pay (data compressed already): the item is written again, stored,
        // over what was written, so that no archive is larger than its files need.
        if (!source.seek(0)) return ZipResult::ReadFailed;
        if (!file_->seek(headerAt)) return ZipResult::WriteFailed;
        offset_ = headerAt;
        e.method = 0;
        e.flags = nameFlags(e.name);
        e.versionNeeded = 10;
        l.zip64Local = needsZip64(size);
        r = writeLocalHeader(e, l, std::string());
        if (r != ZipResult::Ok) return r;
        r = storeStream(source, e, l, progress, true);
        if (r != ZipResult::Ok) return r;
        if (!file_->truncate()) return ZipResult::WriteFailed;
    }
    if (l.sizesNeedZip64() && !l.zip64Local) return ZipResult::TooLarge;  // grew while read
    const std::string fields = localCrcAndSizes(e, l);
    const uint64_t end = offset_;
    if (!file_->seek(headerAt + kLocalCrcAt) || !file_->write(fields.data(), fields.size()))
        return ZipResult::WriteFailed;
    if (l.zip64Local) {
        const std::string values = localZip64Values(l);
        if (!file_->seek(headerAt + localZip64ValuesAt(e)) || !file_->write(values.data(), values.size()))
            return ZipResult::WriteFailed;
    }
    return file_->seek(end) ? ZipResult::Ok : ZipResult::WriteFailed;
}

ZipResult ZipWriter::addStreamed(FileSystem& fs, const std::string& sourcePath, const std::string& storedName,
                                 const FileStat& stat, int level, RunProgress& progress) {
    std::unique_ptr<ReadFile> source = fs.openRead(sourcePath);
    if (!source) return ZipResult::ReadFailed;
    ZipEntry e = fileEntry(storedName, stat);
    ItemLayout l;
    l.offset = offset_;
    const ZipResult r = addLargeFile(*source, source->size(), e, l, level, progress);
    if (r == ZipResult::Ok) central_.push_back(Written{e, l});
    return r;
}

ZipResult ZipWriter::copyItem(ZipArchive& source, const ZipEntry& entry) {
    std::string extra;
    ZipResult r = source.localExtra(entry, extra);
    if (r != ZipResult::Ok) return r;
    uint64_t dataAt = 0;
    r = source.dataOffset(entry, dataAt);
    if (r != ZipResult::Ok) return r;
    // The name stays as stored, with its UTF-8 flag and Unicode path field. ZIP64 fields are
    // written anew for what this copy needs: a local one only for sizes of 4 GiB and more, as
    // it tells streaming readers that the data descriptor holds 8-byte sizes.
    const ItemLayout l = copiedLayout(entry, offset_);
    r = writeLocalHeader(entry, l, extra);
    if (r != ZipResult::Ok) return r;
    if (!source.file().seek(dataAt)) return ZipResult::ArchiveDamaged;
    r = copyBytes(source.file(), l.compressedSize);
    if (r != ZipResult::Ok) return r;
    if (entry.flags & 0x0008) {
        // Readers that stream expect the descriptor the flag announces.
        const std::string d = dataDescriptor(entry, l);
        if (!write(d.data(), d.size())) return ZipResult::WriteFailed;
    }
    central_.push_back(Written{entry, l});
    return ZipResult::Ok;
}

ZipResult ZipWriter::finish(const std::string& comment) {
    const uint64_t centralAt = offset_;
    std::string block;
    for (const Written& w : central_) {
        block += centralRecord(w.entry, w.layout);
        if (block.size() >= kChunk) {
            if (!write(block.data(), block.size())) return ZipResult::WriteFailed;
            block.clear();
        }
    }
    if (!block.empty() && !write(block.data(), block.size())) return ZipResult::WriteFailed;
    const std::string end = directoryEnd(central_.size(), offset_ - centralAt, centralAt, offset_, comment);
    if (!write(end.data(), end.size())) return ZipResult::WriteFailed;
    return file_->close() ? ZipResult::Ok : ZipResult::WriteFailed;
}

}  // namespace zipcore
