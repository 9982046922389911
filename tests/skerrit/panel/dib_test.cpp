#include "skerrit/panel/dib.h"

#include <gtest/gtest.h>

#include "tests/skerrit/panel/dib_builder.h"

namespace {

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
    s.compression = 1;  // run-length
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

}  // namespace
