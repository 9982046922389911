// Pictures and palettes made from packed bitmaps and bitmap files.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skerrit/panel/dib_win.h"
#include "skerrit/panel/picture_panel_win.h"
#include "tests/skerrit/panel/panel_test_support_win.h"

namespace {

using dib_builder::Packed;
using dib_builder::Rgb;
using dib_builder::PictureDescription;

constexpr Rgb kInk{200, 30, 40};

// The colour of the top left pixel of a bitmap, drawn at its own size.
COLORREF TopLeftOf(HBITMAP bitmap) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const COLORREF color = GetPixel(memory, 0, 0);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return color;
}

// A 2 x 2 picture whose every pixel shows kInk, for each header kind and depth.
PictureDescription InkPicture(uint32_t headerSize, uint16_t bits) {
    PictureDescription s;
    s.headerSize = headerSize;
    s.width = 2;
    s.height = 2;
    s.bits = bits;
    const uint32_t stride = dib_builder::Stride(2, bits);
    s.pixels.assign(stride * 2, 0);
    for (int row = 0; row < 2; ++row) {
        uint8_t* p = &s.pixels[row * stride];
        switch (bits) {
            case 1: p[0] = 0xC0; break;               // index 1 for both pixels
            case 4: p[0] = 0x11; break;
            case 8: p[0] = p[1] = 1; break;
            case 16: p[0] = p[2] = 0x00; p[1] = p[3] = 0x7C; break;  // 5-5-5 pure red
            default:
                for (int x = 0; x < 2; ++x) {
                    uint8_t* px = p + x * (bits / 8);
                    px[0] = kInk.blue;
                    px[1] = kInk.green;
                    px[2] = kInk.red;
                }
        }
    }
    if (bits <= 8) {
        s.colors.assign(1u << bits, Rgb{0, 0, 0});
        s.colors[1] = kInk;
    }
    return s;
}

TEST(BitmapFromPackedDib, EveryDepthWithBothHeaderKinds) {
    for (uint32_t header : {40u, 12u}) {
        for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
            const std::vector<uint8_t> data = Packed(InkPicture(header, bits));
            gdi::Bitmap bitmap = BitmapFromPackedDib(data.data(), data.size());
            ASSERT_TRUE(bitmap) << header << "/" << bits;
            BITMAP info{};
            GetObjectA(bitmap.Get(), sizeof info, &info);
            EXPECT_EQ(info.bmWidth, 2);
            EXPECT_EQ(info.bmHeight, 2);
            const COLORREF expected = bits == 16 ? RGB(255, 0, 0) : panel_test::Rgb(kInk);
            EXPECT_EQ(TopLeftOf(bitmap.Get()), expected) << header << "/" << bits;
        }
    }
}

TEST(BitmapFromPackedDib, TopDownRowsAndBitFieldMasks) {
    // 1 x 2, 5-6-5 masks, rows stored top down: red above green.
    PictureDescription s;
    s.width = 1;
    s.height = -2;
    s.bits = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0};
    const std::vector<uint8_t> data = Packed(s);
    gdi::Bitmap bitmap = BitmapFromPackedDib(data.data(), data.size());
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    GetObjectA(bitmap.Get(), sizeof info, &info);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(TopLeftOf(bitmap.Get()), RGB(255, 0, 0));
}

TEST(BitmapFromPackedDib, TruncatedOrDamagedDataMakesNothing) {
    std::vector<uint8_t> data = Packed(InkPicture(40, 8));
    for (size_t size : {size_t{0}, size_t{10}, size_t{39}, size_t{40 + 1023}, data.size() - 1}) {
        EXPECT_FALSE(BitmapFromPackedDib(data.data(), size)) << size;
        EXPECT_FALSE(PaletteFromPackedDib(data.data(), size)) << size;
    }
    data[8] = 0x7F;  // height far beyond the bytes
    EXPECT_FALSE(BitmapFromPackedDib(data.data(), data.size()));
}

// Every pixel of a bitmap as 0x00RRGGBB, rows from the top.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

TEST(BitmapFromPackedDib, RunLengthPicturesMatchTheirUncompressedForm) {
    std::mt19937 random(7);
    for (int bits : {8, 4}) {
        std::vector<Rgb> colors;
        for (int i = 0; i < (1 << bits); ++i) {
            colors.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
        }
        for (int n = 0; n < 4; ++n) {
            const dib_builder::IndexPicture picture = dib_builder::RandomIndexPicture(random, bits, 60, 20);
            const std::vector<uint8_t> rle = Packed(
                dib_builder::RunLengthPicture(picture, dib_builder::RunLengthEncode(picture, random), colors));
            PictureDescription plain;
            plain.width = picture.width;
            plain.height = picture.height;
            plain.bits = static_cast<uint16_t>(bits);
            plain.colors = colors;
            plain.pixels = dib_builder::PackRows(picture);
            const std::vector<uint8_t> uncompressed = Packed(plain);

            gdi::Bitmap fromRle = BitmapFromPackedDib(rle.data(), rle.size());
            gdi::Bitmap fromRows = BitmapFromPackedDib(uncompressed.data(), uncompressed.size());
            ASSERT_TRUE(fromRle && fromRows) << bits << "/" << n;
            const std::vector<uint32_t> shown = PixelsOf(fromRle.Get(), picture.width, picture.height);
            EXPECT_EQ(shown, PixelsOf(fromRows.Get(), picture.width, picture.height)) << bits << "/" << n;
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const Rgb c = colors[picture.At(x, picture.height - 1 - y)];
                    ASSERT_EQ(shown[static_cast<size_t>(y) * picture.width + x],
                              (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue)
                        << bits << "/" << n << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(BitmapFiles, RunLengthFileWithOpenStreamLength) {
    dib_builder::IndexPicture picture;
    picture.width = 3;
    picture.height = 2;
    std::vector<Rgb> colors(256, Rgb{0, 0, 0});
    colors[1] = kInk;
    // Bottom row 1 0 1 as an absolute run, top row 0 1 0 after a delta; no end of bitmap.
    const PictureDescription s = dib_builder::RunLengthPicture(
        picture, {0x00, 0x03, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x01, 0x01}, colors);
    const std::string path = panel_test::WriteTempFile("rle8.bmp", dib_builder::BitmapFile(s));
    gdi::Bitmap bitmap = LoadBitmapFile(path.c_str());
    ASSERT_TRUE(bitmap);
    const uint32_t ink = (uint32_t{kInk.red} << 16) | (uint32_t{kInk.green} << 8) | kInk.blue;
    EXPECT_EQ(PixelsOf(bitmap.Get(), 3, 2), (std::vector<uint32_t>{0, ink, 0, ink, 0, ink}));
    EXPECT_TRUE(LoadPaletteFile(path.c_str()));

    // Ending right after the colours, the picture has no stream: no palette either.
    std::vector<uint8_t> file = dib_builder::BitmapFile(s);
    file.resize(14 + 40 + 256 * 4);
    const std::string bare = panel_test::WriteTempFile("rle8bare.bmp", file);
    EXPECT_FALSE(LoadBitmapFile(bare.c_str()));
    EXPECT_FALSE(LoadPaletteFile(bare.c_str()));
}

TEST(PaletteFromPackedDib, OneEntryPerStoredColour) {
    PictureDescription s = InkPicture(40, 8);
    const std::vector<uint8_t> full = Packed(s);
    gdi::Palette palette = PaletteFromPackedDib(full.data(), full.size());
    ASSERT_TRUE(palette);
    EXPECT_EQ(GetPaletteEntries(palette.Get(), 0, 0, nullptr), 256u);
    PALETTEENTRY entry{};
    GetPaletteEntries(palette.Get(), 1, 1, &entry);
    EXPECT_EQ(entry.peRed, kInk.red);
    EXPECT_EQ(entry.peGreen, kInk.green);
    EXPECT_EQ(entry.peBlue, kInk.blue);
    EXPECT_EQ(entry.peFlags, 0);

    s.colorsUsed = 3;
    s.colors.resize(3);
    const std::vector<uint8_t> few = Packed(s);
    palette = PaletteFromPackedDib(few.data(), few.size());
    ASSERT_TRUE(palette);
    EXPECT_EQ(GetPaletteEntries(palette.Get(), 0, 0, nullptr), 3u);
    // Pixels past the short table still make a picture.
    EXPECT_TRUE(BitmapFromPackedDib(few.data(), few.size()));

    const std::vector<uint8_t> deep = Packed(InkPicture(40, 24));
    EXPECT_FALSE(PaletteFromPackedDib(deep.data(), deep.size()));
}

TEST(BitmapFiles, LoadPictureAndPaletteFromAFile) {
    const std::string eight =
        panel_test::WriteTempFile("ink8.bmp", dib_builder::BitmapFile(InkPicture(40, 8)));
    gdi::Bitmap bitmap = LoadBitmapFile(eight.c_str());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(TopLeftOf(bitmap.Get()), panel_test::Rgb(kInk));
    gdi::Palette palette = LoadPaletteFile(eight.c_str());
    ASSERT_TRUE(palette);
    EXPECT_EQ(GetPaletteEntries(palette.Get(), 0, 0, nullptr), 256u);

    const std::string deep =
        panel_test::WriteTempFile("ink24.bmp", dib_builder::BitmapFile(InkPicture(40, 24)));
    EXPECT_TRUE(LoadBitmapFile(deep.c_str()));
    EXPECT_FALSE(LoadPaletteFile(deep.c_str()));
}

TEST(BitmapFiles, BadFilesMakeNeitherPictureNorPalette) {
    const std::vector<uint8_t> good = dib_builder::BitmapFile(InkPicture(40, 8));
    std::vector<uint8_t> wrongType = good;
    wrongType[1] = 'A';
    std::vector<uint8_t> missingPixels = good;
    missingPixels.resize(good.size() - 2);
    const std::vector<uint8_t> onlyHeader(good.begin(), good.begin() + 14);
    for (const auto& [name, bytes] : {std::pair<const char*, std::vector<uint8_t>>{"type.bmp", wrongType},
                                      {"pixels.bmp", missingPixels},
                                      {"header.bmp", onlyHeader},
                                      {"empty.bmp", {}}}) {
        const std::string path = panel_test::WriteTempFile(name, bytes);
        EXPECT_FALSE(LoadBitmapFile(path.c_str())) << name;
        EXPECT_FALSE(LoadPaletteFile(path.c_str())) << name;
    }
    EXPECT_FALSE(LoadBitmapFile("C:\\does\\not\\exist.bmp"));
    EXPECT_FALSE(LoadPaletteFile("C:\\does\\not\\exist.bmp"));
}

TEST(PanelPalettes, PictureWithoutColourTableAnswersZero) {
    panel_test::PanelHost host(20, 20);
    host.SendText(PPM_SETPICTUREFILE,
                  panel_test::WriteTempFile("deep.bmp", dib_builder::BitmapFile(InkPicture(40, 24))));
    host.SendText(PPM_SETBACKFILE,
                  panel_test::WriteTempFile("deep2.bmp", dib_builder::BitmapFile(InkPicture(40, 32))));
    EXPECT_EQ(host.Send(WM_QUERYNEWPALETTE), 0);
    EXPECT_EQ(host.Send(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow())), 0);
}

TEST(PanelPalettes, ChangeCausedByThePanelItselfIsIgnored) {
    panel_test::PanelHost host(20, 20);
    host.SendText(PPM_SETPICTUREFILE,
                  panel_test::WriteTempFile("pal8.bmp", dib_builder::BitmapFile(InkPicture(40, 8))));
    EXPECT_EQ(host.Send(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(host.Panel())), 0);
    // On a display without a palette nothing changes either; the message must still be safe.
    const LRESULT changed = host.Send(WM_QUERYNEWPALETTE);
    EXPECT_GE(changed, 0);
}

TEST(PanelPaths, CutPathIsNeverOpened) {
    // A real picture whose path is exactly 259 characters long...
    const std::string folder = panel_test::TempFolder();
    std::string name(259 - folder.size() - 4, 'p');
    name += ".bmp";
    const std::string path = panel_test::WriteTempFile(name, dib_builder::BitmapFile(InkPicture(40, 24)));
    ASSERT_EQ(path.size(), 259u);
    panel_test::PanelHost host(10, 10);
    host.SendText(PPM_SETPICTUREFILE, path);
    ASSERT_EQ(panel_test::Render(host.Panel()).Count(panel_test::Rgb(kInk)), 4);

    // ...is not opened when it is only the first 259 characters of a longer path.
    host.SendText(PPM_SETPICTUREFILE, path + "\\other.bmp");
    EXPECT_EQ(panel_test::Render(host.Panel()).Count(panel_test::Rgb(kInk)), 0);
    host.SendText(PPM_SETBACKFILE, path + "x");
    EXPECT_EQ(panel_test::Render(host.Panel()).Count(panel_test::Rgb(kInk)), 0);
    char text[400];
    GetWindowTextA(host.Panel(), text, sizeof text);
    EXPECT_EQ(std::string(text), path);  // the text is kept, cut
}

}  // namespace
