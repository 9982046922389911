// The hundred job slots of a run, shared by both kinds of job.
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"

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

class SlotsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

TEST_F(SlotsTest, HundredJobsTakeTheHundredSlotsAndTheNextFindsNone)
{
    const std::string out = corvane_e2e::FreshOutputFolder("slots");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("tiny.zip"));
    s.SetText(IDC_DESTINATION, out);
    for (int job = 1; job <= 100; ++job)
        ASSERT_TRUE(s.RunOneJob(IDC_NEW_UNZIP_THREAD, "UnZipping")) << "job " << job << Captions(s);
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

} // namespace
