#include "toolkit/zipcore/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "toolkit/zipcore/byte_order.h"
#include "toolkit/zipcore/extra_fields.h"
#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

namespace {

constexpr size_t kChunk = 256 * 1024;
// Files up to this size are compressed in memory first, so that stored can win when
// deflating would make them bigger.
constexpr uint64_t kInMemoryLimit = 1024 * 1024;
constexpr uint16_t kMadeByFat20 = 20;
constexpr uint64_t kMaxOffset = 0xFFFFFFFEull;
constexpr size_t kMaxItems = 0xFFFE;

struct Deflater {
    z_stream z{};
    bool ready = false;
    explicit Deflater(int level) {
        ready = deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ready) deflateEnd(&z);
    }
};

uint16_t levelFlags(int level) {
    // Bits 1-2 tell readers which deflate option was used.
    if (level >= 8) return 0x0002;
    if (level == 2) return 0x0004;
    if (level == 1) return 0x0006;
    return 0;
}

}  // namespace

std::string localHeader(const ZipEntry& e, const std::string& extra) {
    std::string h;
    h.reserve(kLocalHeaderSize + e.name.size() + extra.size());
    put32(h, kLocalHeaderSig);
    put16(h, e.versionNeeded);
    put16(h, e.flags);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    put32(h, e.crc32);
    put32(h, e.compressedSize);
    put32(h, e.originalSize);
    put16(h, uint16_t(e.headerName().size()));
    put16(h, uint16_t(extra.size()));
    h += e.headerName();
    h += extra;
    return h;
}

std::string centralRecord(const ZipEntry& e, uint16_t disk, uint32_t offset) {
    std::string h;
    put32(h, kCentralHeaderSig);
    put16(h, e.versionMadeBy);
    put16(h, e.versionNeeded);
    put16(h, e.flags);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    put32(h, e.crc32);
    put32(h, e.compressedSize);
    put32(h, e.originalSize);
    put16(h, uint16_t(e.headerName().size()));
    put16(h, uint16_t(e.extra.size()));
    put16(h, uint16_t(e.comment.size()));
    put16(h, disk);
    put16(h, e.internalAttributes);
    put32(h, e.externalAttributes);
    put32(h, offset);
    h += e.headerName();
    h += e.extra;
    h += e.comment;
    return h;
}

ZipWriter::ZipWriter() = default;
ZipWriter::~ZipWriter() = default;

bool ZipWriter::write(const void* data, size_t n) {
    if (!file_->write(data, n)) return false;
    offset_ += n;
    return true;
}

ZipResult ZipWriter::create(FileSystem& fs, const std::string& path) {
    file_ = fs.create(path);
    if (!file_) return ZipResult::CreateFailed;
    in_.resize(kChunk);
    out_.resize(kChunk);
    return ZipResult::Ok;
}

ZipResult ZipWriter::writeLocalHeader(const ZipEntry& e, const std::string& extra) {
    if (central_.size() >= kMaxItems || offset_ > kMaxOffset) return ZipResult::TooLarge;
    if (e.headerName().size() > 0xFFFF || extra.size() > 0xFFFF) return ZipResult::TooLarge;
    const std::string h = localHeader(e, extra);
    return write(h.data(), h.size()) ? ZipResult::Ok : ZipResult::WriteFailed;
}

ZipResult ZipWriter::addFolder(const std::string& storedName, const FileStat& stat) {
    ZipEntry e;
    e.versionMadeBy = kMadeByFat20;
    e.versionNeeded = 20;
    e.name = storedName;
    if (e.name.empty() || e.name.back() != '/') e.name.push_back('/');
    e.dosDate = stat.modified.date;
    e.dosTime = stat.modified.time;
    e.externalAttributes = (stat.attributes & 0x3F) | AttrDirectory;
    e.localHeaderOffset = uint32_t(offset_);
    const ZipResult r = writeLocalHeader(e, std::string());
    if (r == ZipResult::Ok) central_.push_back(e);
    return r;
}

ZipResult ZipWriter::storeStream(ReadFile& source, ZipEntry& e, RunProgress& progress) {
    uint32_t crc = 0;
    uint64_t total = 0;
    for (;;) {
        size_t got = 0;
        if (!source.read(in_.data(), in_.size(), got)) return ZipResult::ReadFailed;
        if (got == 0) break;
        crc = uint32_t(crc32(crc, in_.data(), unsigned(got)));
        total += got;
        if (total > kMaxOffset) return ZipResult::TooLarge;
        if (!write(in_.data(), got)) return ZipResult::WriteFailed;
        if (!progress.advance(got)) return ZipResult::Cancelled;
    }
    e.crc32 = crc;
    e.compressedSize = e.originalSize = uint32_t(total);
    return ZipResult::Ok;
}

ZipResult ZipWriter::deflateStream(ReadFile& source, ZipEntry& e, int level, RunProgress& progress) {
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
        if (total > kMaxOffset) return ZipResult::TooLarge;
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
    if (packed > kMaxOffset) return ZipResult::TooLarge;
    e.crc32 = crc;
    e.originalSize = uint32_t(total);
    e.compressedSize = uint32_t(packed);
    return ZipResult::Ok;
}

ZipResult ZipWriter::addFile(FileSystem& fs, const std::string& sourcePath, const std::string& storedName,
                             const FileStat& stat, int level, RunProgress& progress) {
    std::unique_ptr<ReadFile> source = fs.openRead(sourcePath);
    if (!source) return ZipResult::ReadFailed;
    const uint64_t size = source->size();
    if (size > kMaxOffset) return ZipResult::TooLarge;

    ZipEntry e;
    e.versionMadeBy = kMadeByFat20;
    e.name = storedName;
    e.dosDate = stat.modified.date;
    e.dosTime = stat.modified.time;
    e.externalAttributes = stat.attributes & 0x3F & ~uint32_t(AttrDirectory);
    e.localHeaderOffset = uint32_t(offset_);

    if (size <= kInMemoryLimit) {
        std::vector<uint8_t> data;
        data.reserve(size_t(size));
        for (;;) {
            size_t got = 0;
            if (!source->read(in_.data(), in_.size(), got)) return ZipResult::ReadFailed;
            if (got == 0) break;
            if (data.size() + got > kInMemoryLimit * 2) return ZipResult::ReadFailed;  // grew while read
            data.insert(data.end(), in_.begin(), in_.begin() + long(got));
        }
        e.originalSize = uint32_t(data.size());
        e.crc32 = uint32_t(crc32(0, data.data(), unsigned(data.size())));
        std::vector<uint8_t> packed;
        if (level > 0 && !data.empty()) {
            Deflater d(level);
            if (!d.ready) return ZipResult::BadArgument;
            packed.resize(deflateBound(&d.z, uLong(data.size())));
            d.z.next_in = data.data();
            d.z.avail_in = unsigned(data.size());
            d.z.next_out = packed.data();
            d.z.avail_out = unsigned(packed.size());
            if (deflate(&d.z, Z_FINISH) != Z_STREAM_END) return ZipResult::WriteFailed;
            packed.resize(packed.size() - d.z.avail_out);
        }
        const bool deflated = level > 0 && !data.empty() && packed.size() < data.size();
        e.method = deflated ? 8 : 0;
        e.flags = deflated ? levelFlags(level) : 0;
        e.versionNeeded = deflated ? 20 : 10;
        const std::vector<uint8_t>& body = deflated ? packed : data;
        e.compressedSize = uint32_t(body.size());
        ZipResult r = writeLocalHeader(e, std::string());
        if (r != ZipResult::Ok) return r;
        if (!body.empty() && !write(body.data(), body.size())) return ZipResult::WriteFailed;
        if (!progress.advance(data.size())) return ZipResult::Cancelled;
    } else {
        e.method = level > 0 ? 8 : 0;
        e.flags = level > 0 ? levelFlags(level) : 0;
        e.versionNeeded = level > 0 ? 20 : 10;
        const uint64_t headerAt = offset_;
        ZipResult r = writeLocalHeader(e, std::string());
        if (r != ZipResult::Ok) return r;
        r = level > 0 ? deflateStream(*source, e, level, progress) : storeStream(*source, e, progress);
        if (r != ZipResult::Ok) return r;
        // Sizes and CRC are known only now: patch them into the local header.
        std::string fields;
        put32(fields, e.crc32);
        put32(fields, e.compressedSize);
        put32(fields, e.originalSize);
        const uint64_t end = offset_;
        if (!file_->seek(headerAt + 14) || !file_->write(fields.data(), fields.size()) || !file_->seek(end))
            return ZipResult::WriteFailed;
    }
    if (offset_ > kMaxOffset) return ZipResult::TooLarge;
    central_.push_back(e);
    return ZipResult::Ok;
}

ZipResult ZipWriter::copyItem(ZipArchive& source, const ZipEntry& entry) {
    std::string extra;
    ZipResult r = source.localExtra(entry, extra);
    if (r != ZipResult::Ok) return r;
    uint64_t dataAt = 0;
    r = source.dataOffset(entry, dataAt);
    if (r != ZipResult::Ok) return r;
    // The copy is a plain 32-bit item (the reader refuses items too large for one), so ZIP64
    // fields go: a local ZIP64 field would tell streaming readers that the data descriptor
    // holds 8-byte sizes, and a central one would hold values the header no longer marks.
    // The name stays as stored, with its UTF-8 flag and Unicode path field.
    ZipEntry e = entry;
    e.localHeaderOffset = offset_;
    e.extra = withoutExtraBlock(entry.extra, kZip64ExtraId);
    extra = withoutExtraBlock(extra, kZip64ExtraId);
    r = writeLocalHeader(e, extra);
    if (r != ZipResult::Ok) return r;
    ReadFile& in = source.file();
    if (!in.seek(dataAt)) return ZipResult::ArchiveDamaged;
    uint64_t left = entry.compressedSize;
    while (left > 0) {
        size_t got = 0;
        const size_t want = size_t(std::min<uint64_t>(left, in_.size()));
        if (!in.read(in_.data(), want, got) || got == 0) return ZipResult::ArchiveDamaged;
        if (!write(in_.data(), got)) return ZipResult::WriteFailed;
        left -= got;
    }
    if (e.flags & 0x0008) {
        // Readers that stream expect the descriptor the flag announces.
        std::string d;
        put32(d, kDataDescriptorSig);
        put32(d, e.crc32);
        put32(d, e.compressedSize);
        put32(d, e.originalSize);
        if (!write(d.data(), d.size())) return ZipResult::WriteFailed;
    }
    if (offset_ > kMaxOffset) return ZipResult::TooLarge;
    central_.push_back(e);
    return ZipResult::Ok;
}

ZipResult ZipWriter::finish(const std::string& comment) {
    const uint64_t centralAt = offset_;
    std::string block;
    for (const ZipEntry& e : central_) {
        block += centralRecord(e, 0, uint32_t(e.localHeaderOffset));
        if (block.size() >= kChunk) {
            if (!write(block.data(), block.size())) return ZipResult::WriteFailed;
            block.clear();
        }
    }
    if (!block.empty() && !write(block.data(), block.size())) return ZipResult::WriteFailed;
    const uint64_t centralSize = offset_ - centralAt;
    if (offset_ > kMaxOffset) return ZipResult::TooLarge;
    std::string end;
    put32(end, kEndRecordSig);
    put16(end, 0);
    put16(end, 0);
    put16(end, uint16_t(central_.size()));
    put16(end, uint16_t(central_.size()));
    put32(end, uint32_t(centralSize));
    put32(end, uint32_t(centralAt));
    const std::string kept = comment.substr(0, 0xFFFF);
    put16(end, uint16_t(kept.size()));
    end += kept;
    if (!write(end.data(), end.size())) return ZipResult::WriteFailed;
    return file_->close() ? ZipResult::Ok : ZipResult::WriteFailed;
}

}  // namespace zipcore
