#include "common/param_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class ParamFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        char name[MAX_PATH];
        GetTempFileNameA(temp, "prm", 0, name);
        path_ = name;
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }
    void Write(const std::string& text) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::string path_;
};

TEST_F(ParamFileTest, ReadsTheThreeFolders) {
    Write("[Other]\r\nExePath=wrong\r\n[TVRTP]\r\nExePath=C:\\App\r\nTempDir=C:\\Tmp\r\n"
          "CustomPath=D:\\Custom Folder\r\n");
    const ParameterFolders folders = ReadParameterFolders(path_);
    EXPECT_EQ(folders.exe_path, "C:\\App");
    EXPECT_EQ(folders.temp_dir, "C:\\Tmp");
    EXPECT_EQ(folders.custom_path, "D:\\Custom Folder");
}

TEST_F(ParamFileTest, LongValueIsReadWholeNeverCut) {
    Write("[TVRTP]\r\nExePath=" + std::string(400, 'x') + "\r\nTempDir=" + std::string(5000, 't') +
          "\r\n");
    EXPECT_EQ(ReadParameterValue(path_, "ExePath"), std::string(400, 'x'));
    EXPECT_EQ(ReadParameterFolders(path_).temp_dir, std::string(5000, 't'));
    EXPECT_EQ(ReadParameterValue("", "ExePath"), "") << "an empty name never reaches win.ini";
}

TEST_F(ParamFileTest, MissingSectionGivesEmptyFoldersAndExitCodeCreatesIt) {
    Write("[Else]\r\nA=1\r\n");
    const ParameterFolders folders = ReadParameterFolders(path_);
    EXPECT_EQ(folders.exe_path, "");
    EXPECT_EQ(folders.temp_dir, "");
    EXPECT_EQ(folders.custom_path, "");
    ASSERT_TRUE(WriteExitCode(path_, -3));
    EXPECT_EQ(ReadParameterValue(path_, "ExitCode"), "-3");
    ASSERT_TRUE(WriteExitCode(path_, 1));
    char raw[32] = {};
    GetPrivateProfileStringA("TVRTP", "ExitCode", "", raw, sizeof(raw), path_.c_str());
    EXPECT_STREQ(raw, "1");
    EXPECT_NE(Read().find("[Else]"), std::string::npos);
}

TEST(ParamFile, MissingFileReadsEmpty) {
    EXPECT_EQ(ReadParameterValue("C:\\no\\such\\folder\\params.ini", "TempDir"), "");
}

}  // namespace
