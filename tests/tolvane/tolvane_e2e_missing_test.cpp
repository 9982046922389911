// End to end: listed files that do not exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tolvane_run_win.h"

namespace {

using namespace tolvane_test;

TEST_F(TolvaneRun, WarnsOncePerMissingFileAndListsTheRest) {
    const std::string present = Server("b", "tve2e_present");
    const std::string missing1 = root_ + "gone\\one.dll";
    const std::string missing2 = root_ + "gone\\two.tlb";
    std::string present_upper = present;
    CharUpperA(&present_upper[0]);
    // Too long to read whole: reported with what was read, never listed.
    const std::string overlong = present + "\\" + std::string(600, 'x');
    ASSERT_TRUE(WriteRegisterList(list_, {missing1, present, overlong, missing2, present_upper}));

    StartRegistration("1");
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing1);
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), overlong.substr(0, 519));
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing2);
    ConfirmWith(IDOK, {present});  // the same path in other case is listed once
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_TRUE(ServerKeyExists("tve2e_present"));
}

TEST_F(TolvaneRun, EveryFileMissingEndsByItselfWithResultThree) {
    const std::string missing1 = root_ + "x\\one.dll";
    const std::string missing2 = root_ + "y\\two.dll";
    ASSERT_TRUE(WriteRegisterList(list_, {missing1, missing2}));

    StartRegistration("1");
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing1);
    EXPECT_EQ(AcknowledgeDialog("Registration Warning"), missing2);
    HWND no_files = Dialog("Registration Error");
    ASSERT_NE(no_files, nullptr);
    EXPECT_FALSE(e2e::IsVisible(no_files, kFileName));
    ASSERT_TRUE(e2e::ClickButton(no_files, IDOK));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ExitCode(), "3");
}

}  // namespace
