// The removal run's set-up shared by the end-to-end tests: an installed
// folder with two files, its log, the parameter file, an uninstall entry and
// a copy of skerrit in the temporary folder, started as the temporary copy (/X)
// so that it runs in place.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

namespace skerrit_e2e {

inline constexpr char kProduct[] = "H1 Removal Product";

class RemovalRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = e2e::MakeTempFolder("skrm");
        app_ = folder_ + "\\app";
        CreateDirectoryA(app_.c_str(), nullptr);
        CreateDirectoryA((app_ + "\\sub").c_str(), nullptr);
        ASSERT_TRUE(e2e::WriteFile(app_ + "\\a.txt", "a"));
        ASSERT_TRUE(e2e::WriteFile(app_ + "\\sub\\b.txt", "b"));
        log_ = folder_ + "\\install.log";
        ASSERT_TRUE(e2e::WriteFile(log_, "Installing\r\n" + app_ + "\\a.txt (Extracted)\r\n" + app_ +
                                             "\\sub\\b.txt (Extracted)\r\n"));
        params_ = folder_ + "\\params.ini";
        // Present from the start, as the installer writes it: the removal takes
        // away folders that became empty, and this one must stay.
        ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=" + app_ + "\r\n"));
        exe_ = TempFolder() + "skerh1rm.exe";
        ASSERT_TRUE(CopySkerritTo(exe_));
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                        (std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kProduct).c_str(),
                        0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    void TearDown() override {
        process_.Kill();
        process_.Wait(5000);
        DeleteFileA(exe_.c_str());
        DeleteUninstallEntry(kProduct);
        e2e::RemoveTree(folder_);
    }
    HWND ContinueToReview() {
        process_ = e2e::Start(exe_, "/L " + log_ + " /N " + kProduct + " /R " + params_ + " /X");
        HWND main = WaitForMainWindow(process_.pid());
        if (main == nullptr) return nullptr;
        e2e::ClickButton(WelcomeDialogOf(main), 1);
        return WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Items to be removed");
    }
    // Starts a run with `args`, passes the welcome and answers the error the run must show.
    void PassWelcomeToTheError(const std::string& args, const std::string& work_folder = "") {
        process_ = e2e::Start(exe_, args, work_folder);
        HWND main = WaitForMainWindow(process_.pid());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 1));
        HWND error = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Error");
        ASSERT_NE(error, nullptr);
        ASSERT_TRUE(e2e::ClickButton(error, 1));
    }
    void FinishWithRestartLater() {
        HWND restart = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Restart", 20000);
        ASSERT_NE(restart, nullptr);
        EXPECT_EQ(e2e::ControlText(restart, 1007), "Restart Now");
        EXPECT_EQ(e2e::ControlText(restart, 1008), "Restart Later");
        EXPECT_NE(e2e::IsChecked(restart, 1007), e2e::IsChecked(restart, 1008)) << "one option preselected";
        // Never restart the test machine.
        e2e::SetChecked(restart, 1007, false);
        e2e::SetChecked(restart, 1008, true);
        ASSERT_TRUE(e2e::ClickButton(restart, 1));
        DWORD code = 99;
        ASSERT_TRUE(process_.Wait(15000, &code));
        EXPECT_EQ(code, 0u);
    }
    std::string folder_, app_, log_, params_, exe_;
    e2e::Process process_;
};

}  // namespace skerrit_e2e
