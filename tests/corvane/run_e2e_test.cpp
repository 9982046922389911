// A whole run of the program: the hundred job slots, the About box, and
// closing the program while a job still runs.
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"
#include "tests/driver/menu_probe.h"

#include <gtest/gtest.h>

namespace {

using corvane_e2e::Fixture;

// Captions of the program's visible windows, for failure messages.
std::string Captions(const corvane_e2e::Session& s)
{
    std::string all;
    for (HWND window : s.Windows(nullptr))
        all += "[" + e2e::WindowText(window) + "]";
    return all;
}
using corvane_e2e::Session;

class RunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

// Starts one job and waits until its status dialog has come and gone, so
// jobs writing the same file never overlap. A job too quick to be seen
// counts as ended after a grace period.
bool RunOneJob(corvane_e2e::Session& s, int button, const char* title)
{
    if (!s.Click(button))
        return false;
    bool seen = false;
    const DWORD start = GetTickCount();
    for (;;) {
        const bool shown = !s.Windows(title).empty();
        seen = seen || shown;
        if (seen && !shown)
            return true;
        if (s.AnyMessageBox())
            return false;
        if (GetTickCount() - start > (seen ? 30000u : 2000u))
            return !seen;
        Sleep(1);
    }
}

TEST_F(RunTest, HundredJobsTakeTheHundredSlotsAndTheNextFindsNone)
{
    const std::string out = corvane_e2e::FreshOutputFolder("slots");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("tiny.zip"));
    s.SetText(IDC_DESTINATION, out);
    for (int job = 1; job <= 100; ++job)
        ASSERT_TRUE(RunOneJob(s, IDC_NEW_UNZIP_THREAD, "UnZipping")) << "job " << job << Captions(s);
    ASSERT_TRUE(s.WaitUntilNoWindow("UnZipping", 30000));
    ASSERT_EQ(s.AnyMessageBox(), nullptr);
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\tiny.txt", Fixture("tiny.txt")));

    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD)); // both kinds share the one table
    HWND box = s.WaitForMessageBox("No More threads available");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(s.Windows("Zipping").empty()) << "a job without a slot shows no dialog";
    s.CloseMessageBox(box);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    box = s.WaitForMessageBox("No More threads available");
    ASSERT_NE(box, nullptr);
    s.CloseMessageBox(box);
    EXPECT_TRUE(s.Process().Running());
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

} // namespace
