#include "toolkit/zipcore/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "toolkit/zipcore/byte_order.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/extra_fields.h"
#include "toolkit/zipcore/joined_volumes.h"

namespace zipcore {

namespace {

constexpr uint64_t kMaxCentralDirectory = 128ull * 1024 * 1024;
constexpr size_t kInputBufferSize = 256 * 1024;
constexpr uint16_t kHostUnix = 3;
constexpr uint32_t kZip64EndSig = 0x06064b50;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kZip64LocatorSize = 20;
constexpr uint32_t kMarker32 = 0xFFFFFFFFu;
constexpr uint16_t kMarker16 = 0xFFFF;

uint64_t le64(const uint8_t* p) { return uint64_t(le32(p)) | (uint64_t(le32(p + 4)) << 32); }

bool readExactly(ReadFile& file, uint64_t position, void* buffer, size_t n) {
    if (!file.seek(position)) return false;
    auto* out = static_cast<uint8_t*>(buffer);
    while (n > 0) {
        size_t got = 0;
        if (!file.read(out, n, got) || got == 0) return false;
        out += got;
        n -= got;
    }
    return true;
}

// Finds the end record in the archive's tail. A record whose comment runs exactly to the end
// of the file wins over one found earlier: an archive comment may itself hold the signature.
bool findEndRecord(const std::vector<uint8_t>& tail, size_t& at) {
    if (tail.size() < kEndRecordSize) return false;
    bool found = false;
    for (size_t i = tail.size() - kEndRecordSize + 1; i-- > 0;) {
        if (le32(&tail[i]) != kEndRecordSig) continue;
        const size_t commentLength = le16(&tail[i + 20]);
        if (i + kEndRecordSize + commentLength == tail.size()) {
            at = i;
            return true;
        }
        if (!found && i + kEndRecordSize + commentLength <= tail.size()) {
            at = i;
            found = true;
        }
    }
    return found;
}

// The name of an Info-ZIP Unicode path extra field, used only while it still belongs to the
// header's name: a tool that renamed the item without knowing the field left its CRC behind.
bool unicodePathName(const std::string& extra, const std::string& headerName, std::string& utf8) {
    std::string block;
    if (!findExtraBlock(extra, kUnicodePathExtraId, block) || block.size() < 6 || block[0] != 1) return false;
    const uint32_t stored = le32(reinterpret_cast<const uint8_t*>(block.data()) + 1);
    const uint32_t actual =
        uint32_t(crc32(0, reinterpret_cast<const Bytef*>(headerName.data()), uInt(headerName.size())));
    if (stored != actual) return false;
    utf8.assign(block, 5, std::string::npos);
    return true;
}

}  // namespace

bool ZipEntry::isDirectory() const {
    if (endsWithSeparator(name)) return true;
    if ((versionMadeBy >> 8) == kHostUnix && ((externalAttributes >> 16) & 0170000) == 0040000)
        return true;
    return (externalAttributes & 0x10) != 0 && originalSize == 0;
}

uint32_t ZipEntry::dosAttributes() const {
    uint32_t bits = externalAttributes & 0x3F;
    if ((versionMadeBy >> 8) == kHostUnix) {
        const uint32_t mode = externalAttributes >> 16;
        if (mode != 0 && (mode & 0200) == 0) bits |= AttrReadOnly;
    }
    if (isDirectory()) bits |= AttrDirectory;
    return bits;
}

ZipResult ZipArchive::open(FileSystem& fs, const std::string& path) {
    std::unique_ptr<ReadFile> file = fs.openRead(path);
    if (!file) return ZipResult::ArchiveNotFound;
    return openFile(std::move(file), nullptr, path);
}

ZipResult ZipArchive::open(std::unique_ptr<ReadFile> file) {
    return openFile(std::move(file), nullptr, std::string());
}

ZipResult ZipArchive::openSplit(FileSystem& fs, const std::string& path) {
    std::unique_ptr<ReadFile> file = fs.openRead(path);
    if (!file) return ZipResult::ArchiveNotFound;
    return openFile(std::move(file), &fs, path);
}

// Where the central directory is and what it holds, from the end record and, when the
// archive has them, the ZIP64 end record and its locator.
struct ZipArchive::EndRecord {
    uint64_t entries = 0;
    bool entriesKnown = true;  // false: the directory is read to its end
    uint64_t centralSize = 0;
    uint64_t centralOffset = 0;  // as stored: within its volume, before any prefix
    bool offsetKnown = true;
    uint64_t centralEnd = 0;     // file position of the record that follows the directory
    // Volume numbers: the highest any record claims for itself (the last volume), and the one
    // where the directory starts. Nonzero only in split archives.
    uint32_t lastDisk = 0;
    uint32_t centralDisk = 0;
    bool entriesAllHere = true;  // the end record counts every item on its own volume
    bool zip64 = false;          // the counts come from a ZIP64 end record (no wrapping)
};

ZipResult ZipArchive::openFile(std::unique_ptr<ReadFile> file, FileSystem* volumesFrom, const std::string& path) {
    file_ = std::move(file);
    volumes_ = nullptr;
    missingVolume_.clear();
    entries_.clear();
    comment_.clear();
    prefix_ = 0;
    centralStart_ = 0;
    if (file_->size() < kEndRecordSize) return ZipResult::NotAnArchive;
    EndRecord end;
    ZipResult r = readEndRecords(file_->size(), end);
    if (r != ZipResult::Ok) return r;
    if (end.lastDisk != 0) {
        if (!volumesFrom) return ZipResult::Zip64Unsupported;
        if (end.lastDisk >= kMaxSplitVolumes) return ZipResult::ArchiveDamaged;
        // The end records are read again in the joined volumes: their offsets count from the
        // start of their own volume.
        std::unique_ptr<JoinedVolumes> set =
            JoinedVolumes::open(*volumesFrom, path, std::move(file_), end.lastDisk + 1, missingVolume_);
        if (!set) return ZipResult::Zip64Unsupported;
        volumes_ = set.get();
        file_ = std::move(set);
        const uint32_t lastDisk = end.lastDisk;
        end = EndRecord();
        r = readEndRecords(file_->size(), end);
        if (r != ZipResult::Ok) return r;
        if (end.lastDisk != lastDisk) return ZipResult::ArchiveDamaged;
    } else if (end.centralDisk != 0 || !end.entriesAllHere) {
        return ZipResult::Zip64Unsupported;
    }
    r = placeDirectory(end);
    if (r != ZipResult::Ok) return r;

    const size_t centralSize = size_t(end.centralSize);
    std::vector<uint8_t> central(centralSize);
    if (centralSize > 0 && !readExactly(*file_, centralStart_, central.data(), centralSize))
        return ZipResult::ArchiveDamaged;
    // Every header the directory holds is read, whatever the count says: writers that knew no
    // ZIP64 let the 16-bit count wrap past 65,535 items. The count must then agree modulo
    // 65,536 and the headers fill the directory; nothing is reserved from the count itself.
    size_t pos = 0;
    while (centralSize - pos >= 4 && le32(central.data() + pos) == kCentralHeaderSig) {
        ZipEntry e;
        size_t length = 0;
        r = readCentralHeader(central.data() + pos, centralSize - pos, e, length);
        if (r != ZipResult::Ok) return r;
        entries_.push_back(std::move(e));
        pos += length;
    }
    const uint64_t found = entries_.size();
    if (end.entriesKnown && found != end.entries) {
        const bool wrapped = !end.zip64 && found > 0xFFFF && (found & 0xFFFF) == end.entries && pos == centralSize;
        if (!wrapped) return ZipResult::ArchiveDamaged;
    }
    if (!end.entriesKnown && pos != centralSize) return ZipResult::ArchiveDamaged;
    return checkNoOverlap();
}

// Sets centralStart_ (and prefix_), checking that the directory lies before its end records.
ZipResult ZipArchive::placeDirectory(EndRecord& end) {
    if (end.centralSize > end.centralEnd) return ZipResult::ArchiveDamaged;
    if (volumes_) {
        // Split archives start with their first volume: no self-extractor stub.
        if (!end.offsetKnown) centralStart_ = end.centralEnd - end.centralSize;
        else if (!volumes_->position(end.centralDisk, end.centralOffset, centralStart_, true))
            return ZipResult::ArchiveDamaged;
        if (centralStart_ > end.centralEnd - end.centralSize) return ZipResult::ArchiveDamaged;
    } else {
        if (!end.offsetKnown) end.centralOffset = end.centralEnd - end.centralSize;
        if (end.centralOffset > end.centralEnd - end.centralSize) return ZipResult::ArchiveDamaged;
        // A self-extractor stub before the archive shifts every stored offset by its length.
        prefix_ = end.centralEnd - (end.centralOffset + end.centralSize);
        centralStart_ = prefix_ + end.centralOffset;
    }
    if (end.centralSize > kMaxCentralDirectory) return ZipResult::TooLarge;
    return ZipResult::Ok;
}

ZipResult ZipArchive::readEndRecords(uint64_t size, EndRecord& end) {
    const size_t tailSize = size_t(std::min<uint64_t>(size, kEndRecordSize + 0xFFFF));
    std::vector<uint8_t> tail(tailSize);
    if (!readExactly(*file_, size - tailSize, tail.data(), tailSize)) return ZipResult::ArchiveDamaged;
    size_t at = 0;
    if (!findEndRecord(tail, at)) return ZipResult::NotAnArchive;
    const uint8_t* record = &tail[at];
    const uint64_t endPos = size - tailSize + at;
    const size_t commentLength = std::min<size_t>(le16(record + 20), tailSize - at - kEndRecordSize);
    comment_.assign(reinterpret_cast<const char*>(record + kEndRecordSize), commentLength);

    bool zip64 = false;
    const ZipResult r = readZip64End(endPos, end, zip64);
    if (r != ZipResult::Ok || zip64) return r;

    const uint16_t disk = le16(record + 4), centralDisk = le16(record + 6);
    const uint16_t entriesHere = le16(record + 8), entriesTotal = le16(record + 10);
    end.lastDisk = std::max<uint32_t>(end.lastDisk, disk);
    end.centralDisk = centralDisk;
    end.entriesAllHere = entriesHere == entriesTotal;
    end.entries = entriesTotal;
    end.centralSize = le32(record + 12);
    end.centralOffset = le32(record + 16);
    end.centralEnd = endPos;
    // ZIP64 markers without a ZIP64 end record: Info-ZIP zip -fz writing to a pipe leaves
    // the directory's offset so. The directory then lies right before the end record.
    end.entriesKnown = entriesTotal != 0xFFFF;
    end.offsetKnown = end.centralOffset != 0xFFFFFFFFu;
    return ZipResult::Ok;
}

ZipResult ZipArchive::readZip64End(uint64_t endPos, EndRecord& end, bool& found) {
    found = false;
    if (endPos < kZip64LocatorSize) return ZipResult::Ok;
    const uint64_t locatorPos = endPos - kZip64LocatorSize;
    uint8_t locator[kZip64LocatorSize];
    if (!readExactly(*file_, locatorPos, locator, sizeof locator)) return ZipResult::ArchiveDamaged;
    if (le32(locator) != kZip64LocatorSig) return ZipResult::Ok;
    const uint32_t recordDisk = le32(locator + 4), disks = le32(locator + 16);
    end.lastDisk = std::max({end.lastDisk, recordDisk, disks > 0 ? disks - 1 : 0});
    // The locator's offset counts from the start of the record's volume and not a
    // self-extractor stub; the record then usually ends right at the locator.
    uint64_t stated = le64(locator + 8);
    if (volumes_ && !volumes_->position(recordDisk, stated, stated)) stated = locatorPos;
    const uint64_t candidates[2] = {stated, locatorPos >= kZip64EndSize ? locatorPos - kZip64EndSize : locatorPos};
    uint8_t record[kZip64EndSize];
    for (uint64_t at : candidates) {
        if (at > locatorPos || locatorPos - at < kZip64EndSize) continue;
        if (!readExactly(*file_, at, record, sizeof record)) return ZipResult::ArchiveDamaged;
        if (le32(record) != kZip64EndSig) continue;
        const uint64_t remaining = le64(record + 4);
        if (remaining < kZip64EndSize - 12 || remaining > locatorPos - at - 12) continue;
        end.lastDisk = std::max(end.lastDisk, le32(record + 16));
        end.centralDisk = le32(record + 20);
        end.entriesAllHere = le64(record + 24) == le64(record + 32);
        end.entries = le64(record + 32);
        end.centralSize = le64(record + 40);
        end.centralOffset = le64(record + 48);
        end.centralEnd = at;
        end.zip64 = true;
        found = true;
        return ZipResult::Ok;
    }
    // A locator without its record: what the end record says has to do.
    return ZipResult::Ok;
}

ZipResult ZipArchive::readCentralHeader(const uint8_t* h, size_t available, ZipEntry& e, size_t& length) const {
    if (available < kCentralHeaderSize) return ZipResult::ArchiveDamaged;
    if (le32(h) != kCentralHeaderSig) return ZipResult::ArchiveDamaged;
    e.versionMadeBy = le16(h + 4);
    e.versionNeeded = le16(h + 6);
    e.flags = le16(h + 8);
    e.method = le16(h + 10);
    e.dosTime = le16(h + 12);
    e.dosDate = le16(h + 14);
    e.crc32 = le32(h + 16);
    const size_t nameLength = le16(h + 28), extraLength = le16(h + 30), commentLen = le16(h + 32);
    e.internalAttributes = le16(h + 36);
    e.externalAttributes = le32(h + 38);
    const size_t variable = nameLength + extraLength + commentLen;
    if (available - kCentralHeaderSize < variable) return ZipResult::ArchiveDamaged;
    length = kCentralHeaderSize + variable;
    const char* v = reinterpret_cast<const char*>(h + kCentralHeaderSize);
    e.rawName.assign(v, nameLength);
    e.extra.assign(v + nameLength, extraLength);
    e.comment.assign(v + nameLength + extraLength, commentLen);

    uint64_t compressed = le32(h + 20), original = le32(h + 24), offset = le32(h + 42);
    uint32_t disk = le16(h + 34);
    if (original == kMarker32 || compressed == kMarker32 || offset == kMarker32 || disk == kMarker16) {
        // Only the fields whose header value is the marker are present, in this order.
        std::string z;
        const bool hasZip64 = findExtraBlock(e.extra, kZip64ExtraId, z);
        size_t at = 0;
        auto take = [&](uint64_t& value, size_t width) {
            if (!hasZip64 || z.size() - at < width) return false;
            const uint8_t* p = reinterpret_cast<const uint8_t*>(z.data()) + at;
            value = width == 8 ? le64(p) : le32(p);
            at += width;
            return true;
        };
        if (original == kMarker32 && !take(original, 8)) return ZipResult::ArchiveDamaged;
        if (compressed == kMarker32 && !take(compressed, 8)) return ZipResult::ArchiveDamaged;
        if (offset == kMarker32 && !take(offset, 8)) return ZipResult::ArchiveDamaged;
        uint64_t disk64 = disk;
        if (disk == kMarker16 && take(disk64, 4)) disk = uint32_t(disk64);
    }
    if (disk != 0 && !volumes_) return ZipResult::Zip64Unsupported;
    e.disk = disk;
    e.localHeaderOffset = offset;
    uint64_t position = 0;
    if (!headerPosition(e, position) || position > centralStart_ || centralStart_ - position < kLocalHeaderSize)
        return ZipResult::ArchiveDamaged;
    // Sizes past 32 bits are bounded here by the bytes present; smaller ones when read.
    if (compressed >= kMarker32 && compressed > centralStart_ - position - kLocalHeaderSize)
        return ZipResult::ArchiveDamaged;
    e.compressedSize = compressed;
    e.originalSize = original;

    std::string utf8;
    if (e.utf8Name()) e.name = validUtf8Name(e.rawName);
    else if (unicodePathName(e.extra, e.rawName, utf8)) e.name = validUtf8Name(utf8);
    else e.name = legacyItemName(e.rawName, uint8_t(e.versionMadeBy >> 8));
    return ZipResult::Ok;
}

bool ZipArchive::headerPosition(const ZipEntry& e, uint64_t& position) const {
    if (volumes_) return volumes_->position(e.disk, e.localHeaderOffset, position);
    if (e.disk != 0 || e.localHeaderOffset >= file_->size() - prefix_) return false;
    position = prefix_ + e.localHeaderOffset;
    return true;
}

// Items whose data overlap let a small archive expand to far more than its size ("zip bomb");
// no tool writes them, so they are refused.
ZipResult ZipArchive::checkNoOverlap() const {
    std::vector<std::pair<uint64_t, const ZipEntry*>> order;
    order.reserve(entries_.size());
    for (const ZipEntry& e : entries_) {
        uint64_t position = 0;
        if (!headerPosition(e, position)) return ZipResult::ArchiveDamaged;
        order.emplace_back(position, &e);
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    uint64_t end = 0;
    for (const auto& item : order) {
        if (item.first < end) return ZipResult::ArchiveDamaged;
        end = item.first + kLocalHeaderSize + item.second->headerName().size() + item.second->compressedSize;
    }
    return ZipResult::Ok;
}

ZipResult ZipArchive::readLocalHeader(const ZipEntry& entry, uint64_t& dataStart,
                                      uint16_t& extraLength) {
    uint8_t h[kLocalHeaderSize];
    uint64_t at = 0;
    if (!headerPosition(entry, at) || !readExactly(*file_, at, h, sizeof h)) return ZipResult::ArchiveDamaged;
    if (le32(h) != kLocalHeaderSig) return ZipResult::ArchiveDamaged;
    extraLength = le16(h + 28);
    dataStart = at + kLocalHeaderSize + le16(h + 26) + extraLength;
    // Item data must end before the central directory starts.
    if (dataStart + entry.compressedSize > centralStart_) return ZipResult::ArchiveDamaged;
    return ZipResult::Ok;
}

ZipResult ZipArchive::dataOffset(const ZipEntry& entry, uint64_t& offset) {
    uint16_t extraLength = 0;
    return readLocalHeader(entry, offset, extraLength);
}

ZipResult ZipArchive::localExtra(const ZipEntry& entry, std::string& extra) {
    uint64_t dataStart = 0;
    uint16_t extraLength = 0;
    const ZipResult r = readLocalHeader(entry, dataStart, extraLength);
    if (r != ZipResult::Ok) return r;
    extra.assign(extraLength, '\0');
    if (extraLength > 0 && !readExactly(*file_, dataStart - extraLength, &extra[0], extraLength))
        return ZipResult::ArchiveDamaged;
    return ZipResult::Ok;
}

struct ItemReader::Inflater {
    z_stream stream{};
    bool ready = false;
    ~Inflater() {
        if (ready) inflateEnd(&stream);
    }
};

ItemReader::ItemReader() = default;
ItemReader::~ItemReader() = default;

ZipResult ItemReader::open(ZipArchive& archive, const ZipEntry& entry, const std::string& password) {
    archive_ = &archive;
    entry_ = &entry;
    inflater_.reset();
    keys_.reset();
    produced_ = 0;
    crc_ = 0;
    finished_ = false;
    fileFailed_ = false;
    inputPos_ = inputEnd_ = 0;
    if (entry.method != 0 && entry.method != 8) return ZipResult::UnsupportedMethod;
    // Bit 6: strong encryption; bit 13: masked local headers. Neither can be read here.
    if (entry.flags & (0x0040 | 0x2000)) return ZipResult::UnsupportedMethod;
    ZipResult r = archive.dataOffset(entry, filePos_);
    if (r != ZipResult::Ok) return r;
    remainingInput_ = entry.compressedSize;
    if (input_.empty()) input_.resize(kInputBufferSize);

    if (entry.encrypted()) {
        if (password.empty()) return ZipResult::BadPassword;
        if (remainingInput_ < 12) return ZipResult::ArchiveDamaged;
        uint8_t header[12];
        if (!readExactly(archive.file(), filePos_, header, sizeof header)) return ZipResult::ArchiveDamaged;
        filePos_ += 12;
        remainingInput_ -= 12;
        keys_ = std::make_unique<PkwareKeys>(password);
        keys_->decrypt(header, sizeof header);
        // With a data descriptor the check byte comes from the time, as the CRC was not known.
        const uint8_t check = (entry.flags & 0x0008) ? uint8_t(entry.dosTime >> 8) : uint8_t(entry.crc32 >> 24);
        if (header[11] != check) return ZipResult::BadPassword;
    }
    if (entry.method == 0) {
        if (remainingInput_ != entry.originalSize) return ZipResult::ArchiveDamaged;
    } else {
        inflater_ = std::make_unique<Inflater>();
        if (inflateInit2(&inflater_->stream, -MAX_WBITS) != Z_OK) return ZipResult::ArchiveDamaged;
        inflater_->ready = true;
    }
    return ZipResult::Ok;
}

ZipResult ItemReader::refill() {
    const size_t n = size_t(std::min<uint64_t>(remainingInput_, input_.size()));
    if (n == 0) return ZipResult::ArchiveDamaged;
    if (!readExactly(archive_->file(), filePos_, input_.data(), n)) {
        fileFailed_ = true;
        return ZipResult::ArchiveDamaged;
    }
    filePos_ += n;
    remainingInput_ -= n;
    if (keys_) keys_->decrypt(input_.data(), n);
    inputPos_ = 0;
    inputEnd_ = n;
    return ZipResult::Ok;
}

ZipResult ItemReader::read(uint8_t* buffer, size_t capacity, size_t& got) {
    const ZipResult r = readData(buffer, capacity, got);
    // Damage to an encrypted item's data reads the same as a wrong password that slipped past
    // the check byte, and is far rarer.
    if (keys_ && !fileFailed_ && (r == ZipResult::ArchiveDamaged || r == ZipResult::CrcMismatch))
        return ZipResult::BadPassword;
    return r;
}

ZipResult ItemReader::readData(uint8_t* buffer, size_t capacity, size_t& got) {
    got = 0;
    if (!entry_) return ZipResult::BadArgument;
    if (finished_ || capacity == 0) return ZipResult::Ok;
    const uint64_t left = entry_->originalSize - produced_;

    if (!inflater_) {
        const size_t want = size_t(std::min<uint64_t>(capacity, left));
        while (got < want) {
            if (inputPos_ == inputEnd_) {
                const ZipResult r = refill();
                if (r != ZipResult::Ok) return r;
            }
            const size_t n = std::min(want - got, inputEnd_ - inputPos_);
            std::memcpy(buffer + got, &input_[inputPos_], n);
            inputPos_ += n;
            got += n;
        }
    } else {
        z_stream& z = inflater_->stream;
        // One byte more than the item may hold, so that an overlong stream is caught (a size
        // of 2^64 - 1 leaves no room to add it to).
        const size_t room = left >= capacity ? capacity : size_t(left) + 1;
        z.next_out = buffer;
        z.avail_out = unsigned(room);
        while (z.avail_out == room) {
            if (inputPos_ == inputEnd_ && remainingInput_ > 0) {
                const ZipResult r = refill();
                if (r != ZipResult::Ok) return r;
            }
            z.next_in = &input_[inputPos_];
            z.avail_in = unsigned(inputEnd_ - inputPos_);
            const int rc = inflate(&z, Z_NO_FLUSH);
            inputPos_ = inputEnd_ - z.avail_in;
            if (rc == Z_STREAM_END) {
                finished_ = true;
                break;
            }
            if (rc == Z_BUF_ERROR && inputPos_ == inputEnd_ && remainingInput_ == 0)
                return ZipResult::ArchiveDamaged;  // stream ends before its end block
            if (rc != Z_OK && rc != Z_BUF_ERROR) return ZipResult::ArchiveDamaged;
        }
        got = room - z.avail_out;
        if (got > left) return ZipResult::CrcMismatch;
    }
    crc_ = uint32_t(crc32(crc_, buffer, unsigned(got)));
    produced_ += got;
    if (!inflater_ && produced_ == entry_->originalSize) finished_ = true;
    if (finished_ && (produced_ != entry_->originalSize || crc_ != entry_->crc32))
        return ZipResult::CrcMismatch;
    return ZipResult::Ok;
}

}  // namespace zipcore
