// Runs whose status display fails: the failure is told for the run it
// happened in, later runs start clean, and a close asked for during such a
// run waits until the failure has been read.
#include <gtest/gtest.h>

#include <memory>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {
namespace {

constexpr int kCountAll = 0;
constexpr int kExtract = 7;

class BenchStatusFailure : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterControls()); }

    void SetUp() override {
        ASSERT_TRUE(refusing.ok()) << "the stand-in status control was not registered";
        bench = std::make_unique<BenchSession>();
        ASSERT_TRUE(bench->main()) << "main form did not come up";
        bench->SetText(IDC_ZIPFILE, Fixture("bench.zip"));
    }

    // Declared first: the bench goes before the status control's class is restored.
    RefusingStatusControl refusing;
    std::unique_ptr<BenchSession> bench;
};

TEST_F(BenchStatusFailure, AFailedStringRunIsToldAndLaterRunsStartClean) {
    bench->Command(IDM_UNZIPSTRING);
    HWND form = bench->WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(form);
    ASSERT_EQ(e2e::ControlText(form, IDC_SF_ITEMNAME), "zipstring");
    ASSERT_TRUE(e2e::ClickButton(form, IDC_SF_UNZIPIT));
    HWND message = bench->WaitForForm("#32770", 5000);
    ASSERT_TRUE(message) << "the failed string run was not reported";
    EXPECT_TRUE(MessageSays(message, "MinorStatusCtrl.StatusText"));
    e2e::PostClose(message);
    ASSERT_TRUE(e2e::WaitForWindowGone(message));
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNVALUE), "");

    // Another item shows in the status displays: the run goes through.
    e2e::SetControlText(form, IDC_SF_ITEMNAME, "alpha.txt");
    ASSERT_TRUE(e2e::ClickButton(form, IDC_SF_UNZIPIT));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::ControlText(form, IDC_SF_RETURNVALUE).empty(); }))
        << "the second string run showed no result";
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNVALUE), "0") << "the second run was stopped";
    EXPECT_NE(e2e::ControlText(form, IDC_SF_UNZIPSTRING).find("Alpha item"), std::string::npos);

    // So does a main run, without the earlier failure.
    bench->SelectFunction(kCountAll);
    bench->StartRun();
    HWND stale = nullptr;
    e2e::WaitUntil([&] {
        stale = bench->WaitForForm("#32770", 0);
        return stale || !bench->Text(IDC_RETURNVALUE).empty();
    });
    EXPECT_FALSE(stale) << "the main run reported a failure";
    if (stale) e2e::PostClose(stale);
    ASSERT_TRUE(bench->WaitForRunEnd());
    EXPECT_EQ(bench->Text(IDC_RETURNVALUE), "0");
    EXPECT_EQ(bench->Text(IDC_VXCOUNT), "3");
}

TEST_F(BenchStatusFailure, AFailingRunClosedMidwayShowsItsFailureThenCloses) {
    const std::string destination = e2e::MakeTempFolder("ulmarsh-status");
    bench->SetText(IDC_FILESPEC, "zipstring");
    bench->SetText(IDC_DESTINATION, destination);
    bench->SelectFunction(kExtract);
    bench->StartRun();
    // Taken inside the run, before the item's first minor status ("Minor
    // Cancel"); the display then refuses the item's name and the run fails.
    e2e::PostClose(bench->main());
    HWND message = bench->WaitForForm("#32770", 5000);
    ASSERT_TRUE(message) << "the failure was not shown";
    EXPECT_TRUE(MessageSays(message, "MinorStatusCtrl.StatusText"));
    EXPECT_FALSE(e2e::WaitForWindowGone(message, 700)) << "the close took the failure message away";
    EXPECT_TRUE(bench->process().Running());

    e2e::PostClose(message);
    DWORD exitCode = 1;
    EXPECT_TRUE(bench->process().Wait(10000, &exitCode)) << "the close did not follow";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(e2e::FileExists(destination + "\\zipstring"));
    e2e::RemoveTree(destination);
}

}  // namespace
}  // namespace ulmarsh_e2e
