// The shared-file question during a removal, and Cancel while the removal runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/removal_run_fixture_win.h"

using namespace skerrit_e2e;

namespace {

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class SharedFileRun : public RemovalRun {
protected:
    void SetUp() override {
        RemovalRun::SetUp();
        shared_ = app_ + "\\sub\\b.txt";  // deepest: asked about first
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        const DWORD count = 2;
        RegSetValueExA(key, shared_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
        RegCloseKey(key);
    }
    void TearDown() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, shared_.c_str());
            RegCloseKey(key);
        }
        RemovalRun::TearDown();
    }
    HWND RemoveUntilSharedQuestion() {
        HWND review = ContinueToReview();
        if (review == nullptr || !e2e::ClickButton(review, 1)) return nullptr;
        return WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Shared File");
    }
    std::string shared_;
};

TEST_F(SharedFileRun, SkipKeepsTheSharedFileAndTheRemovalGoesOn) {
    HWND question = RemoveUntilSharedQuestion();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(lstrcmpiA(e2e::ControlText(question, 1009).c_str(), shared_.c_str()), 0);
    EXPECT_EQ(e2e::ControlText(question, 1), "OK");
    EXPECT_EQ(e2e::ControlText(question, 2), "Skip");
    e2e::ScreenshotIfRequested("skerrit_shared_file", question);
    ASSERT_TRUE(e2e::ClickButton(question, 2));
    FinishWithRestartLater();
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    EXPECT_TRUE(e2e::FileExists(shared_));
    EXPECT_FALSE(e2e::FileExists(app_ + "\\a.txt"));
}

TEST_F(SharedFileRun, CancelDuringTheRemovalStopsAfterTheCurrentFile) {
    HWND question = RemoveUntilSharedQuestion();
    ASSERT_NE(question, nullptr);
    HWND removal = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Removal In Process");
    ASSERT_NE(removal, nullptr);
    EXPECT_EQ(e2e::ControlText(removal, 1002), "To stop the removal process, press Cancel.");
    EXPECT_FALSE(e2e::IsVisible(removal, 1));
    ASSERT_TRUE(e2e::ClickButton(removal, 2));
    ASSERT_TRUE(e2e::ClickButton(question, 1));  // remove the shared file, then stop

    HWND cancelled = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Cancelled", 15000);
    ASSERT_NE(cancelled, nullptr);
    EXPECT_EQ(e2e::ControlText(cancelled, 1), "OK");
    ASSERT_TRUE(e2e::ClickButton(cancelled, 1));
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
    EXPECT_FALSE(e2e::FileExists(shared_));
    EXPECT_TRUE(e2e::FileExists(app_ + "\\a.txt")) << "files after the cancel stay";
    EXPECT_FALSE(e2e::FileExists(log_));
    EXPECT_FALSE(UninstallEntryExists(kProduct));
}

// Cancel ends the removal dialog while the shared-file question is still
// open; the welcome dialog is reachable again. Continue there must not start
// a second review and removal under the first one.
TEST_F(SharedFileRun, ContinueWhileTheQuestionIsOpenStartsNoSecondRemoval) {
    HWND question = RemoveUntilSharedQuestion();
    ASSERT_NE(question, nullptr);
    HWND removal = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Removal In Process");
    ASSERT_NE(removal, nullptr);
    ASSERT_TRUE(e2e::ClickButton(removal, 2));
    HWND main = WaitForMainWindow(process_.pid());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 1));
    ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 2));
    EXPECT_EQ(WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Items to be removed", 3000), nullptr);
    ASSERT_TRUE(e2e::ClickButton(question, 1));

    HWND cancelled = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Cancelled", 15000);
    ASSERT_NE(cancelled, nullptr);
    ASSERT_TRUE(e2e::ClickButton(cancelled, 1));
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code)) << "a second sequence is still showing dialogs";
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
    EXPECT_FALSE(e2e::FileExists(shared_));
    EXPECT_TRUE(e2e::FileExists(app_ + "\\a.txt"));
    EXPECT_TRUE(e2e::FileExists(params_));
    EXPECT_FALSE(e2e::FileExists(log_));
}

}  // namespace
