// Runs in a prefix that presents Windows 98: restart-time deletion goes
// through wininit.ini in the Windows folder.
#include "skerrit/removal/reboot_delete_win.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

std::string WininitPath() {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string path = windows;
    if (path.back() != '\\') path += '\\';
    return path + "wininit.ini";
}

std::string ShortPathOf(const std::string& path) {
    char buffer[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return buffer;
}

class Win98RebootTest : public ::testing::Test {
protected:
    void SetUp() override {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        ASSERT_TRUE(GetVersionExA(&version));
        ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS))
            << "the prefix must present Windows 98";
        DeleteFileA(wininit.c_str());
    }
    void TearDown() override { DeleteFileA(wininit.c_str()); }

    ScratchFolder dir{"h2w98"};
    std::string wininit = WininitPath();
};

TEST_F(Win98RebootTest, DeletionIsAddedFirstInTheRenameSection) {
    const std::string exe = dir / "Long Name Copy.exe";
    WriteFileAt(exe, "exe");
    WriteFileAt(wininit, "[Rename]\r\nNUL=C:\\OLD.TMP\r\nC:\\NEW.DLL=C:\\UPD.DLL\r\n");
    ASSERT_TRUE(ScheduleDeleteAtRestart(exe.c_str(), ""));
    const std::string short_exe = ShortPathOf(exe);
    ASSERT_FALSE(short_exe.empty());
    EXPECT_EQ(ReadFileAt(wininit), "[Rename]\r\nNUL=" + short_exe +
                                       "\r\nNUL=C:\\OLD.TMP\r\nC:\\NEW.DLL=C:\\UPD.DLL\r\n");
    EXPECT_TRUE(Exists(exe));  // only at the next start
}

TEST_F(Win98RebootTest, RenameWritesShortNewAndOldPaths) {
    const std::string from = dir / "updated file.dll";
    const std::string to = dir / "target file.dll";
    WriteFileAt(from, "new");
    WriteFileAt(to, "old");
    ASSERT_TRUE(ScheduleDeleteAtRestart(from.c_str(), to.c_str()));
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA("rename", ShortPathOf(to).c_str(), "", value, MAX_PATH,
                             wininit.c_str());
    EXPECT_EQ(std::string(value), ShortPathOf(from));
}

TEST_F(Win98RebootTest, MissingFileSchedulesNothing) {
    EXPECT_FALSE(ScheduleDeleteAtRestart((dir / "absent.exe").c_str(), ""));
    EXPECT_FALSE(Exists(wininit));
}

}  // namespace
