// The main form's own handlers: the file dialog, the external-progress
// inputs, the About form and Exit; Enter in a box.
#include <gtest/gtest.h>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {
namespace {

// File-name box of the system's Open dialog (a combo box in the Explorer style).
constexpr int kOpenDialogFileName = 0x47C;

class BenchForms : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterControls()); }
    void SetUp() override { ASSERT_TRUE(bench.main()) << "main form did not come up"; }

    HWND OpenBrowse(HWND form, int button) {
        EXPECT_TRUE(e2e::ClickButton(form, button));
        return bench.WaitForForm("#32770");
    }

    BenchSession bench;
};

TEST_F(BenchForms, BrowseTakesTheChosenFileAndKeepsTheTextWhenCancelled) {
    bench.SetText(IDC_ZIPFILE, "C:\\typed.zip");
    HWND dialog = OpenBrowse(bench.main(), IDC_BROWSE);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(e2e::WindowText(dialog), "ULMARSH Browse");
    ASSERT_TRUE(e2e::ClickButton(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog));
    EXPECT_EQ(bench.Text(IDC_ZIPFILE), "C:\\typed.zip");

    dialog = OpenBrowse(bench.main(), IDC_BROWSE);
    ASSERT_TRUE(dialog);
    e2e::SetControlText(dialog, kOpenDialogFileName, Fixture("bench.zip"));
    ASSERT_TRUE(e2e::ClickButton(dialog, IDOK));
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog));
    EXPECT_TRUE(e2e::WaitUntil([&] { return bench.Text(IDC_ZIPFILE) == Fixture("bench.zip"); }))
        << bench.Text(IDC_ZIPFILE);
}

TEST_F(BenchForms, StringFormBrowseClearsTheStringEvenWhenCancelled) {
    bench.SetText(IDC_ZIPFILE, "C:\\first.zip");
    bench.Command(IDM_UNZIPSTRING);
    HWND form = bench.WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(form);
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ZIPFILE), "C:\\first.zip");
    // Later edits of either box leave the other alone.
    bench.SetText(IDC_ZIPFILE, "C:\\second.zip");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ZIPFILE), "C:\\first.zip");

    e2e::SetControlText(form, IDC_SF_UNZIPSTRING, "old text");
    HWND dialog = OpenBrowse(form, IDC_SF_COMMAND1);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(e2e::ClickButton(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ControlText(form, IDC_SF_UNZIPSTRING).empty(); }));
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ZIPFILE), "C:\\first.zip");

    // Closed and opened again, the form starts from its defaults.
    e2e::SetControlText(form, IDC_SF_CHARSTOUNZIP, "9");
    e2e::PostClose(form);
    ASSERT_TRUE(e2e::WaitForWindowGone(form));
    bench.Command(IDM_UNZIPSTRING);
    form = bench.WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(form);
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_CHARSTOUNZIP), "256");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ZIPFILE), "C:\\second.zip");
}

TEST_F(BenchForms, ExternalProgressSwapsWhichInputsAreEnabled) {
    HWND main = bench.main();
    EXPECT_TRUE(e2e::IsChecked(main, IDC_MAJORSTATUS));
    EXPECT_TRUE(e2e::IsChecked(main, IDC_MINORSTATUS));
    EXPECT_TRUE(e2e::IsChecked(main, IDC_MINORCANCEL));
    EXPECT_FALSE(e2e::IsEnabled(main, IDC_EXTPROGTITLE));
    EXPECT_FALSE(e2e::IsEnabled(main, IDC_EXTCANCEL));

    e2e::SetChecked(main, IDC_USEEXTERNALPROGRESS, true);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsEnabled(main, IDC_EXTPROGTITLE); }));
    EXPECT_TRUE(e2e::IsEnabled(main, IDC_EXTCANCEL));
    for (int id : {IDC_MAJORSTATUS, IDC_MINORSTATUS, IDC_MINORCANCEL}) {
        EXPECT_FALSE(e2e::IsEnabled(main, id)) << id;
        EXPECT_TRUE(e2e::IsChecked(main, id)) << id;  // ticks stay as they were
    }

    e2e::SetChecked(main, IDC_USEEXTERNALPROGRESS, false);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::IsEnabled(main, IDC_EXTPROGTITLE); }));
    EXPECT_TRUE(e2e::IsEnabled(main, IDC_MAJORSTATUS));
}

TEST_F(BenchForms, EnterInTheZipFileBoxStartsNoRun) {
    const std::string destination = e2e::MakeTempFolder("ulmarsh-enter");
    const std::string mine = destination + "\\alpha.txt";
    ASSERT_TRUE(e2e::WriteFile(mine, "mine"));
    // Everything set for an extraction that would replace the file.
    bench.SetText(IDC_ZIPFILE, Fixture("bench.zip"));
    bench.SetText(IDC_FILESPEC, "alpha.txt");
    bench.SetText(IDC_DESTINATION, destination);
    bench.SelectFunction(7);  // EXTRACT
    bench.TickOption(0);      // Overwrite Files
    ASSERT_TRUE(bench.OptionTicked(0));
    bench.SetText(IDC_RETURNVALUE, "");

    e2e::PressKey(e2e::Control(bench.main(), IDC_ZIPFILE), VK_RETURN);
    EXPECT_FALSE(e2e::WaitUntil([&] { return !bench.Text(IDC_RETURNVALUE).empty(); }, 2000))
        << "Enter started a run";
    std::string content;
    EXPECT_TRUE(e2e::ReadFile(mine, &content));
    EXPECT_EQ(content, "mine");
    e2e::RemoveTree(destination);
}

TEST_F(BenchForms, AboutClosesWithOkAndExitEndsTheProgram) {
    bench.Command(IDM_ABOUT);
    HWND about = bench.WaitForForm("UlmarshAboutForm");
    ASSERT_TRUE(about);
    EXPECT_EQ(e2e::WindowText(about), "About Varnex UnZIP Diagnostic Tool");
    EXPECT_EQ(e2e::ControlText(about, IDC_AB_TITLE), "Varnex UnZIP Diagnostic Tool");
    ASSERT_TRUE(e2e::ClickButton(about, IDC_AB_OKBTN));
    EXPECT_TRUE(e2e::WaitForWindowGone(about));

    // An open About form goes with the main form.
    bench.Command(IDM_ABOUT);
    about = bench.WaitForForm("UlmarshAboutForm");
    ASSERT_TRUE(about);
    bench.Command(IDM_EXIT);
    DWORD exitCode = 1;
    EXPECT_TRUE(bench.process().Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace ulmarsh_e2e
