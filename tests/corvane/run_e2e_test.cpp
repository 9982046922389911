// A run of the program: the slot mutex shared with other processes, the
// About box, and closing the program while jobs still run.
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"
#include "tests/driver/menu_probe.h"

#include <gtest/gtest.h>

namespace {

using corvane_e2e::Fixture;
using corvane_e2e::Session;

class RunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

TEST_F(RunTest, MainDialogStartsWithItsDefaultsAndIcon)
{
    Session s;
    HWND main = s.Main();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::ControlText(main, IDC_ZIP_FILENAME), "g:\\temp\\testmt1.zip");
    EXPECT_EQ(e2e::ControlText(main, IDC_ITEM_LIST), "c:\\*.bat c:\\*.txt");
    EXPECT_EQ(e2e::ControlText(main, IDC_UNZIP_FILENAME), "g:\\temp\\testmt1.zip");
    EXPECT_EQ(e2e::ControlText(main, IDC_FILE_SPEC), "*.*");
    EXPECT_EQ(e2e::ControlText(main, IDC_DESTINATION), "g:\\temp\\test1");
    EXPECT_TRUE(e2e::IsChecked(main, IDC_ZIP_RECURSE));
    EXPECT_TRUE(e2e::IsChecked(main, IDC_UNZIP_RECURSE));
    for (int id : {IDC_ZIP_EXTERNAL, IDC_MULTI_VOLUME, IDC_CD_FIRST, IDC_UNZIP_EXTERNAL})
        EXPECT_FALSE(e2e::IsChecked(main, id)) << id;
    EXPECT_FALSE(e2e::IsVisible(main, IDOK));
    EXPECT_EQ(e2e::ControlText(main, IDCANCEL), "Done");
    std::vector<menu_probe::MenuItem> items;
    menu_probe::WindowIcons icons;
    ASSERT_TRUE(menu_probe::ReadSystemMenu(main, items, &icons));
    EXPECT_TRUE(icons.big);
    EXPECT_TRUE(icons.small);
    EXPECT_TRUE(icons.drag);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    // Enter presses the hidden OK button, which closes the program like Done.
    e2e::PressKey(e2e::Control(main, IDC_FILE_SPEC), VK_RETURN);
    DWORD exitCode = 1;
    EXPECT_TRUE(s.Process().Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(RunTest, SlotMutexHeldElsewhereTimesTheJobOut)
{
    // The mutex is a system-wide object: holding it here blocks the program's jobs.
    HANDLE held = CreateMutexA(nullptr, TRUE, "MyMultiThreadZIPMutex");
    ASSERT_NE(held, nullptr);
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ZIP_FILENAME, corvane_e2e::FreshOutputFolder("timeout") + "\\late.zip");
    s.SetText(IDC_ITEM_LIST, Fixture("tiny.txt"));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    HWND box = s.WaitForMessageBox("Timeout during thread creation", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_GE(GetTickCount() - start, 9500u) << "gave up before the 10 seconds";
    EXPECT_TRUE(s.Windows("Zipping").empty());
    s.CloseMessageBox(box);
    ReleaseMutex(held);
    CloseHandle(held);

    // With the mutex free again, the next job runs.
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FileExists(corvane_e2e::Fixture("out\\timeout\\late.zip")); }, 15000));
    EXPECT_TRUE(s.WaitUntilNoWindow("Zipping", 15000));
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
}

TEST_F(RunTest, StatusDialogWhoseControlCannotBeCreatedIsReported)
{
    ASSERT_TRUE(corvane_e2e::UnregisterControl("VXUNZIP.DLL"));
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    HWND box = s.WaitForMessageBox("Status Dialog could not be created");
    EXPECT_TRUE(corvane_e2e::RegisterControls());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(s.Windows("UnZipping").empty());
    s.CloseMessageBox(box);

    // The program goes on: the next job, with the control back, runs.
    s.SetText(IDC_UNZIP_FILENAME, Fixture("tiny.zip"));
    s.SetText(IDC_DESTINATION, corvane_e2e::FreshOutputFolder("recovered"));
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return e2e::FileExists(Fixture("out\\recovered\\tiny.txt")); }, 15000));
    EXPECT_TRUE(s.WaitUntilNoWindow("UnZipping", 15000));
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
}

TEST_F(RunTest, SystemMenuEndsWithTheAboutItemThatOpensTheAboutBox)
{
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    std::vector<menu_probe::MenuItem> items;
    ASSERT_TRUE(menu_probe::ReadSystemMenu(s.Main(), items));
    ASSERT_GE(items.size(), 2u);
    EXPECT_TRUE(items[items.size() - 2].separator);
    EXPECT_EQ(items.back().text, "&About corvane...");
    EXPECT_EQ(items.back().id, 0x0010u);

    e2e::PostSystemCommand(s.Main(), 0x0010);
    HWND about = s.WaitForNewWindow("About corvane", {});
    ASSERT_NE(about, nullptr);
    bool version = false;
    for (const e2e::ControlInfo& control : e2e::ListControls(about))
        version = version || control.text == "corvane Version 1.0";
    EXPECT_TRUE(version);
    EXPECT_FALSE(IsWindowEnabled(s.Main())) << "the About box is modal";
    ASSERT_TRUE(e2e::ClickButton(about, IDOK));
    EXPECT_TRUE(e2e::WaitForWindowGone(about));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(s.Main()) != FALSE; }, 5000));
}

TEST_F(RunTest, DoneWhileJobsRunCancelsThemAndLeavesNoHalfWrittenArchive)
{
    const std::string out = corvane_e2e::FreshOutputFolder("done");
    const std::string existing = out + "\\existing.zip";
    ASSERT_TRUE(CopyFileA(Fixture("small.zip").c_str(), existing.c_str(), FALSE));
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ITEM_LIST, Fixture("big\\noise.bin") + " " + Fixture("big\\counting.txt"));
    s.SetText(IDC_ZIP_FILENAME, existing);
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    ASSERT_NE(s.WaitForNewWindow("Zipping", {}), nullptr);
    s.SetText(IDC_ZIP_FILENAME, out + "\\new.zip");
    const std::vector<HWND> running = s.Windows("Zipping");
    const std::set<HWND> first(running.begin(), running.end());
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    ASSERT_NE(s.WaitForNewWindow("Zipping", first), nullptr);

    ASSERT_TRUE(e2e::ClickButton(s.Main(), IDCANCEL)); // "Done"
    DWORD exitCode = 1;
    ASSERT_TRUE(s.Process().Wait(30000, &exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(corvane_e2e::SameFileContents(existing, Fixture("small.zip")));
    EXPECT_FALSE(e2e::FileExists(out + "\\new.zip"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((out + "\\*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++files;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(files, 1) << "something besides the existing archive was left behind";
}

// An extraction with external progress cannot hear the stop: Done waits for it, and the
// main dialog keeps answering and stays movable (enabled, its buttons not) meanwhile.
TEST_F(RunTest, DoneDuringAnExternalProgressJobWaitsForItWithoutFreezing)
{
    const std::string out = corvane_e2e::FreshOutputFolder("done-external");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("big.zip"));
    s.SetText(IDC_DESTINATION, out);
    s.SetChecked(IDC_UNZIP_EXTERNAL, true);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    ASSERT_NE(s.WaitForNewWindow("Multi-Thread Extraction Process", {}), nullptr);

    ASSERT_TRUE(e2e::ClickButton(s.Main(), IDCANCEL)); // "Done"
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::IsEnabled(s.Main(), IDCANCEL); }, 5000));
    if (s.Process().Running()) {
        EXPECT_TRUE(IsWindowEnabled(s.Main())) << "a disabled dialog cannot be moved";
        EXPECT_FALSE(e2e::IsEnabled(s.Main(), IDC_NEW_UNZIP_THREAD));
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(s.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0)
            << "the waiting dialog does not answer";
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(s.Process().Wait(120000, &exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
    // Nothing was killed: the job ran to its end.
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\noise.bin", Fixture("big\\noise.bin")));
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\counting.txt", Fixture("big\\counting.txt")));
}

} // namespace
