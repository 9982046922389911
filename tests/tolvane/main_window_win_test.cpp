// The main window built in this process with the program's own resources, so
// that its system menu and frame can be read (menus of another process cannot
// be read under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "fixture_files_win.h"
#include "tests/driver/e2e_driver.h"
#include "tolvane/main_window_win.h"
#include "tolvane/resource.h"
#include "tolvane/run_settings_win.h"

namespace tolvane {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = e2e::MakeTempFolder("tvmain");
        ASSERT_FALSE(folder_.empty());
        RunSettings& settings = Settings();
        settings = RunSettings();
        settings.instance = GetModuleHandleA(nullptr);
        settings.command = ParseCommandLine("/O1 /F" + folder_ + "\\list.ini");
        // Any existing file will do for the list; this test program is one.
        ASSERT_TRUE(tolvane_test::WriteRegisterList(settings.command.list_file, {e2e::BinPath("tolvane_main_window_test.exe")}));
        static bool registered = RegisterMainWindowClass(settings.instance);
        ASSERT_TRUE(registered);
        ASSERT_TRUE(CreateMainWindow(settings.instance, SW_SHOWNORMAL));
        ExtendSystemMenu(settings.main_window);
    }
    void TearDown() override {
        if (IsWindow(Settings().main_window)) DestroyWindow(Settings().main_window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        e2e::RemoveTree(folder_);
    }
    std::string folder_;
};

TEST_F(MainWindowTest, SystemMenuEndsWithTheAboutItemWithoutSizeAndMaximize) {
    HMENU menu = GetSystemMenu(Settings().main_window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUT_SYSMENU));
    char label[128] = {};
    GetMenuStringA(menu, count - 1, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "&About Multi-File Registeration");
    MENUITEMINFOA separator = {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(MainWindowTest, WindowFitsTheConfirmationDialogAndIsCentred) {
    HWND main = Settings().main_window;
    HWND dialog = Settings().confirm_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetParent(dialog), main);
    RECT client = {}, dialog_rect = {};
    GetClientRect(main, &client);
    GetWindowRect(dialog, &dialog_rect);
    EXPECT_EQ(client.right, dialog_rect.right - dialog_rect.left);
    EXPECT_EQ(client.bottom, dialog_rect.bottom - dialog_rect.top);

    char class_name[64] = {};
    GetClassNameA(main, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "TVMultiFileRegisterClass");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    RECT window = {}, desktop = {};
    GetWindowRect(main, &window);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(window.left, desktop.left + (desktop.right - desktop.left - (window.right - window.left)) / 2 + caption);
    EXPECT_EQ(window.top, desktop.top + (desktop.bottom - desktop.top - (window.bottom - window.top)) / 2 + caption);
}

TEST_F(MainWindowTest, DialogsDrawOnTheButtonFace) {
    HWND dialog = Settings().confirm_dialog;
    HDC dc = GetDC(dialog);
    const HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH info = {};
    ASSERT_NE(GetObjectA(brush, sizeof info, &info), 0);
    EXPECT_EQ(info.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    // The same brush every time, not one per message.
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0)),
              brush);
    ReleaseDC(dialog, dc);
}

}  // namespace
}  // namespace tolvane
