// skerrit's window classes and link font as the program registers and
// creates them (read in this process: another process's class data cannot be
// read under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include "skerrit/dialogs/dialog_look_win.h"
#include "skerrit/startup/main_window_win.h"

namespace {

TEST(SkerritWindowClasses, MainClassUnderBothSpellingsAndThePanelClass) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterWindowClasses(instance));
    WNDCLASSA main = {};
    ASSERT_TRUE(GetClassInfoA(instance, "TVUninstallClass", &main));
    EXPECT_EQ(main.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(main.hbrBackground, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(main.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(main.lpszMenuName, nullptr);
    WNDCLASSA created_as = {};
    ASSERT_TRUE(GetClassInfoA(instance, "TVUnInstallClass", &created_as)) << "the spelling the window is created with";
    EXPECT_EQ(created_as.lpfnWndProc, main.lpfnWndProc);
    WNDCLASSA panel = {};
    EXPECT_TRUE(GetClassInfoA(instance, "TVCustomEventPIC", &panel));
}

TEST(SkerritLinkFont, UnderlinedMsSansSerifOfHeightEight) {
    HFONT font = CreateLinkFont();
    ASSERT_NE(font, nullptr);
    LOGFONTA described = {};
    ASSERT_NE(GetObjectA(font, sizeof(described), &described), 0);
    EXPECT_EQ(described.lfHeight, 8);
    EXPECT_EQ(described.lfWeight, FW_NORMAL);
    EXPECT_TRUE(described.lfUnderline);
    EXPECT_FALSE(described.lfItalic);
    EXPECT_EQ(described.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(described.lfFaceName, "MS Sans Serif");
    DeleteObject(font);
}

}  // namespace
