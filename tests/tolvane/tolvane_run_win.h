// Runs tolvane.exe as the installer and the user would: a real list file and
// parameter file, the real windows, buttons pressed by id; the tests then
// check the registry, the files and ExitCode.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixture_files_win.h"
#include "tests/driver/e2e_driver.h"

namespace tolvane_test {

constexpr int kFileList = 1000;
constexpr int kFileName = 1002;
constexpr int kAboutSystemCommand = 2024;
const char kMainClass[] = "TVMultiFileRegisterClass";

class TolvaneRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = e2e::MakeTempFolder("tve2e");
        ASSERT_FALSE(root_.empty());
        root_ += '\\';
        list_ = root_ + "register.ini";
        params_ = root_ + "params.ini";
        RemoveFixtureTypeLibRegistration();
    }
    void TearDown() override {
        process_.Kill();
        for (const std::string& name : keys_) DeleteServerKey(name);
        RemoveFixtureTypeLibRegistration();
        e2e::RemoveTree(root_.substr(0, root_.size() - 1));
    }

    std::string Server(const std::string& relative_folder, const std::string& base_name) {
        keys_.push_back(base_name);
        DeleteServerKey(base_name);
        const std::string path = root_ + relative_folder + "\\" + base_name + ".dll";
        EXPECT_TRUE(PlaceFixture(FixtureServer(), path));
        return path;
    }
    std::string Fixture(const std::string& fixture, const std::string& relative) {
        const std::string path = root_ + relative;
        EXPECT_TRUE(PlaceFixture(fixture, path));
        return path;
    }

    void Start(const std::string& args) {
        process_ = e2e::Start(e2e::BinPath("tolvane.exe"), args, root_);
        ASSERT_TRUE(process_.valid());
    }
    void StartRegistration(const char* operation) {
        Start(std::string("/O") + operation + " /F" + list_ + " /R" + params_);
    }

    // A top-level dialog of the program with this title.
    HWND Dialog(const char* title) {
        e2e::WindowQuery query;
        query.title = title;
        query.pid = process_.pid();
        return e2e::WaitForWindow(query, 15000);
    }
    // Reads the file name a message dialog shows and presses its OK.
    std::string AcknowledgeDialog(const char* title) {
        HWND dialog = Dialog(title);
        if (dialog == nullptr) return "<no " + std::string(title) + " dialog>";
        const std::string shown = e2e::ControlText(dialog, kFileName);
        EXPECT_TRUE(e2e::ClickButton(dialog, IDOK));
        EXPECT_TRUE(e2e::WaitForWindowGone(dialog));
        return shown;
    }

    HWND MainWindow() {
        e2e::WindowQuery query;
        query.className = kMainClass;
        query.pid = process_.pid();
        return e2e::WaitForWindow(query, 15000);
    }
    static HWND ConfirmDialogOf(HWND main) {
        for (const e2e::ControlInfo& control : e2e::ListControls(main)) {
            if (control.className == "#32770") return control.hwnd;
        }
        return nullptr;
    }

    DWORD Finish() {
        DWORD code = 0xFFFF;
        EXPECT_TRUE(process_.Wait(20000, &code)) << "tolvane did not end";
        return code;
    }
    std::string ExitCode() { return e2e::ReadIni(params_, "TVRTP", "ExitCode"); }

    // Opens the main window, checks the listed files, presses a button and
    // waits for the run to end.
    void ConfirmWith(int button, const std::vector<std::string>& expected_sorted) {
        HWND main = MainWindow();
        ASSERT_NE(main, nullptr);
        HWND confirm = ConfirmDialogOf(main);
        ASSERT_NE(confirm, nullptr);
        EXPECT_EQ(e2e::ListBoxItems(confirm, kFileList), expected_sorted);
        ASSERT_TRUE(e2e::ClickButton(confirm, button));
        EXPECT_EQ(Finish(), 0u);
    }

    std::string root_, list_, params_;
    std::vector<std::string> keys_;
    e2e::Process process_;
};

inline std::vector<std::string> SortedLikeTheList(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return paths;
}

}  // namespace tolvane_test
