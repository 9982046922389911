#include "skerrit/panel/dib.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/skerrit/panel/dib_builder.h"

namespace {

using dib_builder::IndexPicture;
using dib_builder::Packed;
using dib_builder::Rgb;
using dib_builder::PictureDescription;

std::vector<Rgb> Grey(size_t count) {
    std::vector<Rgb> colors;
    for (size_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint8_t>(i);
        colors.push_back({v, static_cast<uint8_t>(v / 2), static_cast<uint8_t>(255 - v)});
    }
    return colors;
}

TEST(DibColorCount, FollowsBitsUnlessColoursUsedIsSet) {
    EXPECT_EQ(DibColorCount(40, 1, 0), 2u);
    EXPECT_EQ(DibColorCount(40, 4, 0), 16u);
    EXPECT_EQ(DibColorCount(40, 8, 0), 256u);
    EXPECT_EQ(DibColorCount(40, 16, 0), 0u);
    EXPECT_EQ(DibColorCount(40, 24, 0), 0u);
    EXPECT_EQ(DibColorCount(40, 32, 0), 0u);
    EXPECT_EQ(DibColorCount(40, 8, 17), 17u);
    EXPECT_EQ(DibColorCount(40, 24, 5), 5u);
    // A core header has no colours-used field.
    EXPECT_EQ(DibColorCount(12, 8, 17), 256u);
    EXPECT_EQ(DibColorCount(12, 4, 0), 16u);
    EXPECT_EQ(DibColorCount(12, 24, 0), 0u);
}

TEST(PackedDib, InfoHeadersOfEveryDepth) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        PictureDescription s;
        s.width = 7;
        s.height = 3;
        s.bits = bits;
        s.colors = Grey(DibColorCount(40, bits, 0));
        const std::vector<uint8_t> data = Packed(s);
        DibLayout layout;
        ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout)) << bits;
        EXPECT_FALSE(layout.coreHeader);
        EXPECT_EQ(layout.width, 7);
        EXPECT_EQ(layout.height, 3);
        EXPECT_EQ(layout.colorCount, s.colors.size());
        EXPECT_EQ(layout.pixelOffset, 40 + s.colors.size() * 4) << bits;
        EXPECT_EQ(layout.pixelBytes, DibStride(7, bits) * 3) << bits;
        EXPECT_EQ(layout.pixelOffset + layout.pixelBytes, data.size());
    }
}

TEST(PackedDib, CoreHeadersUseThreeByteColours) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        PictureDescription s;
        s.headerSize = 12;
        s.width = 5;
        s.height = 2;
        s.bits = bits;
        s.colors = Grey(DibColorCount(12, bits, 0));
        const std::vector<uint8_t> data = Packed(s);
        DibLayout layout;
        ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout)) << bits;
        EXPECT_TRUE(layout.coreHeader);
        EXPECT_EQ(layout.pixelOffset, 12 + s.colors.size() * 3) << bits;
        if (!s.colors.empty()) {
            const DibColor last = layout.colors[s.colors.size() - 1];
            EXPECT_EQ(last.red, s.colors.back().red);
            EXPECT_EQ(last.green, s.colors.back().green);
            EXPECT_EQ(last.blue, s.colors.back().blue);
        }
    }
}

TEST(PackedDib, ColoursUsedShortensTheTable) {
    PictureDescription s;
    s.bits = 8;
    s.width = 4;
    s.height = 4;
    s.colorsUsed = 3;
    s.colors = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    const std::vector<uint8_t> data = Packed(s);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    EXPECT_EQ(layout.colorCount, 3u);
    EXPECT_EQ(layout.pixelOffset, 40u + 12u);
    EXPECT_EQ(layout.colors[1].red, 40);
    EXPECT_EQ(layout.colors[1].green, 50);
    EXPECT_EQ(layout.colors[1].blue, 60);
}

TEST(PackedDib, BitFieldsMasksSitBeforeTheTable) {
    PictureDescription s;
    s.bits = 16;
    s.width = 3;
    s.height = -2;  // top down
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    const std::vector<uint8_t> data = Packed(s);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    EXPECT_EQ(layout.compression, DibCompression::BitFields);
    EXPECT_EQ(layout.masks[0], 0xF800u);
    EXPECT_EQ(layout.masks[2], 0x001Fu);
    EXPECT_EQ(layout.height, -2);
    EXPECT_EQ(layout.pixelOffset, 52u);
    EXPECT_EQ(layout.pixelBytes, 16u);

    s.bits = 8;  // masks only make sense for 16 and 32 bits
    s.colors = Grey(256);
    const std::vector<uint8_t> eight = Packed(s);
    EXPECT_FALSE(ParsePackedDib(eight.data(), eight.size(), layout));
}

TEST(PackedDib, LaterInfoHeadersKeepTheirMasksInside) {
    PictureDescription s;
    s.headerSize = 124;
    s.bits = 32;
    s.width = 2;
    s.height = 2;
    s.compression = 3;
    std::vector<uint8_t> data = Packed(s);
    const uint32_t red = 0x00FF0000;
    for (int i = 0; i < 4; ++i) data[40 + i] = static_cast<uint8_t>(red >> (8 * i));
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    EXPECT_EQ(layout.masks[0], red);
    EXPECT_EQ(layout.pixelOffset, 124u);
}

TEST(PackedDib, AnythingReachingPastTheEndIsRefused) {
    PictureDescription s;
    s.bits = 8;
    s.width = 10;
    s.height = 10;
    s.colors = Grey(256);
    const std::vector<uint8_t> data = Packed(s);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    // Every shorter prefix lacks some header, colour or pixel byte.
    for (size_t size = 0; size < data.size(); ++size) {
        EXPECT_FALSE(ParsePackedDib(data.data(), size, layout)) << size;
    }
    // The header and colours alone are enough for a palette.
    EXPECT_TRUE(ParseDibHeader(data.data(), 40 + 1024, layout));
    EXPECT_FALSE(DibPixelsFit(layout, data.size() - 1));
    EXPECT_TRUE(DibPixelsFit(layout, data.size()));
    EXPECT_FALSE(ParseDibHeader(data.data(), 40 + 1023, layout));
    EXPECT_FALSE(ParsePackedDib(nullptr, 100, layout));
}

TEST(PackedDib, AbsurdFieldsAreRefused) {
    auto refused = [](PictureDescription s) {
        const std::vector<uint8_t> data = Packed(s);
        DibLayout layout;
        return !ParseDibHeader(data.data(), data.size(), layout);
    };
    PictureDescription base;
    base.width = 4;
    base.height = 4;
    EXPECT_FALSE(refused(base));

    PictureDescription s = base;
    s.width = 0;
    EXPECT_TRUE(refused(s));
    s = base;
    s.width = -4;
    s.pixels = {0};
    EXPECT_TRUE(refused(s));
    s = base;
    s.height = 0;
    EXPECT_TRUE(refused(s));
    s = base;
    s.bits = 7;
    EXPECT_TRUE(refused(s));
    s = base;
    s.bits = 0;
    EXPECT_TRUE(refused(s));
    s = base;
    s.compression = 1;  // run-length, but 24 bits
    EXPECT_TRUE(refused(s));
    s = base;
    s.colorsUsed = 0x40000000;
    EXPECT_TRUE(refused(s));
    s = base;
    s.colorsUsed = 257;
    EXPECT_TRUE(refused(s));
    s = base;
    s.headerSize = 64;  // not a header this reader knows
    EXPECT_TRUE(refused(s));
    s = base;
    s.headerSize = 0;
    EXPECT_TRUE(refused(s));

    // Dimensions that would ask GDI for gigabytes are refused before the
    // pixel bytes are even looked at.
    s = base;
    s.width = 100000;
    s.height = 1;
    EXPECT_TRUE(refused(s));
    s = base;
    s.width = 16384;
    s.height = -16384;
    s.pixels = {0};
    EXPECT_TRUE(refused(s));
    s = base;
    s.height = INT32_MIN;
    s.pixels = {0};
    EXPECT_TRUE(refused(s));
}

// Run-length pictures: parsed as the panel parses them, then expanded.
struct Expanded {
    bool parsed = false;
    DibLayout layout{};
    std::vector<uint8_t> rows;
};

Expanded ParseAndExpand(const std::vector<uint8_t>& data) {
    Expanded e;
    e.parsed = ParsePackedDib(data.data(), data.size(), e.layout);
    if (e.parsed) {
        // An exact copy of the stream, so reading past its end is a fault the sanitizer sees.
        const std::vector<uint8_t> stream(data.begin() + e.layout.pixelOffset,
                                          data.begin() + e.layout.pixelOffset + e.layout.pixelBytes);
        EXPECT_TRUE(DecodeRunLengthPixels(stream.data(), stream.size(), e.layout, e.rows));
        EXPECT_EQ(e.rows.size(), DibStride(e.layout.width, e.layout.bitCount) * e.layout.height);
    }
    return e;
}

PictureDescription RunLength(uint16_t bits, int width, int height, std::vector<uint8_t> stream) {
    PictureDescription s;
    s.width = width;
    s.height = height;
    s.bits = bits;
    s.compression = bits == 8 ? 1 : 2;
    s.colors = Grey(DibColorCount(40, bits, 0));
    s.pixels = std::move(stream);
    return s;
}

std::vector<uint8_t> ExpandStream(uint16_t bits, int width, int height, const std::vector<uint8_t>& stream) {
    const Expanded e = ParseAndExpand(Packed(RunLength(bits, width, height, stream)));
    EXPECT_TRUE(e.parsed);
    return e.rows;
}

TEST(RunLength, RandomPicturesExpandToTheirRows) {
    std::mt19937 random(20240611);
    for (int n = 0; n < 400; ++n) {
        const int bits = n % 2 == 0 ? 8 : 4;
        const IndexPicture picture = dib_builder::RandomIndexPicture(random, bits, 300, 12);
        const std::vector<uint8_t> stream = dib_builder::RunLengthEncode(picture, random);
        PictureDescription s = dib_builder::RunLengthPicture(picture, stream, Grey(1u << bits));
        if (n % 3 == 0) {
            // A stated length leaves what follows alone.
            s.imageSize = static_cast<uint32_t>(stream.size());
            s.pixels.insert(s.pixels.end(), {0x05, 0x01, 0x00, 0x00});
        }
        const std::vector<uint8_t> data = Packed(s);
        const Expanded e = ParseAndExpand(data);
        ASSERT_TRUE(e.parsed) << n;
        EXPECT_EQ(e.layout.compression, bits == 8 ? DibCompression::Rle8 : DibCompression::Rle4);
        EXPECT_EQ(e.layout.pixelOffset + stream.size(), data.size() - (n % 3 == 0 ? 4 : 0));
        EXPECT_EQ(e.layout.pixelBytes, stream.size()) << n;
        const std::vector<uint8_t> expected = dib_builder::PackRows(picture);
        ASSERT_EQ(e.rows, expected) << "picture " << n << ": " << picture.width << " x " << picture.height
                                    << " at " << bits << " bits";

        // A stream cut anywhere keeps what it set: every pixel is the picture's or 0.
        if (n >= 40) continue;
        for (size_t cut = 0; cut < stream.size(); ++cut) {
            const std::vector<uint8_t> prefix(stream.begin(), stream.begin() + cut);
            std::vector<uint8_t> rows;
            ASSERT_TRUE(DecodeRunLengthPixels(prefix.data(), prefix.size(), e.layout, rows));
            ASSERT_EQ(rows.size(), expected.size());
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const uint8_t got = dib_builder::IndexIn(rows, picture.width, bits, x, y);
                    ASSERT_TRUE(got == 0 || got == picture.At(x, y)) << n << " cut " << cut << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(RunLength, EveryFormOfTheStream) {
    // 8 bits, 5 x 3: a run, an absolute run with its padding byte, a delta
    // right, end of line, a delta up and right, end of bitmap.
    EXPECT_EQ(ExpandStream(8, 5, 3, {0x02, 0x07,                    // 7 7
                                     0x00, 0x03, 0x01, 0x02, 0x03, 0x00,  // 1 2 3
                                     0x00, 0x00,                    // next row
                                     0x00, 0x02, 0x01, 0x00,        // skip one pixel
                                     0x01, 0x09,                    // 9
                                     0x00, 0x02, 0x02, 0x01,        // to x 4 of the top row
                                     0x01, 0x04, 0x00, 0x01, 0x01, 0x05}),  // 4, end (the 5 is never drawn)
              (std::vector<uint8_t>{7, 7, 1, 2, 3, 0, 0, 0,  //
                                    0, 9, 0, 0, 0, 0, 0, 0,  //
                                    0, 0, 0, 0, 4, 0, 0, 0}));
    // 4 bits, 5 x 2: a run alternating the nibbles, an odd absolute run.
    EXPECT_EQ(ExpandStream(4, 5, 2, {0x03, 0x12,                    // 1 2 1
                                     0x00, 0x03, 0xAB, 0xC0,        // A B C: two bytes, already even
                                     0x00, 0x00,                    //
                                     0x00, 0x05, 0x34, 0x56, 0x70, 0x00}),  // 3 4 5 6 7, padded
              (std::vector<uint8_t>{0x12, 0x1A, 0xB0, 0x00,  // C is past the row
                                    0x34, 0x56, 0x70, 0x00}));
}

TEST(RunLength, PixelsPastTheRowEndAreDropped) {
    // Width 3: the padding of each row stays 0 and the next row is untouched.
    EXPECT_EQ(ExpandStream(8, 3, 2, {0x0A, 0x07,                          // ten 7s
                                     0x00, 0x04, 0x01, 0x02, 0x03, 0x04,  // past the end, skipped whole
                                     0x00, 0x00, 0x01, 0x05, 0x00, 0x01}),
              (std::vector<uint8_t>{7, 7, 7, 0, 5, 0, 0, 0}));
    EXPECT_EQ(ExpandStream(4, 3, 2, {0x07, 0x12,                          // 1 2 1, then dropped
                                     0x00, 0x05, 0x34, 0x56, 0x70, 0x00,  //
                                     0x00, 0x00, 0x03, 0x9A, 0x00, 0x01}),
              (std::vector<uint8_t>{0x12, 0x10, 0, 0, 0x9A, 0x90, 0, 0}));
    // A delta far past the end drops the rest of that row only.
    EXPECT_EQ(ExpandStream(8, 4, 2, {0x00, 0x02, 0xC8, 0x00, 0x02, 0x09,  //
                                     0x00, 0x00, 0x01, 0x06, 0x00, 0x01}),
              (std::vector<uint8_t>{0, 0, 0, 0, 6, 0, 0, 0}));
    // ...and a delta up from there stays past the end.
    EXPECT_EQ(ExpandStream(8, 4, 2, {0x00, 0x02, 0xC8, 0x00, 0x00, 0x02, 0x00, 0x01, 0x02, 0x09, 0x00, 0x01}),
              (std::vector<uint8_t>(8, 0)));
}

TEST(RunLength, MovesAboveTheTopRowEndTheStream) {
    const std::vector<uint8_t> expected{3, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ExpandStream(8, 2, 2, {0x01, 0x03, 0x00, 0x02, 0x00, 0x02, 0x01, 0x04}), expected);
    EXPECT_EQ(ExpandStream(8, 2, 2, {0x01, 0x03, 0x00, 0x02, 0x00, 0xFF, 0x01, 0x04}), expected);
    EXPECT_EQ(ExpandStream(8, 2, 2, {0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01, 0x04}), expected);
    // The top row itself is still reachable, in the same column.
    EXPECT_EQ(ExpandStream(8, 2, 2, {0x01, 0x03, 0x00, 0x02, 0x00, 0x01, 0x01, 0x04}),
              (std::vector<uint8_t>{3, 0, 0, 0, 0, 4, 0, 0}));
}

TEST(RunLength, StreamEndingMidwayKeepsWhatItSet) {
    // An absolute run, its delta or its value byte cut off by the end of the data.
    EXPECT_EQ(ExpandStream(8, 6, 1, {0x01, 0x08, 0x00, 0x05, 0x01, 0x02}),
              (std::vector<uint8_t>{8, 1, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ExpandStream(4, 6, 1, {0x00, 0x05, 0x12}), (std::vector<uint8_t>{0x12, 0, 0, 0}));
    EXPECT_EQ(ExpandStream(8, 2, 1, {0x01, 0x08, 0x00, 0x02, 0x01}), (std::vector<uint8_t>{8, 0, 0, 0}));
    EXPECT_EQ(ExpandStream(8, 2, 1, {0x01, 0x08, 0x01}), (std::vector<uint8_t>{8, 0, 0, 0}));
    // The stated length ends the stream even when more bytes follow.
    PictureDescription s = RunLength(8, 2, 1, {0x01, 0x08, 0x01, 0x09, 0x00, 0x01});
    s.imageSize = 2;
    EXPECT_EQ(ParseAndExpand(Packed(s)).rows, (std::vector<uint8_t>{8, 0, 0, 0}));
}

TEST(RunLength, StreamLengthMustLieInsideTheData) {
    PictureDescription s = RunLength(8, 2, 2, {0x02, 0x01, 0x00, 0x00, 0x02, 0x01, 0x00, 0x01});
    s.imageSize = 8;
    std::vector<uint8_t> data = Packed(s);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    EXPECT_EQ(layout.pixelBytes, 8u);
    EXPECT_FALSE(ParsePackedDib(data.data(), data.size() - 1, layout));
    s.imageSize = 9;
    data = Packed(s);
    EXPECT_FALSE(ParsePackedDib(data.data(), data.size(), layout));
    s.imageSize = 0xFFFFFFFF;
    data = Packed(s);
    EXPECT_FALSE(ParsePackedDib(data.data(), data.size(), layout));

    // An open length takes every byte after the colours, and there must be one.
    s.imageSize = 0;
    data = Packed(s);
    ASSERT_TRUE(ParsePackedDib(data.data(), data.size(), layout));
    EXPECT_EQ(layout.pixelBytes, 8u);
    const size_t colorsEnd = 40 + 256 * 4;
    ASSERT_TRUE(ParsePackedDib(data.data(), colorsEnd + 1, layout));
    EXPECT_EQ(layout.pixelBytes, 1u);
    EXPECT_FALSE(ParsePackedDib(data.data(), colorsEnd, layout));
    // Handed only the header and colours, as for a palette, it still asks for one more byte.
    ASSERT_TRUE(ParseDibHeader(data.data(), colorsEnd, layout));
    EXPECT_FALSE(DibPixelsFit(layout, colorsEnd));
    EXPECT_TRUE(DibPixelsFit(layout, colorsEnd + 1));
}

TEST(RunLength, OnlyBottomUpAtItsOwnDepth) {
    auto parses = [](PictureDescription s) {
        const std::vector<uint8_t> data = Packed(s);
        DibLayout layout;
        return ParsePackedDib(data.data(), data.size(), layout);
    };
    const std::vector<uint8_t> stream{0x01, 0x01, 0x00, 0x01};
    EXPECT_TRUE(parses(RunLength(8, 2, 2, stream)));
    EXPECT_TRUE(parses(RunLength(4, 2, 2, stream)));
    PictureDescription s = RunLength(8, 2, -2, stream);
    EXPECT_FALSE(parses(s));
    s = RunLength(4, 2, -2, stream);
    EXPECT_FALSE(parses(s));
    for (uint16_t bits : {1, 4, 16, 24, 32}) {
        s = RunLength(8, 2, 2, stream);
        s.bits = bits;
        s.colors = Grey(DibColorCount(40, bits, 0));
        EXPECT_FALSE(parses(s)) << "RLE8 at " << bits;
    }
    for (uint16_t bits : {1, 8, 16, 24, 32}) {
        s = RunLength(4, 2, 2, stream);
        s.bits = bits;
        s.colors = Grey(DibColorCount(40, bits, 0));
        EXPECT_FALSE(parses(s)) << "RLE4 at " << bits;
    }
    // Only run-length layouts are expanded.
    s = RunLength(8, 2, 2, stream);
    s.compression = 0;
    s.pixels.clear();
    const std::vector<uint8_t> plain = Packed(s);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(plain.data(), plain.size(), layout));
    std::vector<uint8_t> rows{1};
    EXPECT_FALSE(DecodeRunLengthPixels(stream.data(), stream.size(), layout, rows));
    EXPECT_TRUE(rows.empty());
}

}  // namespace
