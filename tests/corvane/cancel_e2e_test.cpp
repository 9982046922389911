// Cancel, Escape and Enter in status dialogs, failed runs, external progress.
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"

#include <gtest/gtest.h>

namespace {

using corvane_e2e::Fixture;
using corvane_e2e::Session;

class CancelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

TEST_F(CancelTest, CancelStopsACompressionAndLeavesTheExistingArchiveIntact)
{
    const std::string out = corvane_e2e::FreshOutputFolder("cancel");
    const std::string archive = out + "\\keep.zip";
    ASSERT_TRUE(CopyFileA(Fixture("small.zip").c_str(), archive.c_str(), FALSE));
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ZIP_FILENAME, archive);
    s.SetText(IDC_ITEM_LIST, Fixture("big\\noise.bin") + " " + Fixture("big\\counting.txt"));
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    HWND dialog = s.WaitForNewWindow("Zipping", {});
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(e2e::ClickButton(dialog, IDCANCEL));
    // The run stops at its next status event and reports the stop as a failed run.
    HWND box = s.WaitForMessageBox("Error While Zipping");
    ASSERT_NE(box, nullptr);
    s.CloseMessageBox(box);
    EXPECT_TRUE(e2e::WaitForWindowGone(dialog, 10000));
    EXPECT_TRUE(corvane_e2e::SameFileContents(archive, Fixture("small.zip")));
}

TEST_F(CancelTest, EscapeCancelsAnExtraction)
{
    const std::string out = corvane_e2e::FreshOutputFolder("escape");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("big.zip"));
    s.SetText(IDC_DESTINATION, out);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    HWND dialog = s.WaitForNewWindow("UnZipping", {});
    ASSERT_NE(dialog, nullptr);

    e2e::PressKey(dialog, VK_ESCAPE);
    HWND box = s.WaitForMessageBox("Error While UnZipping");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog closes only after the message";
    s.CloseMessageBox(box);
    EXPECT_TRUE(e2e::WaitForWindowGone(dialog, 10000));
    std::string counting;
    EXPECT_FALSE(e2e::ReadFile(out + "\\counting.txt", &counting)) << "the run went on to the end";
}

TEST_F(CancelTest, EnterInAStatusDialogDoesNothing)
{
    const std::string out = corvane_e2e::FreshOutputFolder("enter");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("big.zip"));
    s.SetText(IDC_DESTINATION, out);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    HWND dialog = s.WaitForNewWindow("UnZipping", {});
    ASSERT_NE(dialog, nullptr);

    // On the dialog and on its Cancel button, which is the default button.
    e2e::PressKey(dialog, VK_RETURN);
    e2e::PressKey(e2e::Control(dialog, IDCANCEL), VK_RETURN);
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog, 180000));  // the whole 68 MB extraction, on a busy machine
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\noise.bin", Fixture("big\\noise.bin")));
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\counting.txt", Fixture("big\\counting.txt")));
}

TEST_F(CancelTest, FailedRunsSayWhichKindOfJobFailed)
{
    const std::string out = corvane_e2e::FreshOutputFolder("failed");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, out + "\\missing.zip");
    s.SetText(IDC_DESTINATION, out);
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    // The control asks first, under the title the job's message event gave it.
    HWND controlBox = s.WaitForNewWindow("My UnZIP", {});
    ASSERT_NE(controlBox, nullptr);
    s.CloseMessageBox(controlBox);
    HWND box = s.WaitForMessageBox("Error While UnZipping");
    ASSERT_NE(box, nullptr);
    s.CloseMessageBox(box);
    ASSERT_TRUE(s.WaitUntilNoWindow("UnZipping", 10000));

    s.SetText(IDC_ZIP_FILENAME, out + "\\never.zip");
    s.SetText(IDC_ITEM_LIST, out + "\\no-such-file.txt");
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    controlBox = s.WaitForNewWindow("My ZIP", {});
    ASSERT_NE(controlBox, nullptr);
    s.CloseMessageBox(controlBox);
    box = s.WaitForMessageBox("Error While Zipping");
    ASSERT_NE(box, nullptr);
    s.CloseMessageBox(box);
    ASSERT_TRUE(s.WaitUntilNoWindow("Zipping", 10000));
    EXPECT_FALSE(e2e::FileExists(out + "\\never.zip"));
}

// The status dialog stays hidden; the control's own progress window shows.
void ExpectExternalProgress(Session& s, int button, const char* statusTitle, const char* progressTitle)
{
    ASSERT_TRUE(s.Click(button));
    bool statusShown = false;
    bool progressShown = false;
    const bool ended = e2e::WaitUntil(
        [&] {
            statusShown = statusShown || !s.Windows(statusTitle).empty();
            const bool progress = !s.Windows(progressTitle).empty();
            progressShown = progressShown || progress;
            return progressShown && !progress;
        },
        60000);
    EXPECT_TRUE(progressShown) << progressTitle;
    EXPECT_TRUE(ended) << "the job did not end";
    EXPECT_FALSE(statusShown) << statusTitle;
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
}

TEST_F(CancelTest, ExternalProgressShowsTheControlsWindowInsteadOfTheStatusDialog)
{
    const std::string out = corvane_e2e::FreshOutputFolder("external");
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_UNZIP_FILENAME, Fixture("big.zip"));
    s.SetText(IDC_DESTINATION, out);
    s.SetChecked(IDC_UNZIP_EXTERNAL, true);
    ExpectExternalProgress(s, IDC_NEW_UNZIP_THREAD, "UnZipping", "Multi-Thread Extraction Process");
    EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\noise.bin", Fixture("big\\noise.bin")));

    s.SetText(IDC_ZIP_FILENAME, out + "\\external.zip");
    s.SetText(IDC_ITEM_LIST, Fixture("big\\noise.bin"));
    s.SetChecked(IDC_ZIP_EXTERNAL, true);
    ExpectExternalProgress(s, IDC_NEW_ZIP_THREAD, "Zipping", "Multi-Thread Compression Process");
    EXPECT_TRUE(e2e::FileExists(out + "\\external.zip"));
}

} // namespace
