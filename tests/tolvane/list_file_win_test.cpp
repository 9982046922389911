// The list file through the profile functions, and expansion mode over a real
// file with the system's folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/path_macros_win.h"
#include "tests/driver/e2e_driver.h"
#include "tolvane/expand_register_list.h"
#include "tolvane/list_file_win.h"
#include "tolvane/result_code.h"

namespace tolvane {
namespace {

class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = e2e::MakeTempFolder("tvlist");
        ASSERT_FALSE(folder_.empty());
        file_ = folder_ + "\\list.ini";
    }
    void TearDown() override { e2e::RemoveTree(folder_); }
    std::string folder_, file_;
};

TEST_F(ListFileTest, ValuesAreReadWholeWhateverTheirLength) {
    for (std::size_t length : {1u, 519u, 520u, 1023u, 1024u, 5000u}) {
        const std::string value(length, 'v');
        ASSERT_TRUE(WriteListFileValue(file_, "REG1", value));
        EXPECT_EQ(ReadListFileValue(file_, "REG1"), value) << length;
    }
    EXPECT_EQ(ReadListFileValue(file_, "REG2"), "");
    EXPECT_EQ(ReadListFileValue(folder_ + "\\absent.ini", "REG1"), "");
}

TEST_F(ListFileTest, EmptyListNameNeverReachesWinIni) {
    EXPECT_FALSE(WriteListFileValue("", "REG1", "C:\\x.dll"));
    char value[64] = {};
    GetProfileStringA("REGISTER", "REG1", "", value, sizeof value);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(ReadListFileValue("", "REG1"), "");
}

TEST_F(ListFileTest, ExpansionWithTheSystemFolders) {
    ASSERT_TRUE(e2e::WriteFile(file_, "[REGISTER]\r\nREG1=<AutoSys>\\a.dll\r\nREG2=<win>\\b.tlb\r\n"
                                      "REG3=<WinTemp>\\c.dll\r\n"));
    MacroFolders folders;
    FetchSystemMacroFolders(folders);
    const long result = ExpandRegisterList(
        [&](const std::string& key) { return ReadListFileValue(file_, key); },
        [&](const std::string& key, const std::string& value) { return WriteListFileValue(file_, key, value); },
        TolvaneMacroTable(folders));
    EXPECT_EQ(result, kResultDone);

    char system[MAX_PATH] = {}, windows[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    std::string temp_folder(temp);
    if (!temp_folder.empty() && temp_folder.back() == '\\') temp_folder.pop_back();
    EXPECT_EQ(ReadListFileValue(file_, "REG1"), std::string(system) + "\\a.dll");
    EXPECT_EQ(ReadListFileValue(file_, "REG2"), std::string(windows) + "\\b.tlb");
    EXPECT_EQ(ReadListFileValue(file_, "REG3"), temp_folder + "\\c.dll");
}

}  // namespace
}  // namespace tolvane
