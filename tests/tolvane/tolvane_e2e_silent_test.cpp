// End to end: /S runs, as a deployment tool starts them: no window or message
// at any moment, the result in ExitCode and in the exit status.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/driver/window_watch.h"
#include "tolvane_run_win.h"

namespace {

using namespace tolvane_test;

class SilentRun : public TolvaneRun {
protected:
    // Runs tolvane with `args` and returns its exit status; fails the test
    // when any window showed meanwhile.
    DWORD RunSilently(const std::string& args) {
        e2e::WindowWatch watch;
        Start(args);
        const DWORD status = Finish();
        const std::vector<std::string> shown = watch.Stop();
        std::string lines;
        for (const std::string& line : shown) lines += "\n  " + line;
        EXPECT_TRUE(shown.empty()) << "windows shown by " << args << ":" << lines;
        return status;
    }
    std::string Silent(const char* operation) {
        return std::string("/S /O") + operation + " /F" + list_ + " /R" + params_;
    }
};

// Missing files are skipped without a warning; the rest is registered, then
// unregistered, and the exit status says what ExitCode says.
TEST_F(SilentRun, RegistersAndUnregistersTheExistingFiles) {
    const std::string c = Server("c", "tve2e_silent_c");
    const std::string b = Server("b", "tve2e_silent_b");
    const std::string tlb = Fixture(FixtureTypeLib(), "a\\fixture.tlb");
    ASSERT_TRUE(WriteRegisterList(list_, {c, root_ + "missing\\gone.dll", b, tlb}));

    EXPECT_EQ(RunSilently(Silent("1")), 0u) << "success as deployment tools read it";
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_TRUE(ServerKeyExists("tve2e_silent_b"));
    EXPECT_TRUE(ServerKeyExists("tve2e_silent_c"));
    EXPECT_TRUE(FixtureTypeLibRegistered());
    EXPECT_EQ(ServerCalledFrom("tve2e_silent_b"), root_ + "b");

    EXPECT_EQ(RunSilently("/s/o0/f" + list_), 0u) << "lower case, no parameter file";
    EXPECT_FALSE(ServerKeyExists("tve2e_silent_b"));
    EXPECT_FALSE(ServerKeyExists("tve2e_silent_c"));
    EXPECT_FALSE(FixtureTypeLibRegistered());
    EXPECT_EQ(ExitCode(), "1") << "the run without /R left the file alone";
}

// In the dialog's sorted order, not key order: the file sorted before the
// failing one is done, the one after it is left; a server that faults or
// otherwise misbehaves (in its child tolvane) shows no crash message either.
TEST_F(SilentRun, FirstFailureInListOrderStopsWithThree) {
    for (const auto& [fixture, name] : FailingServerCases()) {
        SCOPED_TRACE(name + " from " + fixture);
        const std::string failing = Fixture(fixture, "m\\" + name);
        const std::string later = Server("z", "tve2e_silent_later");
        const std::string earlier = Server("a", "tve2e_silent_earlier");
        ASSERT_TRUE(WriteRegisterList(list_, {later, failing, earlier}));
        ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=1\r\n"));

        EXPECT_EQ(RunSilently(Silent("1")), 1603u);
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_TRUE(ServerKeyExists("tve2e_silent_earlier"));
        EXPECT_FALSE(ServerKeyExists("tve2e_silent_later"));

        ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExitCode=1\r\n"));
        EXPECT_EQ(RunSilently(Silent("0")), 1603u) << "unregistration stops there too";
        EXPECT_EQ(ExitCode(), "3");
        EXPECT_FALSE(ServerKeyExists("tve2e_silent_earlier"));
        DeleteFileA(failing.c_str());
    }
}

// Nothing to register: every file missing, an empty list, a Unicode list.
TEST_F(SilentRun, NothingListableEndsWithThree) {
    ASSERT_TRUE(WriteRegisterList(list_, {root_ + "gone1.dll", root_ + "gone2.tlb"}));
    EXPECT_EQ(RunSilently(Silent("1")), 1603u);
    EXPECT_EQ(ExitCode(), "3");

    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\n"));
    EXPECT_EQ(RunSilently(Silent("1")), 1603u);

    const std::string b = Server("b", "tve2e_silent_unicode");
    ASSERT_TRUE(e2e::WriteFile(list_, "\xEF\xBB\xBF[REGISTER]\r\nREG1=" + b + "\r\n"));
    EXPECT_EQ(RunSilently(Silent("1")), 1603u);
    EXPECT_FALSE(ServerKeyExists("tve2e_silent_unicode"));
}

// Expansion mode is unchanged by /S: it shows nothing and ends with 2.
TEST_F(SilentRun, ExpansionModeIsUnchanged) {
    ASSERT_TRUE(e2e::WriteFile(params_, "[TVRTP]\r\nExePath=C:\\Prog\r\n"));
    ASSERT_TRUE(e2e::WriteFile(list_, "[REGISTER]\r\nREG1=<Exe>\\srv.dll\r\n"));
    EXPECT_EQ(RunSilently("/S /I /F" + list_ + " /R" + params_), 2u);
    EXPECT_EQ(ExitCode(), "1");
    EXPECT_EQ(e2e::ReadIni(list_, "REGISTER", "REG1"), "C:\\Prog\\srv.dll");
}

}  // namespace
