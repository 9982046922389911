// The system menu of skerrit's main window, read inside the program through a
// message hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/driver/menu_probe.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace skerrit_e2e;

namespace {

TEST(SkerritSystemMenu, HasTheAboutItemAndNeitherSizeNorMaximize) {
    e2e::Process process = e2e::Start(e2e::BinPath("skerrit.exe"), "");
    HWND main = WaitForMainWindow(process.pid());
    ASSERT_NE(main, nullptr);

    std::vector<menu_probe::MenuItem> menu;
    ASSERT_TRUE(menu_probe::ReadSystemMenu(main, menu));
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu.back().id, 2024u);
    EXPECT_EQ(menu.back().text, "&About Tavrin Uninstaller...");
    EXPECT_TRUE(menu[menu.size() - 2].separator);
    bool has_close = false;
    for (const menu_probe::MenuItem& item : menu) {
        EXPECT_NE(item.id, static_cast<UINT>(SC_SIZE)) << item.text;
        EXPECT_NE(item.id, static_cast<UINT>(SC_MAXIMIZE)) << item.text;
        has_close = has_close || item.id == SC_CLOSE;
    }
    EXPECT_TRUE(has_close) << "the rest of the system menu stays";

    ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 2));
    EXPECT_TRUE(process.Wait(10000));
}

}  // namespace
