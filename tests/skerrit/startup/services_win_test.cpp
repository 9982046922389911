// skerrit's machine services and block search against the real Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "skerrit/startup/config_block_win.h"
#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/uninstall_entry_win.h"
#include "tests/driver/e2e_driver.h"

namespace {

const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = e2e::MakeTempFolder("svc"); }
    void TearDown() override {
        char here[MAX_PATH];
        GetTempPathA(sizeof(here), here);
        SetCurrentDirectoryA(here);  // CopyFileToPath moves the current folder
        e2e::RemoveTree(folder_);
    }
    std::string folder_;
};

TEST(RunningExecutableTest, PathIsTheWholePathOfThisProgram) {
    const std::string path = RunningExecutablePath();
    const std::string name = "\\skerrit_services_test.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(TempFolderTest, CopyFileToPathCreatesMissingFoldersUpperFirst) {
    const std::string source = folder_ + "\\source.bin";
    ASSERT_TRUE(e2e::WriteFile(source, "payload"));
    const std::string target = folder_ + "\\one\\two\\copy.bin";
    ASSERT_TRUE(CopyFileToPath(source.c_str(), target.c_str(), false));
    std::string copied;
    ASSERT_TRUE(e2e::ReadFile(target, &copied));
    EXPECT_EQ(copied, "payload");
    // Fail-if-exists is the caller's choice; overwriting is allowed otherwise.
    EXPECT_FALSE(CopyFileToPath(source.c_str(), target.c_str(), true));
    EXPECT_TRUE(CopyFileToPath(source.c_str(), target.c_str(), false));
}

TEST_F(TempFolderTest, CopyFileToPathFailsWhenAFolderCannotBeMade) {
    const std::string source = folder_ + "\\source.bin";
    ASSERT_TRUE(e2e::WriteFile(source, "x"));
    const std::string blocker = folder_ + "\\file";
    ASSERT_TRUE(e2e::WriteFile(blocker, "a file where a folder is wanted"));
    EXPECT_FALSE(CopyFileToPath(source.c_str(), (blocker + "\\sub\\copy.bin").c_str(), false));
    EXPECT_FALSE(CopyFileToPath((folder_ + "\\missing.bin").c_str(), (folder_ + "\\x\\c.bin").c_str(), false));
}

TEST_F(TempFolderTest, LocateConfigBlockReadsTheSecondMarkerAndRefusesDamage) {
    std::string block(20116, '\0');
    block.replace(0, 13, "Config Marker");
    block[16] = static_cast<char>(20116 & 0xFF);
    block[17] = static_cast<char>(20116 >> 8);
    block.replace(20 + 256, 5, "Hello");  // record 0's message
    // The search key straddles the first 1024-byte boundary.
    std::string file(1020, 'x');
    file += "Config Marker";
    file += std::string(3000, 'y');
    const std::size_t block_at = file.size();
    file += block;
    const std::string path = folder_ + "\\fake.exe";
    ASSERT_TRUE(e2e::WriteFile(path, file));
    auto found = LocateConfigBlock(path.c_str());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Text(0, ConfigField::Message), "Hello");

    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindInFile(handle, 0, "config MARKER", true), 1020);
    EXPECT_EQ(FindInFile(handle, 0, "config MARKER", false), -1);
    EXPECT_EQ(FindInFile(handle, 1021, "Config Marker", false), static_cast<long>(block_at));
    CloseHandle(handle);

    // A stored length beyond the file: no block.
    std::string beyond = file;
    beyond[block_at + 17] = static_cast<char>(0x7F);
    ASSERT_TRUE(e2e::WriteFile(path, beyond));
    EXPECT_EQ(LocateConfigBlock(path.c_str()), nullptr);
    // Only one marker: no block.
    ASSERT_TRUE(e2e::WriteFile(path, std::string(500, 'z') + "Config Marker" + std::string(100, 'z')));
    EXPECT_EQ(LocateConfigBlock(path.c_str()), nullptr);
    EXPECT_EQ(LocateConfigBlock((folder_ + "\\none.exe").c_str()), nullptr);
}

TEST(UninstallEntry, WrittenAndRemovedWithCountedStrings) {
    const std::string name = "H1 Services Entry";
    ASSERT_EQ(RegisterUninstallEntry(UninstallEntry{name, "2.5", "C:\\Log Dir\\install.log", "C:\\App\\sk.exe"}), 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    char value[512] = {};
    DWORD size = sizeof(value);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    const std::string expected = "\"C:\\App\\sk.exe\" /L C:\\Log Dir\\install.log /N H1 Services Entry /Z 1";
    EXPECT_EQ(std::string(value), expected);
    EXPECT_EQ(size, expected.size() + 1) << "the terminating NUL is counted";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    size = sizeof(value);
    ASSERT_EQ(RegQueryValueExA(key, "DisplayName", nullptr, &type, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "H1 Services Entry 2.5");
    // What deployment tools read: the same command with /S, and the version alone.
    const std::pair<const char*, std::string> deployment_values[] = {{"QuietUninstallString",
        "\"C:\\App\\sk.exe\" /L \"C:\\Log Dir\\install.log\" /N \"H1 Services Entry\" /Z 1 /S"},
                                                                      {"DisplayVersion", "2.5"}};
    for (const auto& [name_of_value, content] : deployment_values) {
        size = sizeof(value);
        ASSERT_EQ(RegQueryValueExA(key, name_of_value, nullptr, &type, reinterpret_cast<BYTE*>(value), &size),
                  ERROR_SUCCESS)
            << name_of_value;
        EXPECT_EQ(std::string(value), content);
        EXPECT_EQ(size, content.size() + 1) << name_of_value;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    }
    RegCloseKey(key);

    // The key goes with all its values.
    EXPECT_EQ(RemoveUninstallEntry(name), 1);
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RemoveUninstallEntry(name), 2) << "already gone";
}

TEST(UninstallEntry, EmptyOrNestedNamesNeverTouchTheUninstallKeyItself) {
    EXPECT_EQ(RegisterUninstallEntry(UninstallEntry{"", "1", "log", "exe"}), 2);
    EXPECT_EQ(RemoveUninstallEntry(""), 2);
    EXPECT_EQ(RegisterUninstallEntry(UninstallEntry{"Vendor\\Product", "1", "log", "exe"}), 2);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(key, "UninstallString", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(ShutdownPrivilege, EnabledOnThisPlatform) {
    // The prefix is an NT-family Windows whose user may restart the machine.
    EXPECT_TRUE(EnableShutdownPrivilege());
}

}  // namespace
