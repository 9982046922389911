#include "skerrit/panel/dib.h"

#include <cstdint>
#include <cstdlib>

namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

// Info headers of later versions keep the first 40 bytes of the 40-byte one;
// from 52 bytes on they carry the bit masks themselves.
bool IsInfoHeaderSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == kLargestInfoHeaderSize;
}

bool IsSupportedBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool ParseCoreHeader(const uint8_t* data, size_t size, DibLayout& layout, size_t& tableOffset) {
    if (size < kCoreHeaderSize) return false;
    layout.coreHeader = true;
    layout.width = ReadU16(data + 4);
    layout.height = ReadU16(data + 6);
    layout.bitCount = ReadU16(data + 10);
    layout.compression = DibCompression::Rgb;
    layout.colorCount = DibColorCount(kCoreHeaderSize, layout.bitCount, 0);
    tableOffset = kCoreHeaderSize;
    return true;
}

bool ParseInfoHeader(const uint8_t* data, size_t size, uint32_t headerSize, DibLayout& layout,
                     size_t& tableOffset) {
    if (size < headerSize) return false;
    layout.coreHeader = false;
    layout.width = ReadI32(data + 4);
    layout.height = ReadI32(data + 8);
    layout.bitCount = ReadU16(data + 14);
    const uint32_t compression = ReadU32(data + 16);
    const uint32_t colorsUsed = ReadU32(data + 32);
    tableOffset = headerSize;
    if (compression == static_cast<uint32_t>(DibCompression::BitFields)) {
        if (layout.bitCount != 16 && layout.bitCount != 32) return false;
        const uint8_t* masks = data + headerSize;
        if (headerSize == kInfoHeaderSize) {
            if (size - headerSize < kBitFieldsMaskBytes) return false;
            tableOffset += kBitFieldsMaskBytes;
        } else {
            masks = data + kInfoHeaderSize;
        }
        layout.masks = {ReadU32(masks), ReadU32(masks + 4), ReadU32(masks + 8)};
        layout.compression = DibCompression::BitFields;
    } else if (compression == static_cast<uint32_t>(DibCompression::Rgb)) {
        layout.compression = DibCompression::Rgb;
    } else {
        return false;  // run-length and embedded formats are not drawn
    }
    if (colorsUsed > kMaxDibColors) return false;
    layout.colorCount = DibColorCount(headerSize, layout.bitCount, colorsUsed);
    return true;
}

bool DimensionsAreSane(const DibLayout& layout) {
    if (!IsSupportedBitCount(layout.bitCount)) return false;
    if (layout.width <= 0 || layout.width > kMaxDibDimension) return false;
    if (layout.height == 0 || layout.height < -kMaxDibDimension || layout.height > kMaxDibDimension) {
        return false;
    }
    const int64_t pixels = static_cast<int64_t>(layout.width) * std::abs(layout.height);
    return pixels <= kMaxDibPixels;
}

}  // namespace

uint32_t DibColorCount(uint32_t headerSize, uint16_t bitCount, uint32_t colorsUsed) {
    if (headerSize != kCoreHeaderSize && colorsUsed != 0) return colorsUsed;
    switch (bitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

uint64_t DibStride(int32_t width, uint16_t bitCount) {
    if (width <= 0) return 0;
    return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

bool ParseDibHeader(const uint8_t* data, size_t size, DibLayout& layout) {
    layout = DibLayout{};
    if (data == nullptr || size < 4) return false;
    const uint32_t headerSize = ReadU32(data);
    size_t tableOffset = 0;
    const bool parsed = headerSize == kCoreHeaderSize
                            ? ParseCoreHeader(data, size, layout, tableOffset)
                            : IsInfoHeaderSize(headerSize) &&
                                  ParseInfoHeader(data, size, headerSize, layout, tableOffset);
    if (!parsed || !DimensionsAreSane(layout)) return false;

    const size_t entrySize = layout.coreHeader ? 3 : 4;
    const size_t tableBytes = static_cast<size_t>(layout.colorCount) * entrySize;
    if (tableOffset > size || size - tableOffset < tableBytes) return false;
    for (uint32_t i = 0; i < layout.colorCount; ++i) {
        const uint8_t* entry = data + tableOffset + i * entrySize;
        layout.colors[i] = DibColor{entry[2], entry[1], entry[0]};
    }
    layout.pixelOffset = tableOffset + tableBytes;
    layout.pixelBytes =
        static_cast<size_t>(DibStride(layout.width, layout.bitCount) *
                            static_cast<uint64_t>(std::abs(layout.height)));
    return true;
}

bool DibPixelsFit(const DibLayout& layout, size_t size) {
    return layout.pixelOffset <= size && size - layout.pixelOffset >= layout.pixelBytes;
}

bool ParsePackedDib(const uint8_t* data, size_t size, DibLayout& layout) {
    return ParseDibHeader(data, size, layout) && DibPixelsFit(layout, size);
}

