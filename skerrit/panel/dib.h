// Packed device-independent bitmaps (header, colour table, pixels; no file
// header) as they come from picture files and from the configuration block.
// Parsing checks every field against the bytes actually present, and yields a
// normalised description that the drawing side can hand to GDI without GDI
// ever reading outside those bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestInfoHeaderSize = 124;
constexpr uint32_t kMaxDibColors = 256;
constexpr uint32_t kBitFieldsMaskBytes = 12;
constexpr size_t kBitmapFileHeaderSize = 14;
constexpr uint16_t kBitmapFileType = 0x4D42;  // "BM"

// Enough for any accepted header, separate bit masks and a full colour table.
constexpr size_t kMaxDibHeaderAndColorBytes =
    kLargestInfoHeaderSize + kBitFieldsMaskBytes + kMaxDibColors * 4;

// Larger pictures are refused before GDI is asked for a bitmap of that size.
constexpr int32_t kMaxDibDimension = 16384;
constexpr int64_t kMaxDibPixels = int64_t{16} * 1024 * 1024;

enum class DibCompression : uint32_t { Rgb = 0, BitFields = 3 };

struct DibColor {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

struct DibLayout {
    bool coreHeader;
    int32_t width;
    int32_t height;  // negative: rows stored top down
    uint16_t bitCount;
    DibCompression compression;
    std::array<uint32_t, 3> masks;  // red, green, blue when compression is BitFields
    uint32_t colorCount;             // entries in the stored colour table
    std::array<DibColor, kMaxDibColors> colors;
    size_t pixelOffset;  // from the start of the packed bitmap
    size_t pixelBytes;
};

// Number of colour-table entries the header announces: a non-zero colours-used
// field of an info header, otherwise 2, 16 or 256 for 1, 4 and 8 bits per
// pixel and none for deeper pictures. `headerSize` decides which header it is.
uint32_t DibColorCount(uint32_t headerSize, uint16_t bitCount, uint32_t colorsUsed);

// Checks the header and the colour table only (enough for a palette); the
// pixel extent is computed but not checked against `size`.
bool ParseDibHeader(const uint8_t* data, size_t size, DibLayout& layout);

// Checks header, colour table and pixels.
bool ParsePackedDib(const uint8_t* data, size_t size, DibLayout& layout);

// Whether the pixels described by `layout` lie inside `size` bytes.
bool DibPixelsFit(const DibLayout& layout, size_t size);

// Row size in bytes of an uncompressed picture, rows padded to 32 bits.
uint64_t DibStride(int32_t width, uint16_t bitCount);

