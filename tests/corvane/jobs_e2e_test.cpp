// Compression and extraction jobs side by side with the real controls.
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using corvane_e2e::Fixture;
using corvane_e2e::Session;

class JobsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

std::string ThreadIdOf(HWND dialog, int id) { return e2e::ControlText(dialog, id); }

TEST_F(JobsTest, ThreeCompressionJobsRunSideBySideEachWithItsOwnThread)
{
    const std::string out = corvane_e2e::FreshOutputFolder("zipped");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ITEM_LIST, Fixture("src\\*.*") + " " + Fixture("big\\noise.bin"));
    s.SetChecked(IDC_ZIP_RECURSE, true);

    std::set<HWND> dialogs;
    std::set<std::string> threadIds;
    size_t mostAtOnce = 0;
    for (int n = 1; n <= 3; ++n) {
        s.SetText(IDC_ZIP_FILENAME, out + "\\zipped" + std::to_string(n) + ".zip");
        ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
        HWND dialog = s.WaitForNewWindow("Zipping", dialogs);
        ASSERT_NE(dialog, nullptr) << "job " << n;
        dialogs.insert(dialog);
        threadIds.insert(ThreadIdOf(dialog, IDC_ZIP_THREAD_ID));
        mostAtOnce = std::max(mostAtOnce, s.Windows("Zipping").size());
    }
    EXPECT_EQ(threadIds.size(), 3u);
    EXPECT_EQ(threadIds.count(""), 0u);
    EXPECT_GE(mostAtOnce, 2u) << "the jobs ran one after the other";
    ASSERT_TRUE(s.WaitUntilNoWindow("Zipping"));
    EXPECT_EQ(s.AnyMessageBox(), nullptr) << "a successful run closes without a message";
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(e2e::FileExists(out + "\\zipped" + std::to_string(n) + ".zip"));
    // Info-ZIP checks the archives after this test (check_outputs.sh).
}

TEST_F(JobsTest, ThreeExtractionJobsFillOneFolderWithTheArchiveContents)
{
    const std::string out = corvane_e2e::FreshOutputFolder("extracted");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("small.zip"));
    s.SetText(IDC_FILE_SPEC, "*.*");
    s.SetText(IDC_DESTINATION, out);
    // One after the other here; jobs started together into one folder are the
    // subject of concurrent_e2e_test.cpp.
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(s.RunOneJob(IDC_NEW_UNZIP_THREAD, "UnZipping")) << "job " << n;
    ASSERT_TRUE(s.WaitUntilNoWindow("UnZipping"));
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
    for (const char* name : {"readme.txt", "numbers.txt", "data.bin", "zeros.bin", "notes.txt", "deep.txt"})
        EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\" + name, Fixture("ref\\") + name)) << name;
}

TEST_F(JobsTest, ExtractionAndCompressionRunAtTheSameTime)
{
    const std::string out = corvane_e2e::FreshOutputFolder("mixed");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("big.zip"));
    s.SetText(IDC_DESTINATION, out);
    s.SetText(IDC_ZIP_FILENAME, out + "\\mixed.zip");
    s.SetText(IDC_ITEM_LIST, Fixture("big\\noise.bin"));

    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    HWND unzipping = s.WaitForNewWindow("UnZipping", {});
    HWND zipping = s.WaitForNewWindow("Zipping", {});
    ASSERT_NE(unzipping, nullptr);
    ASSERT_NE(zipping, nullptr);
    e2e::ScreenshotIfRequested("corvane-main-two-jobs");
    RECT a, b;
    GetWindowRect(unzipping, &a);
    GetWindowRect(zipping, &b);
    EXPECT_FALSE(a.left == b.left && a.top == b.top) << "one status dialog hides the other";
    EXPECT_NE(ThreadIdOf(unzipping, IDC_UNZIP_THREAD_ID), ThreadIdOf(zipping, IDC_ZIP_THREAD_ID));
    ASSERT_TRUE(s.WaitUntilNoWindow("UnZipping"));
    ASSERT_TRUE(s.WaitUntilNoWindow("Zipping"));
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\noise.bin", Fixture("big\\noise.bin")));
    EXPECT_TRUE(e2e::FileExists(out + "\\mixed.zip"));
}

TEST_F(JobsTest, MultiVolumeJobWritesFloppySizedVolumesAndCdFirstOneLargeFirstVolume)
{
    const std::string out = corvane_e2e::FreshOutputFolder("split");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ITEM_LIST, Fixture("big\\counting.txt"));
    s.SetChecked(IDC_MULTI_VOLUME, true);
    s.SetText(IDC_ZIP_FILENAME, out + "\\floppy.zip");
    ASSERT_TRUE(s.RunOneJob(IDC_NEW_ZIP_THREAD, "Zipping"));
    s.SetChecked(IDC_CD_FIRST, true);
    s.SetText(IDC_ZIP_FILENAME, out + "\\cd.zip");
    ASSERT_TRUE(s.RunOneJob(IDC_NEW_ZIP_THREAD, "Zipping"));
    ASSERT_TRUE(s.WaitUntilNoWindow("Zipping"));
    EXPECT_EQ(s.AnyMessageBox(), nullptr);

    EXPECT_TRUE(e2e::FileExists(out + "\\floppy.z01"));
    EXPECT_TRUE(e2e::FileExists(out + "\\floppy.z02"));
    EXPECT_TRUE(e2e::FileExists(out + "\\floppy.zip"));
    std::string volume;
    ASSERT_TRUE(e2e::ReadFile(out + "\\floppy.z01", &volume));
    EXPECT_EQ(volume.size(), 1457664u);
    EXPECT_TRUE(e2e::FileExists(out + "\\cd.zip"));
    EXPECT_FALSE(e2e::FileExists(out + "\\cd.z02")) << "the first volume holds the whole archive";
    // Info-ZIP joins and checks both after this test (check_outputs.sh).
}

} // namespace
