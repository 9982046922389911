// End to end: registration and unregistration runs confirmed, cancelled or
// closed by the user.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tolvane_run_win.h"

namespace {

using namespace tolvane_test;

TEST_F(TolvaneRun, RegistersTheSortedListThenUnregistersIt) {
    const std::string c = Server("c", "tve2e_c");
    const std::string b = Server("b folder", "tve2e_b");
    const std::string tlb = Fixture(FixtureTypeLib(), "a\\fixture.tlb");
    ASSERT_TRUE(WriteRegisterList(list_, {c, b, tlb}));

    Start("/O1 /F" + list_ + " /R" + params_ + " /Z1");
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main), "Multi-File Registration");
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND confirm = ConfirmDialogOf(main);
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(GetWindowLongA(e2e::Control(confirm, kFileList), GWL_STYLE) & LBS_SORT);
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
    HWND unregistering = MainWindow();
    ASSERT_NE(unregistering, nullptr);
    EXPECT_FALSE(GetWindowLongA(unregistering, GWL_EXSTYLE) & WS_EX_TOPMOST);
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

TEST_F(TolvaneRun, ListPathCutOnTheCommandLineIsNeverRead) {
    // A list file whose path is exactly as long as /F keeps: the same path with
    // more characters is cut to this file's name, and must not be taken for it.
    const std::string server = Server("b", "tve2e_cut_list");
    const std::string exact = root_ + std::string(259 - root_.size(), 'L');
    ASSERT_TRUE(WriteRegisterList(exact, {server}));

    Start("/O1 /F" + exact + "-other.ini /R" + params_);
    HWND no_files = Dialog("Registration Error");
    ASSERT_NE(no_files, nullptr);
    ASSERT_TRUE(e2e::ClickButton(no_files, IDOK));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "3");
    EXPECT_FALSE(ServerKeyExists("tve2e_cut_list"));
}

}  // namespace
