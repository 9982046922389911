// Drives tolvane.exe as the installer and the user would: a real list file
// and parameter file, the real windows, buttons pressed by id, then the
// registry, the files and ExitCode are checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixture_files_win.h"
#include "tests/driver/e2e_driver.h"

namespace {

using namespace tolvane_test;

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

std::vector<std::string> SortedLikeTheList(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return paths;
}

TEST_F(TolvaneRun, RegistersTheSortedListThenUnregistersIt) {
    const std::string c = Server("c", "tve2e_c");
    const std::string b = Server("b folder", "tve2e_b");
    const std::string tlb = Fixture(FixtureTypeLib(), "a\\fixture.tlb");
    ASSERT_TRUE(WriteRegisterList(list_, {c, b, tlb}));

    StartRegistration("1");
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main), "Multi-File Registration");
    e2e::ScreenshotIfRequested("tolvane-confirm", main);
    ConfirmWith(IDOK, {tlb, b, c});
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_TRUE(ServerKeyExists("tve2e_b"));
    EXPECT_TRUE(ServerKeyExists("tve2e_c"));
    EXPECT_TRUE(FixtureTypeLibRegistered());
    // Each server ran from its own folder.
    EXPECT_EQ(ServerCalledFrom("tve2e_b"), root_ + "b folder");
    EXPECT_EQ(ServerCalledFrom("tve2e_c"), root_ + "c");

    StartRegistration("0");
    ConfirmWith(IDOK, {tlb, b, c});
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_FALSE(ServerKeyExists("tve2e_b"));
    EXPECT_FALSE(ServerKeyExists("tve2e_c"));
    EXPECT_FALSE(FixtureTypeLibRegistered());
}

TEST_F(TolvaneRun, CancelAndSystemMenuCloseRegisterNothing) {
    const std::string b = Server("b", "tve2e_cancel");
    ASSERT_TRUE(WriteRegisterList(list_, {b}));

    StartRegistration("1");
    ConfirmWith(IDCANCEL, {b});
    EXPECT_EQ(ExitCode(), "2");
    EXPECT_FALSE(ServerKeyExists("tve2e_cancel"));

    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=9\r\n"));
    StartRegistration("1");
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    // The About item of the system menu opens the About box.
    e2e::PostSystemCommand(main, kAboutSystemCommand);
    HWND about = Dialog("About Multi-File Registration");
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(e2e::ClickButton(about, IDOK));
    ASSERT_TRUE(e2e::WaitForWindowGone(about));
    e2e::PostSystemCommand(main, SC_CLOSE);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "2");
    EXPECT_FALSE(ServerKeyExists("tve2e_cancel"));
}

TEST_F(TolvaneRun, WarnsOncePerMissingFileAndListsTheRest) {
    const std::string present = Server("b", "tve2e_present");
    const std::string missing1 = root_ + "gone\\one.dll";
    const std::string missing2 = root_ + "gone\\two.tlb";
    std::string present_upper = present;
    CharUpperA(&present_upper[0]);
    ASSERT_TRUE(WriteRegisterList(list_, {missing1, present, missing2, present_upper}));

    StartRegistration("1");
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing1);
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing2);
    ConfirmWith(IDOK, {present});  // the same path in other case is listed once
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_TRUE(ServerKeyExists("tve2e_present"));
}

TEST_F(TolvaneRun, EveryFileMissingEndsByItselfWithResultThree) {
    const std::string missing1 = root_ + "x\\one.dll";
    const std::string missing2 = root_ + "y\\two.dll";
    ASSERT_TRUE(WriteRegisterList(list_, {missing1, missing2}));

    StartRegistration("1");
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing1);
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing2);
    HWND no_files = Dialog("Registration Error");
    ASSERT_NE(no_files, nullptr);
    EXPECT_FALSE(e2e::IsVisible(no_files, kFileName));
    ASSERT_TRUE(e2e::ClickButton(no_files, IDOK));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "3");
}

TEST_F(TolvaneRun, FirstFailureStopsWithItsPath) {
    struct Case {
        const char* fixture_folder;
        std::string (*fixture)();
    };
    for (const Case& bad : {Case{"a", FixtureNoExport}, Case{"a", FixtureFailing}}) {
        SCOPED_TRACE(bad.fixture());
        const std::string failing = Fixture(bad.fixture(), std::string(bad.fixture_folder) + "\\bad.dll");
        const std::string later = Server("b", "tve2e_later");
        ASSERT_TRUE(WriteRegisterList(list_, {later, failing}));

        StartRegistration("1");
        HWND main = MainWindow();
        ASSERT_NE(main, nullptr);
        HWND confirm = ConfirmDialogOf(main);
        ASSERT_NE(confirm, nullptr);
        ASSERT_TRUE(e2e::ClickButton(confirm, IDOK));
        EXPECT_EQ(AcknowledgeDialog("Registration Error"), failing);
        EXPECT_EQ(Finish(), 0u);
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_FALSE(ServerKeyExists("tve2e_later"));
    }
}

TEST_F(TolvaneRun, TypeLibraryInFolderAIsProcessedBeforeServerInFolderB) {
    const std::string server = Server("b", "tve2e_after_tlb");
    // Not a type library: the failure shows which entry ran first.
    const std::string broken_tlb = Fixture(FixtureNoExport(), "a\\broken.TLB");
    ASSERT_TRUE(WriteRegisterList(list_, {server, broken_tlb}));

    StartRegistration("1");
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    HWND confirm = ConfirmDialogOf(main);
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(e2e::ListBoxItems(confirm, kFileList), SortedLikeTheList({server, broken_tlb}));
    ASSERT_TRUE(e2e::ClickButton(confirm, IDOK));
    EXPECT_EQ(AcknowledgeDialog("Registration Error"), broken_tlb);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "3");
    EXPECT_FALSE(ServerKeyExists("tve2e_after_tlb"));
}

TEST_F(TolvaneRun, ExpansionRewritesTheListUpToTheFirstGap) {
    ASSERT_TRUE(e2e::WriteFile(params_,
                               "[TVRTP]\r\nExePath=C:\\Prog\\App\\\r\nCustomPath=D:\\Custom\r\n"
                               "TempDir=C:\\TVTMP\r\n"));
    ASSERT_TRUE(e2e::WriteFile(list_,
                               "[REGISTER]\r\nREG1=<Exe>\\srv.dll\r\nREG2=<CUSTOM>\\lib\\a.tlb\r\n"
                               "REG3=<TVTemp>\\<Unknown>x.dll\r\nREG4=C:\\plain\\p.dll\r\n"
                               "REG6=<Exe>\\after.dll\r\n"));
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);

    Start("/I /F" + list_ + " /R" + params_);
    EXPECT_EQ(Finish(), 2u);  // no window was created
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), "C:\\Prog\\App\\srv.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG2"), "D:\\Custom\\lib\\a.tlb");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG3"), "C:\\TVTMP\\x.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG4"), "C:\\plain\\p.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG6"), "<Exe>\\after.dll");

    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\nREG1=<Sys32>\\a.dll\r\nREG2=\r\nREG3=<Win>\\b.dll\r\n"));
    Start("/i /f" + list_ + " /r" + params_);
    EXPECT_EQ(Finish(), 2u);
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), std::string(windows) + "\\System32\\a.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG3"), "<Win>\\b.dll");
}

TEST_F(TolvaneRun, ExpansionWithoutFirstKeyChangesNothing) {
    const std::string content = "[REGISTER]\r\nREG2=<Exe>\\a.dll\r\n";
    ASSERT_TRUE(e2e::WriteFile(list_, content));
    Start("/I /F" + list_ + " /R" + params_);
    EXPECT_EQ(Finish(), 2u);
    EXPECT_EQ(ExitCode(), "3");
    std::string after;
    ASSERT_TRUE(e2e::ReadFile(list_, &after));
    EXPECT_EQ(after, content);
}

TEST_F(TolvaneRun, IncompleteCommandLinesDoNothing) {
    const std::string content = "[REGISTER]\r\nREG1=<Exe>\\a.dll\r\n";
    ASSERT_TRUE(e2e::WriteFile(list_, content));

    // Expansion without a parameter file: nothing written anywhere.
    Start("/I /F" + list_);
    EXPECT_EQ(Finish(), 2u);
    std::string after;
    ASSERT_TRUE(e2e::ReadFile(list_, &after));
    EXPECT_EQ(after, content);
    EXPECT_FALSE(e2e::FileExists(params_));

    // Registration without a list file: no window, result 2.
    Start("/O1 /R" + params_);
    EXPECT_EQ(Finish(), 2u);
    EXPECT_EQ(ExitCode(), "2");
}

TEST_F(TolvaneRun, ServersRunInTheirOwnFolderWhateverTheStartFolder) {
    // Started in root_; each server sees its own folder, the second one too,
    // so the folder of the first did not stick.
    const std::string first = Server("deep\\one", "tve2e_folder1");
    const std::string second = Server("deep\\two", "tve2e_folder2");
    ASSERT_TRUE(WriteRegisterList(list_, {second, first}));
    StartRegistration("1");
    ConfirmWith(IDOK, {first, second});
    EXPECT_EQ(ServerCalledFrom("tve2e_folder1"), root_ + "deep\\one");
    EXPECT_EQ(ServerCalledFrom("tve2e_folder2"), root_ + "deep\\two");
}

}  // namespace
