// Reads the central directory of a ZIP archive and streams item data (stored or deflated,
// optionally with traditional PKWARE encryption), checking size and CRC-32. ZIP64 records and
// extra fields are read; sizes always come from the central directory, so data descriptors
// (streamed archives) need no reading. Split archives are read through their volumes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/zipcore/name_coding.h"
#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/pkware_crypt.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

class JoinedVolumes;

struct ZipEntry {
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint64_t compressedSize = 0;
    uint64_t originalSize = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0;  // as stored; the reader adds any leading prefix itself
    uint32_t disk = 0;               // volume of the local header (split archives)
    // The name the engine works with, in UTF-8: as stored under flag bit 11 or in a matching
    // Unicode path extra field, else decoded as legacyItemName does. Bytes that are no
    // character show as kUnrepresentableChar, which no extraction accepts.
    std::string name;
    // The name's bytes as the headers hold them (empty: same as name); copies keep them.
    std::string rawName;
    std::string extra;
    std::string comment;

    bool encrypted() const { return (flags & 0x0001) != 0; }
    bool utf8Name() const { return (flags & 0x0800) != 0; }
    const std::string& headerName() const { return rawName.empty() ? name : rawName; }
    bool isDirectory() const;
    // DOS attribute bits 0x01..0x20 from the external attributes and host system.
    uint32_t dosAttributes() const;
};

class ZipArchive {
public:
    // Reads the end record (ZIP64 end record and locator too) and the central directory. The
    // file stays open. The archive must lie in this one file: a split archive's last volume
    // gives Zip64Unsupported.
    ZipResult open(FileSystem& fs, const std::string& path);
    // Same over an already opened file (the archive takes ownership).
    ZipResult open(std::unique_ptr<ReadFile> file);
    // As open, and when the file is the last volume of a split archive, its other volumes
    // (name.z01, name.z02, ... beside it) are read with it. A volume that does not exist gives
    // Zip64Unsupported and missingVolume() names it. fs must outlive the archive.
    ZipResult openSplit(FileSystem& fs, const std::string& path);
    const std::string& missingVolume() const { return missingVolume_; }
    bool split() const { return volumes_ != nullptr; }

    const std::vector<ZipEntry>& entries() const { return entries_; }
    const std::string& comment() const { return comment_; }
    // Byte position of the item's data (after the local header) in file(), checked to lie
    // within it.
    ZipResult dataOffset(const ZipEntry& entry, uint64_t& offset);
    // The raw local extra field of the item (for copying items into a new archive).
    ZipResult localExtra(const ZipEntry& entry, std::string& extra);
    // The archive's bytes; for a split archive, its volumes one after the other.
    ReadFile& file() { return *file_; }
    // Bytes before the archive proper (self-extractor stub), added to every stored offset.
    uint64_t prefix() const { return prefix_; }
    // File position of the central directory.
    uint64_t centralStart() const { return centralStart_; }

private:
    struct EndRecord;
    ZipResult openFile(std::unique_ptr<ReadFile> file, FileSystem* volumesFrom, const std::string& path);
    ZipResult readEndRecords(uint64_t size, EndRecord& end);
    ZipResult readZip64End(uint64_t endPos, EndRecord& end, bool& found);
    ZipResult placeDirectory(EndRecord& end);
    ZipResult readCentralHeader(const uint8_t* h, size_t available, ZipEntry& e, size_t& length) const;
    // Position in file() of a local header (false when it lies outside its volume).
    bool headerPosition(const ZipEntry& e, uint64_t& position) const;
    ZipResult checkNoOverlap() const;
    ZipResult readLocalHeader(const ZipEntry& entry, uint64_t& dataStart, uint16_t& extraLength);

    std::unique_ptr<ReadFile> file_;
    JoinedVolumes* volumes_ = nullptr;  // file_ itself when the archive is split
    std::string missingVolume_;
    std::vector<ZipEntry> entries_;
    std::string comment_;
    uint64_t prefix_ = 0;
    uint64_t centralStart_ = 0;
};

// Streams one item's uncompressed bytes. Decrypts, inflates and counts the CRC; the data is
// never allowed to grow past the item's declared size.
class ItemReader {
public:
    ItemReader();
    ~ItemReader();
    ItemReader(const ItemReader&) = delete;
    ItemReader& operator=(const ItemReader&) = delete;

    // password is used only when the item is encrypted; BadPassword when it is missing or
    // fails the check byte.
    ZipResult open(ZipArchive& archive, const ZipEntry& entry, const std::string& password);
    // Fills up to capacity bytes; got == 0 with Ok means the item is complete and its CRC and
    // size were found correct. Data of an encrypted item that fails to inflate or to match its
    // CRC gives BadPassword: one wrong password in 256 passes the check byte.
    ZipResult read(uint8_t* buffer, size_t capacity, size_t& got);
    uint64_t produced() const { return produced_; }

private:
    ZipResult readData(uint8_t* buffer, size_t capacity, size_t& got);
    ZipResult refill();

    struct Inflater;
    ZipArchive* archive_ = nullptr;
    const ZipEntry* entry_ = nullptr;
    std::unique_ptr<Inflater> inflater_;
    std::vector<uint8_t> input_;
    size_t inputPos_ = 0, inputEnd_ = 0;
    uint64_t remainingInput_ = 0;  // compressed bytes not yet read from the file
    uint64_t filePos_ = 0;
    uint64_t produced_ = 0;
    uint32_t crc_ = 0;
    bool finished_ = false;
    bool fileFailed_ = false;  // the archive could not be read, whatever the password
    std::unique_ptr<PkwareKeys> keys_;  // set for encrypted items
};

}  // namespace zipcore
