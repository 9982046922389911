// The removal run end to end: welcome, review of the log, removal, restart
// question, and what is left on the machine afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/removal_run_fixture_win.h"

using namespace skerrit_e2e;

namespace {

TEST_F(RemovalRun, RemoveDeletesTheListedFilesTheLogAndTheEntry) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    EXPECT_TRUE(e2e::IsVisible(review, 1000));
    EXPECT_EQ(e2e::ControlText(review, 1), "Remove");
    EXPECT_EQ(e2e::ControlText(review, 2), "Cancel");
    const std::vector<std::string> items = e2e::ListBoxItems(review, 1000);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(lstrcmpiA(items[0].c_str(), (app_ + "\\a.txt").c_str()), 0) << items[0];
    e2e::ScreenshotIfRequested("skerrit_review", review);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    FinishWithRestartLater();
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    EXPECT_FALSE(e2e::FileExists(app_ + "\\a.txt"));
    EXPECT_FALSE(e2e::FileExists(app_ + "\\sub\\b.txt"));
    EXPECT_FALSE(e2e::FileExists(log_));
    EXPECT_FALSE(UninstallEntryExists(kProduct));
}

TEST_F(RemovalRun, CancelInTheReviewLeavesEverythingAndWritesTwo) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 2));
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
    EXPECT_TRUE(e2e::FileExists(app_ + "\\a.txt"));
    EXPECT_TRUE(e2e::FileExists(log_));
    EXPECT_TRUE(UninstallEntryExists(kProduct));
}

TEST_F(RemovalRun, HiddenReviewListStillRemovesEverything) {
    e2e::Process tool = e2e::Start(e2e::BinPath("tvcfg.exe"), "set-flags " + exe_ + " 1 2");
    DWORD tool_code = 99;
    ASSERT_TRUE(tool.Wait(20000, &tool_code));
    ASSERT_EQ(tool_code, 0u);
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    EXPECT_FALSE(e2e::IsVisible(review, 1000));
    EXPECT_EQ(e2e::ListBoxItems(review, 1000).size(), 2u) << "the hidden list still collects";
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    FinishWithRestartLater();
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    EXPECT_FALSE(e2e::FileExists(app_ + "\\sub\\b.txt"));
}

TEST_F(RemovalRun, MissingLogShowsTheErrorAndEndsAsCancelled) {
    DeleteFileA(log_.c_str());
    ASSERT_NO_FATAL_FAILURE(PassWelcomeToTheError("/L " + log_ + " /N " + kProduct + " /R " + params_ + " /X"));
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
    EXPECT_TRUE(UninstallEntryExists(kProduct));
}

}  // namespace
