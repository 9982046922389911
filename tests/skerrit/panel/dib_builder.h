// Builds packed bitmaps (and bitmap files) for tests, byte by byte, so that
// every input is visible in the test that uses it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
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
    uint32_t imageSize = 0;         // run-length pictures: the stream's length, 0 leaves it open
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
        Put32(out, s.imageSize);
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

// A 4- or 8-bit picture as one colour index per pixel, rows from the bottom.
struct IndexPicture {
    int width = 1;
    int height = 1;
    int bits = 8;
    std::vector<uint8_t> indices;

    uint8_t At(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
};

// The picture stored uncompressed: bottom-up rows, high nibble first.
inline std::vector<uint8_t> PackRows(const IndexPicture& p) {
    const uint32_t stride = Stride(p.width, p.bits);
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * p.height, 0);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            uint8_t& byte = rows[y * stride + (p.bits == 4 ? x / 2 : x)];
            if (p.bits == 8) byte = p.At(x, y);
            else byte |= static_cast<uint8_t>(x % 2 == 0 ? p.At(x, y) << 4 : p.At(x, y));
        }
    }
    return rows;
}

// The index at (x, y) of uncompressed rows as PackRows lays them out.
inline uint8_t IndexIn(const std::vector<uint8_t>& rows, int width, int bits, int x, int y) {
    const uint8_t byte = rows[static_cast<size_t>(y) * Stride(width, bits) + (bits == 4 ? x / 2 : x)];
    return bits == 8 ? byte : static_cast<uint8_t>(x % 2 == 0 ? byte >> 4 : byte & 0x0F);
}

// Random pictures with spans of one index, of two alternating indices and of
// index 0, so that every form of the run-length encoding has something to do.
inline IndexPicture RandomIndexPicture(std::mt19937& random, int bits, int maxWidth, int maxHeight) {
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    IndexPicture p;
    p.bits = bits;
    p.width = 1 + below(maxWidth);
    p.height = 1 + below(maxHeight);
    const int colors = 1 << bits;
    while (p.indices.size() < static_cast<size_t>(p.width) * p.height) {
        const int kind = below(10);
        const int length = 1 + below(kind < 2 ? 300 : 12);
        const auto a = static_cast<uint8_t>(kind == 0 || kind == 2 || kind == 3 ? 0 : below(colors));
        const auto b = static_cast<uint8_t>(kind < 7 ? a : below(colors));
        for (int i = 0; i < length; ++i) p.indices.push_back(i % 2 == 0 ? a : b);
    }
    p.indices.resize(static_cast<size_t>(p.width) * p.height);
    return p;
}

// Encodes a picture as a run-length stream (RLE8 for 8 bits, RLE4 for 4),
// choosing at random among the forms that reproduce it exactly: encoded and
// absolute runs, deltas over index-0 pixels (within a row and upward), end of
// line and end of bitmap. Every pixel is set at most once.
inline std::vector<uint8_t> RunLengthEncode(const IndexPicture& p, std::mt19937& random) {
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    auto chance = [&](int percent) { return below(100) < percent; };
    const bool nibbles = p.bits == 4;
    auto zerosInRow = [&](int x, int y) {
        int n = 0;
        while (x + n < p.width && p.At(x + n, y) == 0) ++n;
        return n;
    };
    size_t end = p.indices.size();  // one past the last non-zero pixel
    while (end > 0 && p.indices[end - 1] == 0) --end;
    auto zeroToTheEnd = [&](int x, int y) { return static_cast<size_t>(y) * p.width + x >= end; };
    std::vector<uint8_t> out;
    auto emit = [&](std::initializer_list<int> bytes) {
        for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
    };
    int x = 0;
    int y = 0;
    for (;;) {
        const bool last = y == p.height - 1 && x == p.width;
        if (last || (zeroToTheEnd(x, y) && chance(60))) {
            emit({0, 1});
            return out;
        }
        if (x == p.width) {
            emit({0, 0});
            x = 0;
            ++y;
            continue;
        }
        const int zeros = zerosInRow(x, y);
        if (zeros == p.width - x && y + 1 < p.height && chance(40)) {
            // The rest of the row is 0: end the line, or move up over whole
            // zero rows to a row whose pixels left of x are 0 too.
            std::vector<int> ups;
            for (int up = 1; up <= 255 && y + up < p.height; ++up) {
                if (zerosInRow(0, y + up) >= x) ups.push_back(up);
                if (zerosInRow(0, y + up) < p.width) break;
            }
            if (!ups.empty() && chance(60)) {
                const int up = ups[below(static_cast<int>(ups.size()))];
                const int right = below(std::min(255, zerosInRow(x, y + up)) + 1);
                emit({0, 2, right, up});
                y += up;
                x += right;
            } else {
                emit({0, 0});
                x = 0;
                ++y;
            }
            continue;
        }
        if (zeros > 0 && chance(25)) {
            const int right = 1 + below(std::min(255, zeros));
            emit({0, 2, right, 0});
            x += right;
            continue;
        }
        // Pixels repeating the run's pattern: one index, or two alternating for RLE4.
        const uint8_t first = p.At(x, y);
        const uint8_t second = nibbles && x + 1 < p.width ? p.At(x + 1, y) : first;
        int same = 0;
        while (x + same < p.width && same < 255 && p.At(x + same, y) == (same % 2 == 0 ? first : second)) ++same;
        const int room = std::min(255, p.width - x);
        if (room >= 3 && chance(same >= 3 ? 20 : 60)) {
            const int n = 3 + below(room - 2);
            emit({0, n});
            const size_t start = out.size();
            for (int i = 0; i < n; ++i) {
                const uint8_t index = p.At(x + i, y);
                if (!nibbles) out.push_back(index);
                else if (i % 2 == 0) out.push_back(static_cast<uint8_t>(index << 4));
                else out.back() |= index;
            }
            if ((out.size() - start) % 2 != 0) out.push_back(0);
            x += n;
        } else {
            const int n = 1 + below(same);
            emit({n, nibbles ? (first << 4) | (n > 1 ? second : 0) : first});
            x += n;
        }
    }
}

// A run-length picture of `p` with a colour table of 2^bits entries.
inline PictureDescription RunLengthPicture(const IndexPicture& p, const std::vector<uint8_t>& stream,
                                           const std::vector<Rgb>& colors) {
    PictureDescription s;
    s.width = p.width;
    s.height = p.height;
    s.bits = static_cast<uint16_t>(p.bits);
    s.compression = p.bits == 8 ? 1 : 2;
    s.colors = colors;
    s.pixels = stream;
    return s;
}

}  // namespace dib_builder
