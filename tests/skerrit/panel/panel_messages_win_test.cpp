// The panel's message interface: stored values, results and text limits.
#include <gtest/gtest.h>

#include <string>

#include "skerrit/panel/picture_panel_win.h"
#include "tests/skerrit/panel/panel_test_support_win.h"

namespace {

using panel_test::PanelHost;

TEST(PicturePanelWindow, ClassIsRegisteredAndCreationEmptiesTheText) {
    ASSERT_TRUE(panel_test::EnsurePanelClass());
    PanelHost host(40, 30);
    ASSERT_NE(host.Panel(), nullptr);
    char name[64] = {};
    GetClassNameA(host.Panel(), name, sizeof name);
    EXPECT_STREQ(name, "TVCustomEventPIC");
    char text[64] = "x";
    GetWindowTextA(host.Panel(), text, sizeof text);
    EXPECT_STREQ(text, "");  // the template's "Custom1" is not a picture path
    EXPECT_EQ(GetClassLongA(host.Panel(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW),
              static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW));
}

TEST(PicturePanelMessages, FreshPanelHasZeroSettings) {
    PanelHost host(40, 30);
    EXPECT_EQ(host.Send(PPM_GETPICTUREPLACEMENT), 0);
    EXPECT_EQ(host.Send(PPM_GETTEXTPLACEMENT), 0);
    EXPECT_EQ(host.Send(PPM_GETTEXTCOLOR), 0);
    EXPECT_EQ(host.Send(PPM_GETBACKCOLOR), 0);
    char buffer[16] = "untouched";
    EXPECT_EQ(host.Send(PPM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(PicturePanelMessages, PlacementsKeepTheLow16Bits) {
    PanelHost host(40, 30);
    EXPECT_EQ(host.Send(PPM_SETPICTUREPLACEMENT, 0x0005000D), 0);
    EXPECT_EQ(host.Send(PPM_GETPICTUREPLACEMENT), 13);
    EXPECT_EQ(host.Send(PPM_SETTEXTPLACEMENT, 0xFFFF000C), 0);
    EXPECT_EQ(host.Send(PPM_GETTEXTPLACEMENT), 12);
    host.Send(PPM_SETPICTUREPLACEMENT, 100);
    EXPECT_EQ(host.Send(PPM_GETPICTUREPLACEMENT), 100);
}

TEST(PicturePanelMessages, ColoursRoundTrip) {
    PanelHost host(40, 30);
    EXPECT_EQ(host.Send(PPM_SETTEXTCOLOR, 0, RGB(1, 2, 3)), 0);
    EXPECT_EQ(host.Send(PPM_GETTEXTCOLOR), static_cast<LRESULT>(RGB(1, 2, 3)));
    EXPECT_EQ(host.Send(PPM_SETBACKCOLOR, 0, RGB(250, 128, 7)), 0);
    EXPECT_EQ(host.Send(PPM_GETBACKCOLOR), static_cast<LRESULT>(RGB(250, 128, 7)));
}

TEST(PicturePanelMessages, TextIsDecodedAndCopiedOutWithinLimits) {
    PanelHost host(40, 30);
    EXPECT_EQ(host.SendText(PPM_SETTEXT, "A\\nB\\tC"), 0);
    char buffer[300];
    EXPECT_EQ(host.Send(PPM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_STREQ(buffer, "A\rB\tC");
    EXPECT_EQ(host.Send(PPM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_STREQ(buffer, "A\r");

    // Size 0 or no buffer: untouched, result 0.
    strcpy(buffer, "keep");
    EXPECT_EQ(host.Send(PPM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(host.Send(PPM_GETTEXT, 10, 0), 0);

    // A null text changes nothing.
    EXPECT_EQ(host.Send(PPM_SETTEXT, 0, 0), 0);
    EXPECT_EQ(host.Send(PPM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 5);

    // Long texts are cut at 259 characters before decoding.
    const std::string longText = std::string(258, 'x') + "\\n" + "tail";
    host.SendText(PPM_SETTEXT, longText);
    EXPECT_EQ(host.Send(PPM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 259);
    EXPECT_EQ(buffer[257], 'x');
    EXPECT_EQ(buffer[258], '\\');
}

TEST(PicturePanelMessages, FontDescriptionIsKeptUnchanged) {
    PanelHost host(40, 30);
    char buffer[64];
    EXPECT_EQ(host.Send(PPM_GETFONT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(host.SendText(PPM_SETFONT, "12,0,700,1,0,0,Arial\\n"), 0);
    EXPECT_EQ(host.Send(PPM_GETFONT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 22);
    EXPECT_STREQ(buffer, "12,0,700,1,0,0,Arial\\n");  // no escape decoding
    EXPECT_EQ(host.Send(PPM_SETFONT, 0, 0), 0);
    EXPECT_EQ(host.Send(PPM_GETFONT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 22);
}

TEST(PicturePanelMessages, PictureFilePathBecomesTheWindowText) {
    PanelHost host(40, 30);
    host.SendText(PPM_SETPICTUREFILE, "C:\\no such folder\\picture.bmp");
    char text[MAX_PATH];
    GetWindowTextA(host.Panel(), text, sizeof text);
    EXPECT_STREQ(text, "C:\\no such folder\\picture.bmp");
    host.SendText(PPM_SETPICTUREFILE, "");
    GetWindowTextA(host.Panel(), text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST(PicturePanelMessages, OnlyThreeSettersRepaint) {
    PanelHost host(40, 30);
    ShowWindow(host.Host(), SW_SHOWNA);
    UpdateWindow(host.Host());
    auto pending = [&] { return GetUpdateRect(host.Panel(), nullptr, FALSE) != FALSE; };
    ASSERT_FALSE(pending());
    host.Send(PPM_SETBACKCOLOR, 0, RGB(9, 9, 9));
    host.Send(PPM_SETPICTUREPLACEMENT, 3);
    host.SendText(PPM_SETTEXT, "t");
    host.SendText(PPM_SETFONT, "10");
    EXPECT_FALSE(pending());
    host.SendText(PPM_SETBACKFILE, "");
    EXPECT_TRUE(pending());
    UpdateWindow(host.Panel());
    host.SendText(PPM_SETPICTUREFILE, "");
    EXPECT_TRUE(pending());
}

TEST(PicturePanelMessages, PaintOnlyValidatesAndEraseReturnsOne) {
    PanelHost host(40, 30);
    LRESULT erased = 0;
    panel_test::Render(host.Panel(), &erased);
    EXPECT_EQ(erased, 1);
    InvalidateRect(host.Panel(), nullptr, FALSE);
    SendMessageA(host.Panel(), WM_PAINT, 0, 0);
    EXPECT_FALSE(GetUpdateRect(host.Panel(), nullptr, FALSE));
}

}  // namespace
