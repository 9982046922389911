#include "skerrit/panel/dib.h"

#include <cstdint>
#include <algorithm>
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
                     size_t& tableOffset, uint32_t& imageSize) {
    if (size < headerSize) return false;
    layout.coreHeader = false;
    layout.width = ReadI32(data + 4);
    layout.height = ReadI32(data + 8);
    layout.bitCount = ReadU16(data + 14);
    const uint32_t compression = ReadU32(data + 16);
    imageSize = ReadU32(data + kInfoImageSizeOffset);
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
    } else if (compression == static_cast<uint32_t>(DibCompression::Rle8) ||
               compression == static_cast<uint32_t>(DibCompression::Rle4)) {
        // Run-length streams only climb from the bottom row, at their own depth.
        layout.compression = static_cast<DibCompression>(compression);
        const uint16_t bits = layout.compression == DibCompression::Rle8 ? 8 : 4;
        if (layout.bitCount != bits || layout.height <= 0) return false;
    } else {
        return false;  // embedded formats are not drawn
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
    uint32_t imageSize = 0;
    const bool parsed = headerSize == kCoreHeaderSize
                            ? ParseCoreHeader(data, size, layout, tableOffset)
                            : IsInfoHeaderSize(headerSize) &&
                                  ParseInfoHeader(data, size, headerSize, layout, tableOffset, imageSize);
    if (!parsed || !DimensionsAreSane(layout)) return false;

    const size_t entrySize = layout.coreHeader ? 3 : 4;
    const size_t tableBytes = static_cast<size_t>(layout.colorCount) * entrySize;
    if (tableOffset > size || size - tableOffset < tableBytes) return false;
    for (uint32_t i = 0; i < layout.colorCount; ++i) {
        const uint8_t* entry = data + tableOffset + i * entrySize;
        layout.colors[i] = DibColor{entry[2], entry[1], entry[0]};
    }
    layout.pixelOffset = tableOffset + tableBytes;
    if (DibIsRunLength(layout)) {
        // An open length runs to the end of the bytes given. With none there
        // it counts as one byte, so that the fit check refuses a picture that
        // has no stream even when, as for a palette, only the file's start
        // was read and handed in here.
        if (imageSize != 0) {
            layout.pixelBytes = imageSize;
        } else {
            layout.pixelBytes = size > layout.pixelOffset ? size - layout.pixelOffset : 1;
        }
    } else {
        layout.pixelBytes =
            static_cast<size_t>(DibStride(layout.width, layout.bitCount) *
                                static_cast<uint64_t>(std::abs(layout.height)));
    }
    return true;
}

bool DibPixelsFit(const DibLayout& layout, size_t size) {
    return layout.pixelOffset <= size && size - layout.pixelOffset >= layout.pixelBytes;
}

bool ParsePackedDib(const uint8_t* data, size_t size, DibLayout& layout) {
    return ParseDibHeader(data, size, layout) && DibPixelsFit(layout, size);
}

namespace {

// Writes pixels of one row of a run-length picture; x saturates at the row's
// end, so whatever follows there until the next end of line is dropped.
class RowWriter {
public:
    RowWriter(uint8_t* row, uint32_t width, bool nibbles) : row_(row), width_(width), nibbles_(nibbles) {}

    uint32_t X() const { return x_; }
    void Skip(uint32_t count) { x_ = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{x_} + count, width_)); }
    void Put(uint8_t index) {
        if (x_ >= width_) return;
        if (nibbles_) {
            uint8_t& byte = row_[x_ / 2];
            byte = (x_ & 1) != 0 ? static_cast<uint8_t>((byte & 0xF0) | (index & 0x0F))
                                 : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
        } else {
            row_[x_] = index;
        }
        ++x_;
    }
    bool Full() const { return x_ >= width_; }

private:
    uint8_t* row_;
    uint32_t width_;
    bool nibbles_;
    uint32_t x_ = 0;
};

}  // namespace

bool DecodeRunLengthPixels(const uint8_t* stream, size_t size, const DibLayout& layout,
                           std::vector<uint8_t>& pixels) {
    pixels.clear();
    if (!DibIsRunLength(layout)) return false;
    const bool nibbles = layout.compression == DibCompression::Rle4;
    if (layout.bitCount != (nibbles ? 4 : 8) || layout.height <= 0 || !DimensionsAreSane(layout)) {
        return false;
    }
    if (stream == nullptr) size = 0;
    const auto width = static_cast<uint32_t>(layout.width);
    const auto height = static_cast<uint32_t>(layout.height);
    const size_t stride = static_cast<size_t>(DibStride(layout.width, layout.bitCount));
    pixels.assign(stride * height, 0);

    uint32_t y = 0;  // rows count from the bottom
    RowWriter row(pixels.data(), width, nibbles);
    size_t at = 0;
    // Nothing moves down, so once the top row is full the rest sets nothing.
    while (size - at >= 2 && !(row.Full() && y + 1 == height)) {
        const uint8_t count = stream[at];
        const uint8_t code = stream[at + 1];
        at += 2;
        if (count != 0) {
            // Encoded run: RLE4 alternates the byte's high and low nibble.
            for (uint32_t i = 0; i < count && !row.Full(); ++i) {
                row.Put(nibbles ? ((i & 1) != 0 ? code & 0x0F : code >> 4) : code);
            }
        } else if (code == 0) {  // end of line
            if (y + 1 >= height) break;
            ++y;
            row = RowWriter(pixels.data() + size_t{y} * stride, width, nibbles);
        } else if (code == 1) {  // end of bitmap
            break;
        } else if (code == 2) {  // delta: right, then up
            if (size - at < 2) break;
            const uint32_t right = stream[at];
            const uint32_t up = stream[at + 1];
            at += 2;
            if (up != 0) {
                if (up >= height - y) break;
                const uint32_t x = row.X();
                y += up;
                row = RowWriter(pixels.data() + size_t{y} * stride, width, nibbles);
                row.Skip(x);
            }
            row.Skip(right);
        } else {
            // Absolute run of `code` indices, padded to an even byte count.
            const size_t bytes = nibbles ? (code + 1u) / 2 : code;
            const size_t available = std::min(bytes, size - at);
            for (uint32_t i = 0; i < code && !row.Full(); ++i) {
                const size_t byte = nibbles ? i / 2 : i;
                if (byte >= available) break;
                const uint8_t value = stream[at + byte];
                row.Put(nibbles ? ((i & 1) != 0 ? value & 0x0F : value >> 4) : value);
            }
            const size_t padded = bytes + (bytes & 1);
            if (size - at < padded) break;
            at += padded;
        }
    }
    return true;
}
