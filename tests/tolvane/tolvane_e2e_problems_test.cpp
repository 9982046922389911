// End to end: failing files, and the runs without a window (expansion mode,
// incomplete command lines).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tolvane_run_win.h"

namespace {

using namespace tolvane_test;

// The first failure stops the run with its path: a server without the exports, one whose
// registration fails, one that faults inside it, and the misbehaving ones that would take a
// process down (each runs in a child tolvane). From the moment the first server is loaded
// the file says 3 (a run that died there would otherwise leave the "1" of the expansion run),
// and while the error shows, OK and Cancel cannot start another pass.
TEST_F(TolvaneRun, FirstFailureStopsWithItsPath) {
    for (const auto& [fixture, name] : FailingServerCases()) {
        SCOPED_TRACE(name + " from " + fixture);
        const std::string failing = Fixture(fixture, "a\\" + name);
        const DWORD started = GetTickCount();
        const std::string later = Server("b", "tve2e_later");
        ASSERT_TRUE(WriteRegisterList(list_, {later, failing}));
        ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=1\r\n"));

        StartRegistration("1");
        HWND main = MainWindow();
        ASSERT_NE(main, nullptr);
        HWND confirm = ConfirmDialogOf(main);
        ASSERT_NE(confirm, nullptr);
        ASSERT_TRUE(e2e::ClickButton(confirm, IDOK));
        ASSERT_NE(Dialog("Registration Error"), nullptr) << "no error dialog: the run died";
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_FALSE(e2e::IsEnabled(confirm, IDOK));
        EXPECT_FALSE(e2e::IsEnabled(confirm, IDCANCEL));
        EXPECT_EQ(AcknowledgeDialog("Registration Error"), failing);
        EXPECT_EQ(Finish(), 0u);
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_FALSE(ServerKeyExists("tve2e_later"));
        EXPECT_LT(GetTickCount() - started, 20000u) << "a failing server is not waited for";
        DeleteFileA(failing.c_str());
    }
}

// A server's message box comes up above a topmost tolvane (/Z 1), and the
// registration goes on once it is answered.
TEST_F(TolvaneRun, ServerMessageBoxShowsAboveTheTopmostWindow) {
    const std::string asking = Fixture(FixtureMisbehaving(), "m\\msgbox.dll");
    ASSERT_TRUE(WriteRegisterList(list_, {asking}));
    Start("/O1 /Z1 /F" + list_ + " /R" + params_);
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(e2e::ClickButton(ConfirmDialogOf(main), IDOK));
    HWND box = e2e::WaitForWindow(nullptr, "Fixture Server", 15000);
    ASSERT_NE(box, nullptr);
    Sleep(500);  // the waiting parent raises it within a tenth of a second
    EXPECT_NE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(e2e::ClickButton(box, IDOK));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "1");
}

// A server that never returns is ended at the time limit, in the dialog run
// and, at the same time, in a silent run: both end with 3 and leave the
// servers after it alone, and the dialog's window stays responsive meanwhile.
TEST_F(TolvaneRun, ServerThatNeverReturnsIsEndedAtTheTimeLimit) {
    const std::string hang = Fixture(FixtureMisbehaving(), "m\\hang.dll");
    const std::string later = Server("z", "tve2e_after_hang");
    ASSERT_TRUE(WriteRegisterList(list_, {later, hang}));
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=1\r\n"));
    const std::string silent_params = root_ + "silent.ini";
    ASSERT_TRUE(e2e::WriteFile(silent_params, "[TVRTP]\r\nExitCode=1\r\n"));

    const DWORD started = GetTickCount();
    StartRegistration("1");
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(e2e::ClickButton(ConfirmDialogOf(main), IDOK));
    e2e::Process silent = e2e::Start(e2e::BinPath("tolvane.exe"), "/S /O1 /F" + list_ + " /R" + silent_params, root_);
    ASSERT_TRUE(silent.valid());

    Sleep(2000);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0)
        << "the main window answers while the server hangs";
    e2e::WindowQuery query;
    query.title = "Registration Error";
    query.pid = process_.pid();
    ASSERT_NE(e2e::WaitForWindow(query, 90000), nullptr);
    EXPECT_EQ(AcknowledgeDialog("Registration Error"), hang);
    EXPECT_EQ(Finish(), 0u);
    DWORD silent_status = 99;
    ASSERT_TRUE(silent.Wait(30000, &silent_status));
    EXPECT_EQ(silent_status, 1603u);
    const DWORD took = GetTickCount() - started;
    EXPECT_GE(took, 60000u);
    EXPECT_LT(took, 90000u);
    EXPECT_EQ(ExitCode(), "3");
    EXPECT_EQ(e2e::ReadIni(silent_params, "TVRTP", "ExitCode"), "3");
    EXPECT_FALSE(ServerKeyExists("tve2e_after_hang"));
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

TEST_F(TolvaneRun, ExpansionLeavesValuesThatNameAnOverlongFolder) {
    // ExePath holds one character more than a folder value: cut, it would
    // name another folder.
    const std::string long_exe = "C:\\" + std::string(257, 'e');
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=" + long_exe + "\r\nCustomPath=D:\\Custom\r\n"));
    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\nREG1=<Exe>\\srv.dll\r\nREG2=<Custom>\\a.tlb\r\n"));

    Start("/I /F" + list_ + " /R" + params_);
    EXPECT_EQ(Finish(), 2u);
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), "<Exe>\\srv.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG2"), "D:\\Custom\\a.tlb");

    // At the limit the folder is whole and used.
    const std::string exact_exe = long_exe.substr(0, 259);
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=" + exact_exe + "\r\n"));
    Start("/I /F" + list_ + " /R" + params_);
    EXPECT_EQ(Finish(), 2u);
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), exact_exe + "\\srv.dll");
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

// Relative values name files against the folder tolvane started in, whatever
// folder a registration changes into, and are listed as full paths.
TEST_F(TolvaneRun, RelativeValuesAreRegisteredAsFullPaths) {
    Server("sub", "tve2e_relative");
    Server(".", "tve2e_bare");
    ASSERT_TRUE(WriteRegisterList(list_, {"sub\\tve2e_relative.dll", "tve2e_bare.dll"}));
    StartRegistration("1");
    ConfirmWith(IDOK, SortedLikeTheList({root_ + "sub\\tve2e_relative.dll", root_ + "tve2e_bare.dll"}));
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_TRUE(ServerKeyExists("tve2e_relative"));
    EXPECT_TRUE(ServerKeyExists("tve2e_bare"));
}

// A list that cannot be written back stays as it is, and the run failed.
TEST_F(TolvaneRun, ExpansionOfAReadOnlyListFails) {
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=C:\\Prog\r\n"));
    const std::string content = "[REGISTER]\r\nREG1=<Exe>\\srv.dll\r\n";
    ASSERT_TRUE(e2e::WriteFile(list_, content));
    ASSERT_TRUE(SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_READONLY));
    Start("/I /F" + list_ + " /R" + params_);
    Finish();
    SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ExitCode(), "3");
    std::string now;
    ASSERT_TRUE(e2e::ReadFile(list_, &now));
    EXPECT_EQ(now, content);

    // Held by another program that lets others read it only.
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=C:\\Prog\r\n"));
    HANDLE held = CreateFileA(list_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Start("/I /F" + list_ + " /R" + params_);
    Finish();
    CloseHandle(held);
    EXPECT_EQ(ExitCode(), "3");
    ASSERT_TRUE(e2e::ReadFile(list_, &now));
    EXPECT_EQ(now, content);
}

// A macro whose folder the parameter file leaves empty is not expanded: the
// value would lose its folder. With nothing written back the run failed.
TEST_F(TolvaneRun, ExpansionKeepsValuesOfEmptyFolders) {
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nCustomPath=D:\\Custom\r\n"));
    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\nREG1=<Exe>\\a.dll\r\nREG2=<Custom>\\b.dll\r\n"));
    Start("/I /F" + list_ + " /R" + params_);
    Finish();
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), "<Exe>\\a.dll");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG2"), "D:\\Custom\\b.dll");

    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=\r\n"));
    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\nREG1=<Exe>\\a.dll\r\n"));
    Start("/I /F" + list_ + " /R" + params_);
    Finish();
    EXPECT_EQ(ExitCode(), "3");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), "<Exe>\\a.dll");
}

// A list saved as Unicode text is refused in both runs, and left as it is.
TEST_F(TolvaneRun, UnicodeListsAreRefused) {
    const std::string server = Server("a", "tve2e_unicode");
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=C:\\Prog\r\n"));
    for (const std::string& mark : {std::string("\xFF\xFE"), std::string("\xEF\xBB\xBF")}) {
        SCOPED_TRACE(mark.size());
        const std::string content = mark + "[REGISTER]\r\nREG1=" + server + "\r\n";
        ASSERT_TRUE(e2e::WriteFile(list_, content));
        Start("/I /F" + list_ + " /R" + params_);
        Finish();
        EXPECT_EQ(ExitCode(), "3");

        StartRegistration("1");
        HWND refused = Dialog("Registration Error");
        ASSERT_NE(refused, nullptr);
        EXPECT_NE(e2e::WindowText(refused).find("Registration Error"), std::string::npos);
        ASSERT_TRUE(e2e::ClickButton(refused, IDOK));
        EXPECT_EQ(Finish(), 0u);
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_FALSE(ServerKeyExists("tve2e_unicode"));
        std::string now;
        ASSERT_TRUE(e2e::ReadFile(list_, &now));
        EXPECT_EQ(now, content);
    }
}

}  // namespace
