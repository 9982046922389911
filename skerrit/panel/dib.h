// Packed device-independent bitmaps (header, colour table, pixels; no file
// header) as they come from picture files and from the configuration block.
// Parsing checks every field against the bytes actually present, and yields a
// normalised description that the drawing side can hand to GDI without GDI
// ever reading outside those bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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

// Info headers' image size field: the length of a run-length stream.
constexpr size_t kInfoImageSizeOffset = 20;

// Run-length pictures are bottom up, 8 bits (Rle8) or 4 bits (Rle4) per pixel.
enum class DibCompression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

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
    // The stored pixel bytes, from the start of the packed bitmap: the rows,
    // or the run-length stream (the image size field's length, or all the
    // bytes after the colours when that field is 0).
    size_t pixelOffset;
    size_t pixelBytes;
};

inline bool DibIsRunLength(const DibLayout& layout) {
    return layout.compression == DibCompression::Rle8 || layout.compression == DibCompression::Rle4;
}

// Number of colour-table entries the header announces: a non-zero colours-used
// field of an info header, otherwise 2, 16 or 256 for 1, 4 and 8 bits per
// pixel and none for deeper pictures. `headerSize` decides which header it is.
uint32_t DibColorCount(uint32_t headerSize, uint16_t bitCount, uint32_t colorsUsed);

// Checks the header and the colour table only (enough for a palette); the
// pixel extent is computed but not checked against `size`. A run-length
// stream whose length the header leaves open is taken to end at `size`, and
// counts as one byte when `size` ends before it: a stream is never empty.
bool ParseDibHeader(const uint8_t* data, size_t size, DibLayout& layout);

// Checks header, colour table and pixels.
bool ParsePackedDib(const uint8_t* data, size_t size, DibLayout& layout);

// Whether the pixels described by `layout` lie inside `size` bytes.
bool DibPixelsFit(const DibLayout& layout, size_t size);

// Row size in bytes of an uncompressed picture, rows padded to 32 bits.
uint64_t DibStride(int32_t width, uint16_t bitCount);

// Expands the run-length stream of a picture parsed as Rle8 or Rle4 into
// uncompressed bottom-up rows of the same depth (DibStride(width, bitCount)
// bytes each). Pixels the stream never sets are index 0; what would land
// outside a row or above the top row is dropped, and a stream that stops
// early keeps what it set. False only for a layout that is not run-length.
bool DecodeRunLengthPixels(const uint8_t* stream, size_t size, const DibLayout& layout,
                           std::vector<uint8_t>& pixels);
