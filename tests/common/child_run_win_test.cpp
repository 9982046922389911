#include "common/child_run_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string TempBase() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "crt";
}

// Only a whole line with a number is a result: a child that died mid-write,
// or never wrote, failed.
TEST(RunResult, OnlyAWholeNumberLineIsAResult) {
    const std::string file = UniqueResultFile(TempBase());
    ASSERT_FALSE(file.empty());
    EXPECT_NE(UniqueResultFile(TempBase()), file) << "each run its own file";
    long value = 99;
    for (long written : {0L, 3010L, 1603L, -5L}) {
        ASSERT_TRUE(WriteRunResult(file, written));
        ASSERT_TRUE(ReadRunResult(file, value));
        EXPECT_EQ(value, written);
    }
    for (const char* broken : {"", "30", "3010\r", "x\r\n", "-\r\n"}) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << broken;
        value = 99;
        EXPECT_FALSE(ReadRunResult(file, value)) << '"' << broken << '"';
    }
    DeleteFileA(file.c_str());
    EXPECT_FALSE(ReadRunResult(file, value));
}

TEST(StartProgram, StartsInTheFolderAndInsideTheJob) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string cmd = std::string(system) + "\\cmd.exe";
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    ASSERT_NE(job, nullptr);
    DWORD pid = 0;
    HANDLE process = StartProgram(cmd, "/c exit 7", system, SW_HIDE, job, &pid);
    ASSERT_NE(process, nullptr);
    EXPECT_NE(pid, 0u);
    BOOL in_job = FALSE;
    EXPECT_TRUE(IsProcessInJob(process, job, &in_job) && in_job);
    ASSERT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
    DWORD status = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &status));
    EXPECT_EQ(status, 7u);
    CloseHandle(process);
    CloseHandle(job);
    EXPECT_EQ(StartProgram(std::string(system) + "\\no such program.exe", "", "", SW_HIDE), nullptr);
}

}  // namespace
