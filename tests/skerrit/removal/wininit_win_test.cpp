#include "skerrit/removal/wininit_win.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

class WininitFileTest : public ::testing::Test {
protected:
    ScratchFolder dir{"h2wi"};
    std::string wininit = dir / "wininit.ini";

    // Only wininit.ini is left behind by a successful edit.
    int FileCount() {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir / "*").c_str(), &data);
        int count = 0;
        if (find == INVALID_HANDLE_VALUE) return 0;
        do {
            if (data.cFileName[0] != '.') ++count;
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return count;
    }
};

TEST_F(WininitFileTest, CapitalHeaderGetsTheLineRightAfterIt) {
    WriteFileAt(wininit, "[boot]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\OLD.TMP\r\n");
    ASSERT_TRUE(AddWininitDeletion("C:\\TEMP\\SKER1A85.EXE", wininit.c_str()));
    EXPECT_EQ(ReadFileAt(wininit),
              "[boot]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\TEMP\\SKER1A85.EXE\r\nNUL=C:\\OLD.TMP\r\n");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(WininitFileTest, MissingFileOrHeaderGetsANewSectionOnTop) {
    ASSERT_TRUE(AddWininitDeletion("C:\\A.EXE", wininit.c_str()));
    EXPECT_EQ(ReadFileAt(wininit), "[rename]\r\nNUL=C:\\A.EXE\r\n");
    WriteFileAt(wininit, "[other]\r\nk=v");
    ASSERT_TRUE(AddWininitDeletion("C:\\B.EXE", wininit.c_str()));
    EXPECT_EQ(ReadFileAt(wininit), "[rename]\r\nNUL=C:\\B.EXE\r\n[other]\r\nk=v");
}

TEST_F(WininitFileTest, BinaryContentSurvivesWhole) {
    std::string content;
    for (int i = 0; i < 5000; ++i) content += static_cast<char>((i * 131) & 0xFF);
    content.insert(3000, "[rename]\r\n");
    WriteFileAt(wininit, content);
    ASSERT_TRUE(AddWininitDeletion("C:\\Z.EXE", wininit.c_str()));
    std::string expected = content;
    expected.insert(3010, "NUL=C:\\Z.EXE\r\n");
    EXPECT_EQ(ReadFileAt(wininit), expected);
}

TEST_F(WininitFileTest, FailureLeavesTheOldFileAsItWas) {
    const std::string old = "[rename]\r\nNUL=C:\\KEEP.TMP\r\n";
    WriteFileAt(wininit, old);
    // The work file's name is taken by a folder, so it cannot be created.
    CreateDirectoryA((dir / "wininit.new").c_str(), nullptr);
    EXPECT_FALSE(AddWininitDeletion("C:\\A.EXE", wininit.c_str()));
    EXPECT_EQ(ReadFileAt(wininit), old);
    RemoveDirectoryA((dir / "wininit.new").c_str());
    EXPECT_FALSE(AddWininitDeletion("", wininit.c_str()));
    EXPECT_EQ(ReadFileAt(wininit), old);
}

}  // namespace
