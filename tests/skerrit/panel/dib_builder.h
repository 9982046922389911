// Builds packed bitmaps (and bitmap files) for tests, byte by byte, so that
// every input is visible in the test that uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dib_builder {

struct Rgb {
    uint8_t red, green, blue;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline uint32_t Stride(int width, int bits) { return (static_cast<uint32_t>(width) * bits + 31) / 32 * 4; }

struct PictureDescription {
    uint32_t headerSize = 40;  // 12: core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<Rgb> colors;        // written as the colour table
    std::vector<uint32_t> masks;    // written after a 40-byte header
    std::vector<uint8_t> pixels;    // empty: zero-filled rows of the right size
};

inline std::vector<uint8_t> Packed(const PictureDescription& s) {
    std::vector<uint8_t> out;
    Put32(out, s.headerSize);
    if (s.headerSize == 12) {
        Put16(out, static_cast<uint32_t>(s.width));
        Put16(out, static_cast<uint32_t>(s.height));
        Put16(out, 1);
        Put16(out, s.bits);
    } else {
        Put32(out, static_cast<uint32_t>(s.width));
        Put32(out, static_cast<uint32_t>(s.height));
        Put16(out, 1);
        Put16(out, s.bits);
        Put32(out, s.compression);
        Put32(out, 0);  // image size
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, s.colorsUsed);
        Put32(out, 0);
        while (out.size() < s.headerSize) out.push_back(0);
    }
    for (uint32_t m : s.masks) Put32(out, m);
    for (const Rgb& c : s.colors) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        if (s.headerSize != 12) out.push_back(0);
    }
    if (!s.pixels.empty()) {
        out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    } else {
        const int32_t rows = s.height < 0 ? -s.height : s.height;
        out.resize(out.size() + static_cast<size_t>(Stride(s.width, s.bits)) * rows, 0);
    }
    return out;
}

// A 24-bit picture of one colour, rows bottom up.
inline PictureDescription Solid24(int width, int height, Rgb color) {
    PictureDescription s;
    s.width = width;
    s.height = height;
    s.bits = 24;
    const uint32_t stride = Stride(width, 24);
    s.pixels.assign(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &s.pixels[y * stride + x * 3];
            p[0] = color.blue;
            p[1] = color.green;
            p[2] = color.red;
        }
    }
    return s;
}

inline std::vector<uint8_t> FileOf(const std::vector<uint8_t>& packed, uint32_t pixelOffset) {
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(packed.size() + 14));
    Put32(out, 0);
    Put32(out, 14 + pixelOffset);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

inline std::vector<uint8_t> BitmapFile(const PictureDescription& s) {
    const std::vector<uint8_t> packed = Packed(s);
    const int32_t rows = s.height < 0 ? -s.height : s.height;
    const size_t pixelBytes = s.pixels.empty() ? static_cast<size_t>(Stride(s.width, s.bits)) * rows
                                               : s.pixels.size();
    return FileOf(packed, static_cast<uint32_t>(packed.size() - pixelBytes));
}

}  // namespace dib_builder
