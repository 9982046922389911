// Header records as the writers lay them down. A value that does not fit its 32-bit (16-bit)
// field goes into a ZIP64 field or record and the field holds the marker; archives whose
// values all fit are written without any ZIP64 record.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/zipcore/zip_reader.h"

namespace zipcore {

constexpr uint64_t kZip64Marker32 = 0xFFFFFFFFu;  // this value and larger need ZIP64
constexpr uint64_t kZip64Marker16 = 0xFFFF;
constexpr uint16_t kZip64Version = 45;

inline bool needsZip64(uint64_t value) { return value >= kZip64Marker32; }

// An item's sizes and place in 64 bits; the entry's 32-bit size fields are not used.
struct ItemLayout {
    uint64_t compressedSize = 0;
    uint64_t originalSize = 0;
    uint64_t offset = 0;  // of the local header in its file (volume)
    uint16_t disk = 0;
    // The local header keeps both sizes in a ZIP64 field (the header's own fields hold markers).
    // Required for sizes of 4 GiB and more; streaming readers then expect 8-byte sizes in the
    // data descriptor.
    bool zip64Local = false;

    bool sizesNeedZip64() const { return needsZip64(compressedSize) || needsZip64(originalSize); }
    bool centralNeedsZip64() const { return sizesNeedZip64() || needsZip64(offset); }
};

// The layout of an item copied from an archive: its sizes, ZIP64 locally only when they need it.
ItemLayout copiedLayout(const ZipEntry& e, uint64_t offset);

// The entry's "version needed", raised to 4.5 when a record of the item has a ZIP64 field.
uint16_t versionNeeded(const ZipEntry& e, const ItemLayout& l);

// extra: the local extra field; any ZIP64 block in it is replaced.
std::string localHeader(const ZipEntry& e, const ItemLayout& l, const std::string& extra);
// Position of the CRC within a local header, and the bytes that replace CRC and sizes there
// (at that position, and for a ZIP64 local header also in its ZIP64 field) once known.
constexpr size_t kLocalCrcAt = 14;
size_t localZip64ValuesAt(const ZipEntry& e);  // within the header; valid when zip64Local
std::string localCrcAndSizes(const ZipEntry& e, const ItemLayout& l);
std::string localZip64Values(const ItemLayout& l);

// The entry's central extra field keeps its other blocks; the ZIP64 block holds exactly the
// values the header marks.
std::string centralRecord(const ZipEntry& e, const ItemLayout& l);
// Signature, CRC and sizes (8 bytes each after a ZIP64 local header).
std::string dataDescriptor(const ZipEntry& e, const ItemLayout& l);

// End of a single-file archive's directory: the ZIP64 end record and locator when the count
// reaches 0xFFFF or the directory's size or offset 0xFFFFFFFF, then the end record.
// `at` is the file position where these records start.
std::string directoryEnd(uint64_t entries, uint64_t centralSize, uint64_t centralOffset, uint64_t at,
                         const std::string& comment);

}  // namespace zipcore
