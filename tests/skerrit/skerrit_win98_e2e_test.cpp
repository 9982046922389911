// skerrit on a prefix that presents Windows 98: the restart needs no
// privilege there, so "Restart Now" is preselected and enabled.
#include <windows.h>

#include <gtest/gtest.h>

#include "skerrit/startup/system_services_win.h"
#include "tests/skerrit/removal_run_fixture_win.h"

using namespace skerrit_e2e;

namespace {

TEST(Win98Platform, PrefixPresentsThe9xFamilyAndRestartNeedsNoPrivilege) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExA(&version));
#pragma GCC diagnostic pop
    ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    EXPECT_TRUE(EnableShutdownPrivilege());
}

TEST_F(RemovalRun, RestartNowIsPreselectedOnWindows98) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    HWND restart = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Restart", 20000);
    ASSERT_NE(restart, nullptr);
    EXPECT_TRUE(e2e::IsChecked(restart, 1007));
    EXPECT_TRUE(e2e::IsEnabled(restart, 1007));
    EXPECT_FALSE(e2e::IsChecked(restart, 1008));
    FinishWithRestartLater();
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
}

}  // namespace
