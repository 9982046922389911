#include "tolvane/register_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tolvane/expand_register_list.h"
#include "tolvane/result_code.h"

namespace tolvane {
namespace {

using Section = std::map<std::string, std::string>;

ListValueReader ReaderOf(const Section& section) {
    return [&section](const std::string& key) {
        auto found = section.find(key);
        return found == section.end() ? std::string() : found->second;
    };
}

std::vector<std::string> Walk(const Section& section) {
    std::vector<std::string> seen;
    WalkRegisterList(ReaderOf(section), [&](const ListValue& v) {
        seen.push_back(std::to_string(v.number) + "=" + v.text + (v.cut ? " (cut)" : ""));
    });
    return seen;
}

TEST(RegisterListWalk, StopsAtFirstMissingOrEmptyKey) {
    EXPECT_EQ(Walk({{"REG1", "a"}, {"REG2", "b"}, {"REG4", "d"}}),
              (std::vector<std::string>{"1=a", "2=b"}));
    EXPECT_EQ(Walk({{"REG1", "a"}, {"REG2", ""}, {"REG3", "c"}}), (std::vector<std::string>{"1=a"}));
    EXPECT_TRUE(Walk({{"REG2", "b"}}).empty());
    EXPECT_EQ(Walk({{"REG1", "a"}, {"REG10", "x"}}), (std::vector<std::string>{"1=a"}));
}

TEST(RegisterListWalk, KeysAreNumberedInDecimal) {
    Section section;
    for (int n = 1; n <= 12; ++n) section["REG" + std::to_string(n)] = "f" + std::to_string(n);
    const std::vector<std::string> seen = Walk(section);
    ASSERT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen[9], "10=f10");
    EXPECT_EQ(RegisterKeyName(1), "REG1");
    EXPECT_EQ(RegisterKeyName(123), "REG123");
}

TEST(RegisterListWalk, ValueOverTheLimitIsMarkedCut) {
    const std::string exact(kListValueLimit, 'p');
    const std::string over(kListValueLimit + 1, 'q');
    std::vector<ListValue> values;
    WalkRegisterList(ReaderOf({{"REG1", exact}, {"REG2", over}}),
                     [&](const ListValue& v) { values.push_back(v); });
    ASSERT_EQ(values.size(), 2u);
    EXPECT_FALSE(values[0].cut);
    EXPECT_EQ(values[0].text, exact);
    EXPECT_TRUE(values[1].cut);
    EXPECT_EQ(values[1].text.size(), kListValueLimit);
}

TEST(TypeLibraryName, LastThreeCharactersInAnyCase) {
    EXPECT_TRUE(IsTypeLibraryName("C:\\a\\lib.tlb"));
    EXPECT_TRUE(IsTypeLibraryName("C:\\a\\LIB.TLB"));
    EXPECT_TRUE(IsTypeLibraryName("C:\\a\\libtlb"));
    EXPECT_TRUE(IsTypeLibraryName("tLb"));
    EXPECT_FALSE(IsTypeLibraryName("C:\\a\\lib.dll"));
    EXPECT_FALSE(IsTypeLibraryName("C:\\a\\lib.tlb "));
    EXPECT_FALSE(IsTypeLibraryName("C:\\a\\lib.tl"));
    // Shorter names are server files.
    EXPECT_FALSE(IsTypeLibraryName("lb"));
    EXPECT_FALSE(IsTypeLibraryName(""));
}

TEST(ServerFolder, DriveAndDirectoryWithoutTrailingBackslash) {
    EXPECT_EQ(ServerFolderOf("C:\\Program Files\\App\\srv.dll"), "C:\\Program Files\\App");
    EXPECT_EQ(ServerFolderOf("C:/dir/srv.dll"), "C:/dir/");
    EXPECT_EQ(ServerFolderOf("C:\\dir/sub\\srv.dll"), "C:\\dir/sub");
    EXPECT_EQ(ServerFolderOf("\\\\server\\share\\srv.dll"), "\\\\server\\share");
    EXPECT_EQ(ServerFolderOf("srv.dll"), "");
    EXPECT_EQ(ServerFolderOf("C:srv.dll"), "C:");
}

TEST(ServerFolder, RootKeepsItsBackslash) {
    EXPECT_EQ(ServerFolderOf("C:\\srv.dll"), "C:\\");
    EXPECT_EQ(ServerFolderOf("\\srv.dll"), "\\");
}

TEST(HelpFolder, UpToTheLastBackslash) {
    EXPECT_EQ(HelpFolderOf("C:\\libs\\a.tlb"), "C:\\libs");
    EXPECT_EQ(HelpFolderOf("C:\\a.tlb"), "C:");
    EXPECT_EQ(HelpFolderOf("\\a.tlb"), "");
    EXPECT_EQ(HelpFolderOf("a.tlb"), "");
    EXPECT_EQ(HelpFolderOf("C:/libs/a.tlb"), "");
}

class ExpandRegisterListTest : public ::testing::Test {
protected:
    MacroTable Table() const {
        MacroFolders folders;
        folders.exe = "C:\\App\\";
        folders.custom = "D:\\Custom";
        folders.windows = "C:\\WINDOWS";
        folders.system = "C:\\WINDOWS\\system32";
        folders.win_temp = "C:\\TEMP\\";
        folders.installer_temp = "C:\\TVTMP";
        return TolvaneMacroTable(folders);
    }

    long Expand(Section& section, const CutMacroNames& cut_macros = {}) {
        writes.clear();
        return ExpandRegisterList(
            ReaderOf(section),
            [&](const std::string& key, const std::string& value) {
                writes.push_back(key);
                if (key == refused_key) return false;
                section[key] = value;
                return true;
            },
            Table(), cut_macros);
    }

    std::vector<std::string> writes;
    std::string refused_key;  // a write of this key fails
};

TEST_F(ExpandRegisterListTest, RewritesEveryValueUpToTheFirstGap) {
    Section section{{"REG1", "<Exe>\\srv.dll"},
                    {"REG2", "C:\\plain\\x.dll"},
                    {"REG3", "<sys32>\\a.tlb"},
                    {"REG5", "<Exe>\\never.dll"}};
    EXPECT_EQ(Expand(section), kResultDone);
    EXPECT_EQ(writes, (std::vector<std::string>{"REG1", "REG2", "REG3"}));
    // The program folder's own trailing backslash is dropped before "\srv.dll".
    EXPECT_EQ(section["REG1"], "C:\\App\\srv.dll");
    EXPECT_EQ(section["REG2"], "C:\\plain\\x.dll");
    EXPECT_EQ(section["REG3"], "C:\\WINDOWS\\System32\\a.tlb");
    EXPECT_EQ(section["REG5"], "<Exe>\\never.dll");
}

TEST_F(ExpandRegisterListTest, UsesTolvanesTable) {
    Section section{{"REG1", "<Custom>\\<CGroup>x.dll"}, {"REG2", "<TVTemp>\\<WinTemp>\\t.tlb"}};
    EXPECT_EQ(Expand(section), kResultDone);
    EXPECT_EQ(section["REG1"], "D:\\Custom\\x.dll");  // <CGroup> is not tolvane's
    EXPECT_EQ(section["REG2"], "C:\\TVTMP\\C:\\TEMP\\t.tlb");
}

TEST_F(ExpandRegisterListTest, NoFirstKeyFailsAndWritesNothing) {
    Section section{{"REG2", "<Exe>\\a.dll"}};
    EXPECT_EQ(Expand(section), kResultFailed);
    EXPECT_TRUE(writes.empty());
}

TEST_F(ExpandRegisterListTest, OverlongValuesAreNeverWrittenCut) {
    const std::string near_limit(kListValueLimit - 5, 'x');
    Section section{{"REG1", near_limit + "<Exe>"},              // expands past the limit
                    {"REG2", std::string(kListValueLimit + 3, 'y')},  // already too long
                    {"REG3", "<Exe>\\ok.dll"}};
    const Section before = section;
    EXPECT_EQ(Expand(section), kResultDone);
    EXPECT_EQ(writes, (std::vector<std::string>{"REG3"}));
    EXPECT_EQ(section["REG1"], before.at("REG1"));
    EXPECT_EQ(section["REG2"], before.at("REG2"));
    EXPECT_EQ(section["REG3"], "C:\\App\\ok.dll");
}

TEST_F(ExpandRegisterListTest, ValuesNamingACutFolderAreLeftAsTheyStand) {
    Section section{{"REG1", "<Exe>\\a.dll"},
                    {"REG2", "<Win>\\b.dll"},
                    {"REG3", "x<<TVTEMP>\\c.dll"},
                    {"REG4", "<Custom>\\d.dll"}};
    const Section before = section;
    EXPECT_EQ(Expand(section, {"<Exe>", "<TVTemp>"}), kResultDone);
    EXPECT_EQ(writes, (std::vector<std::string>{"REG2", "REG4"}));
    EXPECT_EQ(section["REG1"], before.at("REG1"));
    EXPECT_EQ(section["REG2"], "C:\\WINDOWS\\b.dll");
    EXPECT_EQ(section["REG3"], before.at("REG3"));
    EXPECT_EQ(section["REG4"], "D:\\Custom\\d.dll");
}

TEST_F(ExpandRegisterListTest, ValueExpandingToNothingKeepsTheListGoing) {
    Section section{{"REG1", "<Unknown>"}, {"REG2", "<Exe>\\b.dll"}};
    EXPECT_EQ(Expand(section), kResultDone);
    EXPECT_EQ(writes, (std::vector<std::string>{"REG2"}));
    EXPECT_EQ(section["REG1"], "<Unknown>");
    EXPECT_EQ(section["REG2"], "C:\\App\\b.dll");
}

// Done means something was written back: a list with nothing to write, or a
// write that failed, is a failure. Blanks only are never written (the list
// would end there).
TEST_F(ExpandRegisterListTest, DoneOnlyWhenValuesWereWrittenBack) {
    Section blanks{{"REG1", "  <Unknown>  "}, {"REG2", "<Exe>"}};
    EXPECT_EQ(Expand(blanks, {"<Exe>"}), kResultFailed);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(blanks["REG1"], "  <Unknown>  ");

    Section section{{"REG1", "<Exe>\\a.dll"}, {"REG2", "<Exe>\\b.dll"}, {"REG3", "<Exe>\\c.dll"}};
    refused_key = "REG2";
    EXPECT_EQ(Expand(section), kResultFailed);
    EXPECT_EQ(writes, (std::vector<std::string>{"REG1", "REG2"})) << "nothing is written after a failed write";
    EXPECT_EQ(section["REG3"], "<Exe>\\c.dll");
}

TEST_F(ExpandRegisterListTest, ExpansionExactlyAtTheLimitIsWritten) {
    const std::string head(kListValueLimit - 6, 'z');  // + "C:\App" = limit
    Section section{{"REG1", head + "<Exe>"}};
    EXPECT_EQ(Expand(section), kResultDone);
    EXPECT_EQ(section["REG1"].size(), kListValueLimit);
}

}  // namespace
}  // namespace tolvane
