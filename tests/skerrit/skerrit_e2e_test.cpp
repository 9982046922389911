#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace skerrit_e2e;

namespace {

const char kWelcomeMessage[] =
    "You are about to remove previously installed programs and their associated shortcuts.  "
    "Press Cancel now if this is not what you want to do.";

// Where CenterOnDesktop puts a window of this size.
void ExpectCentredOnDesktop(HWND window) {
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(own.left, desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2 + caption);
    EXPECT_EQ(own.top, desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2 + caption);
}

// The main window is the welcome dialog plus borders, caption and (although
// it has none) a menu bar.
void ExpectFittedToWelcome(HWND main, HWND welcome) {
    RECT frame;
    RECT dialog;
    GetWindowRect(main, &frame);
    GetWindowRect(welcome, &dialog);
    const int border = GetSystemMetrics(SM_CYBORDER);
    EXPECT_EQ(frame.right - frame.left, (dialog.right - dialog.left) + 2 * border);
    EXPECT_EQ(frame.bottom - frame.top, (dialog.bottom - dialog.top) + GetSystemMetrics(SM_CYCAPTION) +
                                            GetSystemMetrics(SM_CYMENU) + 2 * border);
}

class SkerritRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = e2e::MakeTempFolder("skr");
        params_ = folder_ + "\\params.ini";
    }
    void TearDown() override {
        for (e2e::Process* p : {&process_}) p->Kill();
        RemoveTempCopies();
        e2e::RemoveTree(folder_);
    }
    std::string folder_;
    std::string params_;
    e2e::Process process_;
};

TEST_F(SkerritRun, EntryModeWritesTheEntryAndExitCodeWithoutAWindow) {
    const std::string product = "H1 Spine Product";
    DeleteUninstallEntry(product);
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=C:\\App\r\n"));
    process_ = e2e::Start(e2e::BinPath("skerrit.exe"),
                          "/I /N  " + product + "  /V 1.0 /L C:\\App\\install.log /R " + params_);
    ASSERT_TRUE(process_.valid());
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(20000, &exit_code)) << "a window would keep the run waiting";
    EXPECT_EQ(exit_code, 1u);
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    EXPECT_EQ(RegistryString(product, "DisplayName"), product + " 1.0");
    char exe[MAX_PATH];
    GetFullPathNameA(e2e::BinPath("skerrit.exe").c_str(), sizeof(exe), exe, nullptr);
    const std::string expected = "\"" + std::string(exe) + "\" /L C:\\App\\install.log /N " + product + " /Z 1";
    EXPECT_EQ(lstrcmpiA(RegistryString(product, "UninstallString").c_str(), expected.c_str()), 0)
        << RegistryString(product, "UninstallString") << " vs " << expected;
    EXPECT_EQ(CountTempCopies(), 0) << "entry mode never copies itself";
    DeleteUninstallEntry(product);
}

TEST_F(SkerritRun, EntryModeWithoutNameAndVersionWritesUnknown) {
    DeleteUninstallEntry("Unknown");
    process_ = e2e::Start(e2e::BinPath("skerrit.exe"), "/I /R " + params_);
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(20000, &exit_code));
    EXPECT_EQ(exit_code, 1u);
    EXPECT_EQ(RegistryString("Unknown", "DisplayName"), "Unknown 0.00");
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
    DeleteUninstallEntry("Unknown");
}

TEST_F(SkerritRun, WelcomeShowsRecordZeroAndTheAboutBoxRecordFive) {
    process_ = e2e::Start(e2e::BinPath("skerrit.exe"), "");
    HWND main = WaitForMainWindow(process_.pid());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main), "Varnex-AX Uninstaller");
    HWND welcome = WelcomeDialogOf(main);
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(e2e::ControlText(welcome, 1002), kWelcomeMessage);
    EXPECT_EQ(e2e::ControlText(welcome, 1), "Continue...");
    EXPECT_EQ(e2e::ControlText(welcome, 2), "Cancel");
    EXPECT_EQ(e2e::ControlText(welcome, 1001), "http://www.tavrin.example/");
    EXPECT_EQ(e2e::Control(welcome, 1004), nullptr) << "plain welcome has no picture panel";
    EXPECT_EQ(CountTempCopies(), 0) << "no switches: no copy";
    ExpectCentredOnDesktop(main);
    EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    ExpectFittedToWelcome(main, welcome);
    e2e::ScreenshotIfRequested("skerrit_welcome", main);

    e2e::PostSystemCommand(main, 2024);
    HWND about = WaitForDialog(process_.pid(), "About Varnex-AX Uninstaller");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(e2e::ControlText(about, 1002).find("Tavrin Uninstaller"), std::string::npos);
    EXPECT_NE(e2e::ControlText(about, 1002).find("\r\n"), std::string::npos);
    EXPECT_EQ(e2e::ControlText(about, 1), "OK");
    EXPECT_EQ(e2e::ControlText(about, 1001), "http://www.tavrin.example/");
    ExpectCentredOnDesktop(about);
    e2e::ScreenshotIfRequested("skerrit_about", about);
    ASSERT_TRUE(e2e::ClickButton(about, 1));
    ASSERT_TRUE(e2e::WaitForWindowGone(about));

    ASSERT_TRUE(e2e::ClickButton(welcome, 2));
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(10000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
}

TEST_F(SkerritRun, ContinueWithoutLogShowsTheErrorAndWritesTwo) {
    // Started as the temporary copy (/X), it runs in place, so /R can be given.
    const std::string exe = TempFolder() + "skerinplace.exe";
    ASSERT_TRUE(CopySkerritTo(exe));
    process_ = e2e::Start(exe, "/R " + params_ + " /Z 1 /X");
    HWND main = WaitForMainWindow(process_.pid());
    ASSERT_NE(main, nullptr);
    EXPECT_NE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "/Z 1 keeps the window on top";
    EXPECT_EQ(CountTempCopies(), 1) << "the copy makes no second copy";
    ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 1));
    HWND error = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Error");
    ASSERT_NE(error, nullptr);
    EXPECT_NE(e2e::ControlText(error, 1002).find("could not locate the installation log"), std::string::npos);
    EXPECT_FALSE(e2e::IsVisible(error, 2));
    ASSERT_TRUE(e2e::ClickButton(error, 1));
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(10000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
}

TEST_F(SkerritRun, ClosingTheMainWindowEndsTheRunAsNothingDone) {
    const std::string exe = TempFolder() + "skerh1close.exe";
    ASSERT_TRUE(CopySkerritTo(exe));
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=7\r\n"));
    process_ = e2e::Start(exe, "/R " + params_ + " /X");
    HWND main = WaitForMainWindow(process_.pid());
    ASSERT_NE(main, nullptr);
    e2e::PostClose(main);
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(10000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
}

TEST_F(SkerritRun, StartedOutsideTempItCopiesItselfAndTheCopyRuns) {
    RemoveTempCopies();
    process_ = e2e::Start(e2e::BinPath("skerrit.exe"), "/L " + folder_ + "\\missing.log /R " + params_);
    DWORD exit_code = 99;
    ASSERT_TRUE(process_.Wait(15000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "") << "the original does not write";
    EXPECT_EQ(CountTempCopies(), 1);

    HWND main = WaitForMainWindow(0, process_.pid());
    ASSERT_NE(main, nullptr) << "the copy shows the welcome dialog";
    HWND welcome = WelcomeDialogOf(main);
    e2e::Process copy(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                                  e2e::WindowProcessId(main)),
                      e2e::WindowProcessId(main));
    ASSERT_TRUE(e2e::ClickButton(welcome, 2));
    DWORD copy_exit = 99;
    ASSERT_TRUE(copy.Wait(10000, &copy_exit));
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
}

}  // namespace
