// Extraction with "Allow Renaming": the rename form, the edits the control
// uses, "&Stop Renaming", Cancel during the run, an unreadable date, a date
// and time outside the DOS ranges.
#include <gtest/gtest.h>

#include "tests/ulmarsh/rename_fixture_win.h"

namespace ulmarsh_e2e {
namespace {

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
    // A second run or a string run cannot start inside this one.
    EXPECT_FALSE(e2e::IsEnabled(bench.main(), IDC_VXUNZIPBTN));
    bench.Command(IDM_UNZIPSTRING);  // served by the rename wait
    HWND stringForm = bench.WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(stringForm);
    EXPECT_FALSE(e2e::IsEnabled(stringForm, IDC_SF_UNZIPIT));

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
    EXPECT_TRUE(e2e::IsEnabled(stringForm, IDC_SF_UNZIPIT));

    EXPECT_TRUE(e2e::FileExists(Extracted("first-renamed.txt")));
    EXPECT_FALSE(e2e::FileExists(Extracted("one.txt")));
    EXPECT_EQ(DosDateOf(Extracted("first-renamed.txt")), 0x279F);
    // Stopping during the second item still writes its edits back.
    EXPECT_TRUE(e2e::FileExists(Extracted("second-renamed.txt")));
    EXPECT_TRUE(e2e::FileExists(Extracted("three.txt")));
}

// The box shows a name the code page lacks as best it can ("Omega.txt" in code page 1252);
// written back unchanged, the item keeps its own name instead of that lossy form.
TEST_F(BenchRename, AnUnchangedNameKeepsCharactersTheCodePageLacks) {
    bench.SetText(IDC_ZIPFILE, Fixture("rename-unicode.zip"));
    bench.StartRun();
    HWND prompt = NextPrompt(nullptr);
    ASSERT_TRUE(prompt);
    const std::string shown = e2e::ControlText(prompt, IDC_RN_ITEMNAME);
    EXPECT_EQ(shown.substr(1), "mega.txt");
    ASSERT_TRUE(e2e::ClickButton(prompt, IDC_RN_DONE));
    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    const std::string folder(destination);
    const std::wstring omega = std::wstring(folder.begin(), folder.end()) + L"\\\x03A9mega.txt";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(omega.c_str()));
    EXPECT_FALSE(e2e::FileExists(Extracted(shown.c_str())));
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

TEST_F(BenchRename, DateAndTimeOutsideTheDosRangesKeepTheControlsStamp) {
    bench.StartRun();
    HWND first = NextPrompt(nullptr);
    ASSERT_TRUE(first);
    // Packed as they are, these would stamp the item 2107 and the next day.
    e2e::SetControlText(first, IDC_RN_DATETEXT, "01/01/1979");
    e2e::SetControlText(first, IDC_RN_TIMETEXT, "23:59:59");
    ASSERT_TRUE(e2e::ClickButton(first, IDC_RN_STOPRENAME));
    for (const char* typed : {"01/01/1979", "23:59:59"}) {
        SCOPED_TRACE(typed);
        HWND message = bench.WaitForForm("#32770", 5000);
        ASSERT_TRUE(message) << "no message about the value outside the range";
        EXPECT_TRUE(MessageSays(message, typed));
        EXPECT_TRUE(MessageSays(message, "keeps"));
        e2e::PostClose(message);
        ASSERT_TRUE(e2e::WaitForWindowGone(message));
    }
    ASSERT_TRUE(bench.WaitForRunEnd());
    EXPECT_EQ(DosDateOf(Extracted("one.txt")), (2005 - 1980) * 512 + 5 * 32 + 5);
    EXPECT_EQ(DosTimeOf(Extracted("one.txt")), 5 * 2048 + 5 * 32 + 4 / 2);
}

}  // namespace
}  // namespace ulmarsh_e2e
