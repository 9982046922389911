#include "skerrit/removal/wininit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

TEST(WininitRewrite, LineGoesRightAfterHeaderInAnyCase) {
    EXPECT_EQ(InsertWininitDeletion("[RENAME]\r\nC:\\A.DLL=C:\\B.DLL\r\n", "C:\\TEMP\\SKER1A85.EXE"),
              "[RENAME]\r\nNUL=C:\\TEMP\\SKER1A85.EXE\r\nC:\\A.DLL=C:\\B.DLL\r\n");
    EXPECT_EQ(InsertWininitDeletion("; c\r\n[Rename]\r\n", "X"), "; c\r\n[Rename]\r\nNUL=X\r\n");
}

TEST(WininitRewrite, MissingHeaderAddsSectionAtTop) {
    EXPECT_EQ(InsertWininitDeletion("", "C:\\X.EXE"), "[rename]\r\nNUL=C:\\X.EXE\r\n");
    EXPECT_EQ(InsertWininitDeletion("[other]\r\nk=v\r\n", "X"),
              "[rename]\r\nNUL=X\r\n[other]\r\nk=v\r\n");
    // A header without CR LF after it is not the header.
    EXPECT_EQ(InsertWininitDeletion("[rename]\nNUL=A\n", "X"), "[rename]\r\nNUL=X\r\n[rename]\nNUL=A\n");
}

TEST(WininitRewrite, ExistingDeletionsStay) {
    const std::string old = "[rename]\r\nNUL=C:\\OLD1.TMP\r\nNUL=C:\\OLD2.TMP\r\n";
    EXPECT_EQ(InsertWininitDeletion(old, "C:\\NEW.TMP"),
              "[rename]\r\nNUL=C:\\NEW.TMP\r\nNUL=C:\\OLD1.TMP\r\nNUL=C:\\OLD2.TMP\r\n");
}

TEST(WininitRewrite, FirstHeaderOnly) {
    EXPECT_EQ(FindRenameHeader("x[rename]\r\n[RENAME]\r\n"), 1u);
    EXPECT_EQ(FindRenameHeader("[renam]\r\n"), std::string::npos);
    EXPECT_EQ(FindRenameHeader("[rename]\r"), std::string::npos);
}

TEST(WininitRewrite, RandomContentPreservedByteForByte) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string content(static_cast<std::size_t>(random() % 3000), '\0');
        for (char& c : content) c = static_cast<char>(byte(random));
        if (round % 2 == 0) content.insert(random() % (content.size() + 1), "[ReNaMe]\r\n");
        const std::string result = InsertWininitDeletion(content, "C:\\S.EXE");
        const std::string line = "NUL=C:\\S.EXE\r\n";
        const std::size_t header = FindRenameHeader(content);
        std::string expected;
        if (header == std::string::npos) {
            expected = "[rename]\r\n" + line + content;
        } else {
            expected = content;
            expected.insert(header + 10, line);
        }
        ASSERT_EQ(result, expected) << "round " << round;
        ASSERT_EQ(result.size(), content.size() + line.size() + (header == std::string::npos ? 10 : 0));
    }
}

}  // namespace
