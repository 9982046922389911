// "Restart Now" really restarts: under Wine the restart ends the session and carries out the
// deletions pending for the next start, so the running copy of the uninstaller is gone after it.
// Its own program: the restart touches the whole Wine session.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/removal_run_fixture_win.h"

using namespace skerrit_e2e;

namespace {

TEST_F(RemovalRun, RestartLaterKeepsTheRunningCopyUntilTheNextStart) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    FinishWithRestartLater();
    EXPECT_TRUE(e2e::FileExists(exe_)) << "no restart, so the pending deletion has not run";
}

TEST_F(RemovalRun, RestartNowRestartsAndThePendingDeletionRemovesTheRunningCopy) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    HWND restart = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Restart", 20000);
    ASSERT_NE(restart, nullptr);
    EXPECT_TRUE(e2e::IsChecked(restart, 1007)) << "the privilege can be had, so Restart Now is preselected";
    EXPECT_FALSE(e2e::IsChecked(restart, 1008));
    ASSERT_TRUE(e2e::ClickButton(restart, 1));
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::FileExists(exe_); }, 30000))
        << "the restart did not carry out the deletion of " << exe_;
}

}  // namespace
