// What the panel paints: background, placed pictures and placed text, read
// back pixel by pixel from a memory bitmap.
#include <gtest/gtest.h>

#include <string>

#include "skerrit/panel/picture_panel_win.h"
#include "tests/skerrit/panel/panel_test_support_win.h"

namespace {

using dib_builder::Rgb;
using panel_test::PanelHost;
using panel_test::Render;
using panel_test::Rendering;

constexpr Rgb kRed{220, 20, 30};
constexpr Rgb kBlue{10, 40, 200};
constexpr Rgb kGreen{0, 160, 60};
constexpr COLORREF kBack = RGB(240, 240, 10);

std::string PictureFile(const std::string& name, const dib_builder::PictureDescription& picture) {
    return panel_test::WriteTempFile(name, dib_builder::BitmapFile(picture));
}

TEST(PanelPainting, FreshPanelIsBlackEverywhere) {
    PanelHost host(30, 20);
    const Rendering r = Render(host.Panel());
    EXPECT_EQ(r.Count(RGB(0, 0, 0)), 30 * 20);
}

TEST(PanelPainting, BackgroundColourCoversTheWholeClientArea) {
    PanelHost host(37, 23);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    const Rendering r = Render(host.Panel());
    EXPECT_EQ(r.Count(kBack), 37 * 23);
}

TEST(PanelPainting, Mode12CentresASmallPicture) {
    PanelHost host(100, 80);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    host.Send(PPM_SETPICTUREPLACEMENT, 12);
    host.SendText(PPM_SETPICTUREFILE, PictureFile("red10.bmp", dib_builder::Solid24(10, 10, kRed)));
    const Rendering r = Render(host.Panel());
    EXPECT_EQ(r.Count(panel_test::Rgb(kRed)), 100);
    const RECT bounds = r.BoundsNot(kBack);
    EXPECT_EQ(bounds.left, 45);
    EXPECT_EQ(bounds.top, 35);
    EXPECT_EQ(bounds.right, 55);
    EXPECT_EQ(bounds.bottom, 45);
}

TEST(PanelPainting, Mode12StretchesAPictureLargerInOneDirection) {
    for (const auto& size : {std::pair<int, int>{10, 200}, std::pair<int, int>{150, 5}}) {
        PanelHost host(100, 80);
        host.Send(PPM_SETBACKCOLOR, 0, kBack);
        host.Send(PPM_SETPICTUREPLACEMENT, 12);
        host.SendText(PPM_SETPICTUREFILE,
                      PictureFile("oblong.bmp", dib_builder::Solid24(size.first, size.second, kRed)));
        const Rendering r = Render(host.Panel());
        EXPECT_EQ(r.Count(panel_test::Rgb(kRed)), 100 * 80) << size.first << "x" << size.second;
    }
}

TEST(PanelPainting, Mode13TilesSixCopiesIntoTwentyFiveByFifteen) {
    PanelHost host(25, 15);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    host.Send(PPM_SETPICTUREPLACEMENT, 13);
    // One marked pixel in each copy's top left corner counts the copies.
    host.SendText(PPM_SETPICTUREFILE,
                  PictureFile("tile.bmp", panel_test::MarkedPicture(10, 10, kGreen, kRed, {{0, 0}})));
    const Rendering r = Render(host.Panel());
    EXPECT_EQ(r.Count(panel_test::Rgb(kRed)), 6);
    for (int y : {0, 10}) {
        for (int x : {0, 10, 20}) EXPECT_EQ(r.At(x, y), panel_test::Rgb(kRed)) << x << "," << y;
    }
    EXPECT_EQ(r.Count(kBack), 0);  // the clipped copies cover the rest
}

TEST(PanelPainting, Mode14StretchesAndAnchoredModesPlaceOneCopy) {
    PanelHost host(60, 50);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    const std::string picture = PictureFile("blue8x6.bmp", dib_builder::Solid24(8, 6, kBlue));
    host.Send(PPM_SETPICTUREPLACEMENT, 14);
    host.SendText(PPM_SETPICTUREFILE, picture);
    EXPECT_EQ(Render(host.Panel()).Count(panel_test::Rgb(kBlue)), 60 * 50);

    struct Case {
        WPARAM mode;
        int left, top;
    };
    for (const Case& c : {Case{9, 60 - 8 - 20, 50 - 6 - 20}, Case{5, 26, 44}, Case{6, 20, 20},
                          Case{0, 0, 0}, Case{0x20001, 52, 0}}) {
        host.Send(PPM_SETPICTUREPLACEMENT, c.mode);
        const Rendering r = Render(host.Panel());  // no repaint needed: takes effect at the next paint
        const RECT bounds = r.BoundsNot(kBack);
        EXPECT_EQ(bounds.left, c.left) << "mode " << c.mode;
        EXPECT_EQ(bounds.top, c.top) << "mode " << c.mode;
        EXPECT_EQ(r.Count(panel_test::Rgb(kBlue)), 48) << "mode " << c.mode;
    }
}

TEST(PanelPainting, BackgroundPictureIsStretchedToTheHeightAndRepeatedAcross) {
    PanelHost host(10, 20);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    // 4 x 2: the left column red, the rest blue.
    host.SendText(PPM_SETBACKFILE,
                  PictureFile("column.bmp", panel_test::MarkedPicture(4, 2, kBlue, kRed, {{0, 0}, {0, 1}})));
    const Rendering r = Render(host.Panel());
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 10; ++x) {
            const Rgb expected = x % 4 == 0 ? kRed : kBlue;
            ASSERT_EQ(r.At(x, y), panel_test::Rgb(expected)) << x << "," << y;
        }
    }
    // The picture goes on top of the background picture.
    host.Send(PPM_SETPICTUREPLACEMENT, 0);
    host.SendText(PPM_SETPICTUREFILE, PictureFile("green2.bmp", dib_builder::Solid24(2, 2, kGreen)));
    const Rendering both = Render(host.Panel());
    EXPECT_EQ(both.At(1, 1), panel_test::Rgb(kGreen));
    EXPECT_EQ(both.At(4, 1), panel_test::Rgb(kRed));

    // Dropping the background picture brings back the colour.
    host.Send(PPM_SETBACKFILE, 0, 0);
    EXPECT_EQ(Render(host.Panel()).At(9, 19), kBack);
}

TEST(PanelPainting, UnreadablePicturesLeaveOnlyTheBackground) {
    PanelHost host(20, 20);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    std::vector<uint8_t> notBitmap = dib_builder::BitmapFile(dib_builder::Solid24(4, 4, kRed));
    notBitmap[0] = 'X';
    std::vector<uint8_t> shortFile = dib_builder::BitmapFile(dib_builder::Solid24(4, 4, kRed));
    shortFile.resize(shortFile.size() - 1);
    for (const std::string& path :
         {panel_test::WriteTempFile("not.bmp", notBitmap), panel_test::WriteTempFile("short.bmp", shortFile),
          std::string("C:\\missing\\nothing.bmp")}) {
        host.SendText(PPM_SETPICTUREFILE, PictureFile("ok.bmp", dib_builder::Solid24(4, 4, kRed)));
        ASSERT_EQ(Render(host.Panel()).Count(panel_test::Rgb(kRed)), 16);
        host.SendText(PPM_SETPICTUREFILE, path);
        EXPECT_EQ(Render(host.Panel()).Count(kBack), 400) << path;
    }
}

Rendering RenderText(const std::string& text, WPARAM placement, const char* font = nullptr) {
    PanelHost host(160, 120);
    host.Send(PPM_SETTEXTCOLOR, 0, RGB(255, 255, 0));
    host.Send(PPM_SETTEXTPLACEMENT, placement);
    if (font != nullptr) host.SendText(PPM_SETFONT, font);
    host.SendText(PPM_SETTEXT, text);
    return Render(host.Panel());
}

TEST(PanelPainting, TextIsDrawnInItsColourAtItsPlace) {
    const Rendering topLeft = RenderText("Hello", 0);
    // Glyph edges may be smoothed; their cores carry the exact colour.
    ASSERT_GT(topLeft.Count(RGB(255, 255, 0)), 10);
    const RECT a = topLeft.BoundsNot(RGB(0, 0, 0));
    EXPECT_LT(a.right, 80);
    EXPECT_LT(a.bottom, 60);

    const RECT b = RenderText("Hello", 3).BoundsNot(RGB(0, 0, 0));
    EXPECT_GT(b.left, 80);
    EXPECT_GT(b.top, 60);
    EXPECT_EQ(b.right - b.left, a.right - a.left);  // same text, moved

    const RECT c = RenderText("Hello", 12).BoundsNot(RGB(0, 0, 0));
    EXPECT_NEAR((c.left + c.right) / 2, 80, 4);
    EXPECT_NEAR((c.top + c.bottom) / 2, 60, 6);

    const RECT d = RenderText("Hello", 10).BoundsNot(RGB(0, 0, 0));
    EXPECT_NEAR((d.left + d.right) / 2, 80, 4);
    EXPECT_GE(d.top, 20);
    EXPECT_LT(d.top, 30);
}

TEST(PanelPainting, EscapedNewLineBreaksTheLine) {
    const RECT one = RenderText("AB", 0).BoundsNot(RGB(0, 0, 0));
    const RECT two = RenderText("A\\nB", 0).BoundsNot(RGB(0, 0, 0));
    EXPECT_GT(two.bottom - two.top, (one.bottom - one.top) * 3 / 2);
    EXPECT_LT(two.right - two.left, one.right - one.left);
}

TEST(PanelPainting, FontDescriptionChangesTheGlyphs) {
    const RECT plain = RenderText("Hello", 0).BoundsNot(RGB(0, 0, 0));
    const RECT big = RenderText("Hello", 0, "40,0,700,1,0,0,Arial").BoundsNot(RGB(0, 0, 0));
    EXPECT_GT(big.bottom - big.top, (plain.bottom - plain.top) * 3 / 2);
}

}  // namespace
