// Close requests of the bench's forms while a run is in progress.
#include <gtest/gtest.h>

#include "tests/ulmarsh/rename_fixture_win.h"

namespace ulmarsh_e2e {
namespace {

using BenchClose = BenchRename;

TEST_F(BenchClose, MainFormStaysWhileTheRenameFormWaits) {
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

TEST_F(BenchClose, CloseDuringARunCancelsItAndClosesAfterwards) {
    bench.TickOption(kAllowRenaming);  // off again: no prompts in this run
    bench.SetText(IDC_ZIPFILE, Fixture("big.zip"));
    bench.StartRun();
    // Served by the control itself while it reports minor progress ("Minor Cancel").
    e2e::PostClose(bench.main());
    DWORD exitCode = 1;
    ASSERT_TRUE(bench.process().Wait(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool exists =
        GetFileAttributesExA(Extracted("big.bin").c_str(), GetFileExInfoStandard, &data) != 0;
    EXPECT_FALSE(exists && data.nFileSizeLow == 20000000u) << "the run was not cancelled";
}

TEST_F(BenchClose, StringFormClosedDuringItsRunStillFillsTheMainForm) {
    bench.Command(IDM_UNZIPSTRING);
    HWND form = bench.WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(form);
    e2e::SetControlText(form, IDC_SF_ITEMNAME, "no-such-item");
    ASSERT_TRUE(e2e::ClickButton(form, IDC_SF_UNZIPIT));
    // The control tells of the missing item in a message box, inside the run;
    // the string form is closed while it waits.
    HWND message = bench.WaitForForm("#32770");
    ASSERT_TRUE(message);
    e2e::PostClose(form);
    ASSERT_TRUE(e2e::WaitForWindowGone(form));
    if (IsWindow(message)) e2e::PostClose(message);

    ASSERT_TRUE(bench.WaitForRunEnd()) << "the main form never showed the run's result";
    EXPECT_NE(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_EQ(bench.Text(IDC_VXCOUNT), "0");
    EXPECT_TRUE(e2e::IsEnabled(bench.main(), IDC_VXUNZIPBTN));
}

}  // namespace
}  // namespace ulmarsh_e2e
