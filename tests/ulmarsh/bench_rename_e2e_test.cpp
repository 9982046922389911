// Extraction with "Allow Renaming": the rename form, the edits the control
// uses, "&Stop Renaming", Cancel during the run and the close request while
// the rename form waits.
#include <gtest/gtest.h>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {
namespace {

constexpr int kExtract = 7;
constexpr int kAllowRenaming = 10;

// The file's last-write time as an MS-DOS date word (local time).
int DosDateOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return date;
}

class BenchRename : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterControls()); }

    void SetUp() override {
        ASSERT_TRUE(bench.main()) << "main form did not come up";
        destination = e2e::MakeTempFolder("ulmarsh-rename");
        bench.SetText(IDC_ZIPFILE, Fixture("rename.zip"));
        bench.SetText(IDC_DESTINATION, destination);
        bench.SelectFunction(kExtract);
        bench.TickOption(kAllowRenaming);
        ASSERT_TRUE(bench.OptionTicked(kAllowRenaming));
    }

    void TearDown() override { e2e::RemoveTree(destination); }

    // The next rename prompt, once the previous one has gone.
    HWND NextPrompt(HWND previous) {
        if (previous) e2e::WaitForWindowGone(previous);
        return bench.WaitForForm("UlmarshRenameForm", 5000);
    }

    std::string Extracted(const char* name) const { return destination + "\\" + name; }

    BenchSession bench;
    std::string destination;
};

TEST_F(BenchRename, EditedNameAndDateAreUsedAndStopEndsThePrompts) {
    bench.StartRun();
    HWND first = NextPrompt(nullptr);
    ASSERT_TRUE(first);
    EXPECT_EQ(e2e::WindowText(first), "VXZIPTEST Rename");
    EXPECT_EQ(e2e::ControlText(first, IDC_RN_ORIGNAME), "one.txt");
    EXPECT_EQ(e2e::ControlText(first, IDC_RN_ITEMNAME), "one.txt");
    EXPECT_EQ(e2e::ControlText(first, IDC_RN_DATETEXT), "05/05/2005");
    EXPECT_EQ(e2e::ControlText(first, IDC_RN_TIMETEXT), "05:05:04");
    EXPECT_FALSE(e2e::IsEnabled(first, IDC_RN_ENCRYPTEDCK));
    EXPECT_TRUE(e2e::IsEnabled(first, IDC_RN_LONGNAMECK));
    e2e::ScreenshotIfRequested("ulmarsh-rename", first);
    // A second run cannot start inside this one.
    EXPECT_FALSE(e2e::IsEnabled(bench.main(), IDC_VXUNZIPBTN));

    e2e::SetControlText(first, IDC_RN_ITEMNAME, "first-renamed.txt");
    e2e::SetControlText(first, IDC_RN_DATETEXT, "12/31/1999");
    ASSERT_TRUE(e2e::ClickButton(first, IDC_RN_DONE));

    HWND second = NextPrompt(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(e2e::ControlText(second, IDC_RN_ORIGNAME), "two.txt");
    e2e::SetControlText(second, IDC_RN_ITEMNAME, "second-renamed.txt");
    ASSERT_TRUE(e2e::ClickButton(second, IDC_RN_STOPRENAME));

    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    // No prompt for the third item.
    EXPECT_FALSE(bench.WaitForForm("UlmarshRenameForm", 500));
    EXPECT_TRUE(e2e::IsEnabled(bench.main(), IDC_VXUNZIPBTN));

    EXPECT_TRUE(e2e::FileExists(Extracted("first-renamed.txt")));
    EXPECT_FALSE(e2e::FileExists(Extracted("one.txt")));
    EXPECT_EQ(DosDateOf(Extracted("first-renamed.txt")), 0x279F);
    // Stopping during the second item still writes its edits back.
    EXPECT_TRUE(e2e::FileExists(Extracted("second-renamed.txt")));
    EXPECT_TRUE(e2e::FileExists(Extracted("three.txt")));
}

TEST_F(BenchRename, CancelDuringTheExtractionStopsIt) {
    bench.StartRun();
    HWND first = NextPrompt(nullptr);
    ASSERT_TRUE(first);
    // The rename wait serves the main form: Cancel is taken while it waits.
    ASSERT_TRUE(e2e::ClickButton(bench.main(), IDC_VXCANCEL));
    ASSERT_TRUE(e2e::ClickButton(first, IDC_RN_DONE));

    e2e::WaitForWindowGone(first);
    HWND another = nullptr;
    e2e::WaitUntil([&] {
        another = bench.WaitForForm("UlmarshRenameForm", 0);
        return another || !bench.Text(IDC_RETURNVALUE).empty();
    });
    if (another) e2e::ClickButton(another, IDC_RN_STOPRENAME);
    EXPECT_FALSE(another) << "the run went on to the next item";
    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_NE(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_FALSE(e2e::FileExists(Extracted("two.txt")));
    EXPECT_FALSE(e2e::FileExists(Extracted("three.txt")));
}

TEST_F(BenchRename, MainFormStaysWhileTheRenameFormWaits) {
    bench.StartRun();
    HWND first = NextPrompt(nullptr);
    ASSERT_TRUE(first);
    e2e::PostClose(bench.main());
    Sleep(700);
    EXPECT_TRUE(IsWindow(bench.main()));
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_TRUE(bench.process().Running());

    // The frame's close box answers like "&Done".
    e2e::PostClose(first);
    HWND second = NextPrompt(first);
    ASSERT_TRUE(second);
    ASSERT_TRUE(e2e::ClickButton(second, IDC_RN_STOPRENAME));
    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_TRUE(e2e::FileExists(Extracted("one.txt")));

    e2e::PostClose(bench.main());
    DWORD exitCode = 1;
    EXPECT_TRUE(bench.process().Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(BenchRename, DateThatCannotBeReadKeepsTheControlsDate) {
    bench.StartRun();
    HWND first = NextPrompt(nullptr);
    ASSERT_TRUE(first);
    e2e::SetControlText(first, IDC_RN_DATETEXT, "5/5/05");
    ASSERT_TRUE(e2e::ClickButton(first, IDC_RN_STOPRENAME));
    HWND message = bench.WaitForForm("#32770", 5000);
    ASSERT_TRUE(message) << "no message about the unreadable date";
    e2e::PostClose(message);
    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_EQ(DosDateOf(Extracted("one.txt")), (2005 - 1980) * 512 + 5 * 32 + 5);
}

}  // namespace
}  // namespace ulmarsh_e2e
