#include "skerrit/removal/install_log.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitAll(const std::vector<std::string>& chunks) {
    std::vector<std::string> lines;
    LogLineSplitter splitter([&](std::string_view line) { lines.emplace_back(line); });
    for (const std::string& chunk : chunks) splitter.Feed(chunk);
    return lines;
}

TEST(LogLineSplitter, CrLfAndBareLfReadTheSame) {
    const std::vector<std::string> expected = {"one", "two", "", "three"};
    EXPECT_EQ(SplitAll({"one\r\ntwo\r\n\r\nthree\r\n"}), expected);
    EXPECT_EQ(SplitAll({"one\ntwo\n\nthree\n"}), expected);
    // A carriage return anywhere is dropped; chunk borders do not matter.
    EXPECT_EQ(SplitAll({"o\rne\r", "\ntw", "o\n\nthr", "ee\n"}), expected);
}

TEST(LogLineSplitter, LastLineWithoutLineFeedIsNotRead) {
    EXPECT_EQ(SplitAll({"a\nb"}), std::vector<std::string>{"a"});
    EXPECT_TRUE(SplitAll({""}).empty());
}

TEST(LogLineSplitter, LongLineIsCutAndItsRestDropped) {
    const std::string head(kMaxLogLineLength, 'x');
    const auto lines = SplitAll({head + "C:\\tail.dll (Extracted)\nnext\n"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], head);
    EXPECT_EQ(lines[1], "next");
}

TEST(ClassifyLogLine, MarkersAndValues) {
    LogLine line = ClassifyLogLine("C:\\App\\a.dll (Extracted) more");
    EXPECT_EQ(line.kind, LogLineKind::ExtractedFile);
    EXPECT_EQ(line.value, "C:\\App\\a.dll");
    line = ClassifyLogLine("My Group (Custom Group Name)");
    EXPECT_EQ(line.kind, LogLineKind::CustomGroup);
    EXPECT_EQ(line.value, "My Group");
    line = ClassifyLogLine("<CGroup>;x;y;App;z (Group Setup) (Succeeded)");
    EXPECT_EQ(line.kind, LogLineKind::Shortcut);
    EXPECT_EQ(line.value, "<CGroup>;x;y;App;z");
    EXPECT_EQ(ClassifyLogLine("C:\\a.dll (extracted)").kind, LogLineKind::Other);  // exact case
    EXPECT_EQ(ClassifyLogLine("C:\\a.dll(Extracted)").kind, LogLineKind::Other);
    EXPECT_EQ(ClassifyLogLine(" (Extracted)").value, "");
    // First occurrence of the marker ends the value.
    EXPECT_EQ(ClassifyLogLine("a (Extracted) b (Extracted)").value, "a");
}

TEST(ShortcutLine, FolderIsFieldOneNameIsFieldFour) {
    std::string folder, name;
    ASSERT_TRUE(SplitShortcutFields("Grp;target;args;App Name;icon;more", folder, name));
    EXPECT_EQ(folder, "Grp");
    EXPECT_EQ(name, "App Name");
    ASSERT_TRUE(SplitShortcutFields(";;;;", folder, name));
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "");
    EXPECT_FALSE(SplitShortcutFields("Grp;target;args;App Name", folder, name));
    EXPECT_FALSE(SplitShortcutFields("", folder, name));
}

TEST(ShortcutLine, ItemAddsBackslashOnlyWhenMissing) {
    EXPECT_EQ(MakeShortcutItem("Grp", "App"), "[Shortcut] Grp\\App");
    EXPECT_EQ(MakeShortcutItem("C:\\", "App"), "[Shortcut] C:\\App");
    EXPECT_EQ(MakeShortcutItem("", "App"), "[Shortcut] \\App");
}

TEST(HelpIndexCompanion, LastThreeCharactersAnyCase) {
    EXPECT_EQ(HelpIndexCompanion("C:\\A\\X.HLP"), "C:\\A\\X.gid");
    EXPECT_EQ(HelpIndexCompanion("C:\\A\\x.hLp"), "C:\\A\\x.gid");
    EXPECT_EQ(HelpIndexCompanion("C:\\A\\xhlp"), "C:\\A\\xgid");
    EXPECT_EQ(HelpIndexCompanion("C:\\A\\x.hl"), "");
    EXPECT_EQ(HelpIndexCompanion("lp"), "");
}

TEST(ReviewItems, SortedWithoutCaseAndFirstFormKeptByCompareOrByKey) {
    for (ItemKey key : {static_cast<ItemKey>(nullptr), &AsciiFoldedKey}) {
        ReviewItems items(CompareAsciiNoCase, key);
        EXPECT_TRUE(items.Add("C:\\b.dll"));
        EXPECT_TRUE(items.Add("C:\\A.dll"));
        EXPECT_FALSE(items.Add("c:\\B.DLL"));
        EXPECT_TRUE(items.Add("[Shortcut] G\\x"));
        // "[" sorts before letters.
        EXPECT_EQ(items.InOrder(),
                  (std::vector<std::string>{"[Shortcut] G\\x", "C:\\A.dll", "C:\\b.dll"}));
        EXPECT_TRUE(items.consistent());
    }
}

std::string FirstLetterKey(const std::string& item) { return item.substr(0, 1); }

TEST(ReviewItems, KeyThatDisagreesWithTheComparisonIsReported) {
    ReviewItems items(CompareAsciiNoCase, FirstLetterKey);
    EXPECT_TRUE(items.Add("apple"));
    EXPECT_FALSE(items.Add("apple"));
    EXPECT_TRUE(items.consistent());
    EXPECT_FALSE(items.Add("avocado"));
    EXPECT_FALSE(items.consistent());
}

struct FakeMachine {
    std::string log;
    std::set<std::string> files;
    LogSources Sources() const {
        LogSources s;
        s.read_log = [this](LogLineSplitter& splitter) {
            // Feed in small chunks, as a file reader does.
            for (std::size_t i = 0; i < log.size(); i += 7) splitter.Feed(log.substr(i, 7));
        };
        s.file_exists = [this](const std::string& path) { return files.count(path) > 0; };
        s.folders.exe = "C:\\App";
        return s;
    }
};

TEST(ReviewInstallLog, FilesCompanionsGroupAndShortcuts) {
    FakeMachine m;
    m.files = {"C:\\App\\a.dll", "C:\\App\\HELP.HLP", "C:\\App\\HELP.gid", "C:\\App\\B.HLP"};
    m.log =
        "C:\\App\\a.dll (Extracted)\r\n"
        "C:\\App\\HELP.HLP (Extracted)\r\n"
        "C:\\App\\B.HLP (Extracted)\r\n"        // companion missing: only the help file
        "C:\\App\\gone.hlp (Extracted)\r\n"     // missing: neither
        "C:\\APP\\A.DLL (Extracted)\r\n"        // duplicate in other case
        "<CGroup>;<Exe>\\a.exe;;App;; (Group Setup) (Succeeded)\r\n"
        "<CGroup>;<Exe>\\a.exe;;Short (Group Setup) (Succeeded)\r\n"  // 3 semicolons
        "<Desktop>;<Exe>\\a.exe;;App;; (Group Setup) (Succeeded)\r\n"
        "Old Group (Custom Group Name)\r\n"
        "My Group (Custom Group Name)\r\n";     // later line wins, after the shortcut
    const LogReview review = ReviewInstallLog(m.Sources());
    EXPECT_EQ(review.custom_group, "My Group");
    EXPECT_EQ(review.items, (std::vector<std::string>{
                                "[Shortcut] <Desktop>\\App", "[Shortcut] My Group\\App",
                                "C:\\App\\a.dll", "C:\\App\\B.HLP", "C:\\App\\HELP.gid",
                                "C:\\App\\HELP.HLP"}));
}

TEST(ReviewInstallLog, OverlongExpansionIsSkippedNotCut) {
    FakeMachine m;
    // The group line fits, but twice the group does not fit the expansion.
    const std::string group(kMaxGroupNameLength + 100, 'g');
    m.log = group + " (Custom Group Name)\n"
            "<CGroup>\\<CGroup>;t;;App;; (Group Setup) (Succeeded)\n"
            "Fine;t;;App;; (Group Setup) (Succeeded)\n";
    const LogReview review = ReviewInstallLog(m.Sources());
    EXPECT_EQ(review.items, std::vector<std::string>{"[Shortcut] Fine\\App"});
}

// On a machine where every path names a file, hostile lines still list
// nothing: the path a system call would see is not the one the line shows, or
// it resolves against whatever the current folder is.
TEST(ReviewInstallLog, LinesThatNameNoFullPathListNothing) {
    FakeMachine m;
    const std::string nul(1, '\0');
    const std::vector<std::string> hostile = {
        "C:\\App\\keep.dll" + nul + "x (Extracted)",
        "victim.txt (Extracted)",
        "C:victim.txt (Extracted)",
        "\\victim.txt (Extracted)",
        "C:\\App\\..\\victim.txt (Extracted)",
        "C:\\App\\.\\victim.txt (Extracted)",
        "C:\\App/../victim.txt (Extracted)",
        "C:\\App\\\\victim.txt (Extracted)",
        "C:\\App\\victim.txt. (Extracted)",
        "C:\\App\\victim.txt::$DATA (Extracted)",
        "\\\\?\\C:\\App\\victim.txt (Extracted)",
        "\\\\.\\C:\\App\\victim.txt (Extracted)",
        "\\\\server (Extracted)",
        "C:\\" + std::string(300, 'v') + " (Extracted)",
        "<Desktop>;t;;..\\Links\\x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;Links\\..\\..\\x;; (Group Setup) (Succeeded)",
        "..\\Links;t;;x;; (Group Setup) (Succeeded)",
        "\\Links;t;;x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;\\x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;C:x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;../x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;;; (Group Setup) (Succeeded)",
        "<Desktop>" + nul + ";t;;x;; (Group Setup) (Succeeded)",
    };
    for (const std::string& line : hostile) {
        m.log = line + "\r\n";
        m.files.clear();
        LogSources sources = m.Sources();
        sources.file_exists = [](const std::string&) { return true; };
        EXPECT_TRUE(ReviewInstallLog(sources).items.empty()) << line;
    }
    // A NUL hides the group marker as well: the group stays unknown.
    m.log = "Grp" + nul + " (Custom Group Name)\n<CGroup>;t;;x;; (Group Setup) (Succeeded)\n";
    EXPECT_EQ(ReviewInstallLog(m.Sources()).custom_group, "");
    // Plain paths and names, UNC shares and a group ending with a backslash stay.
    m.log = "\\\\srv\\share\\a.dll (Extracted)\nC:\\Program Files\\caf\xe9\\b.dll (Extracted)\n"
            "<Desktop>\\;t;;App;; (Group Setup) (Succeeded)\n";
    m.files = {"\\\\srv\\share\\a.dll", "C:\\Program Files\\caf\xe9\\b.dll"};
    EXPECT_EQ(ReviewInstallLog(m.Sources()).items,
              (std::vector<std::string>{"[Shortcut] <Desktop>\\App", "\\\\srv\\share\\a.dll",
                                        "C:\\Program Files\\caf\xe9\\b.dll"}));
}

TEST(ReviewInstallLog, EmptyLogGivesNothing) {
    FakeMachine m;
    const LogReview review = ReviewInstallLog(m.Sources());
    EXPECT_TRUE(review.items.empty());
    const RemovalLists lists = BuildRemovalLists(review.items);
    EXPECT_FALSE(lists.files.present);
    EXPECT_FALSE(lists.shortcuts.present);
}

std::vector<std::string> Entries(const RemovalList& list) {
    std::vector<std::string> out;
    std::size_t cursor = 0;
    ListEntry entry;
    while (NextListEntry(list, cursor, entry)) out.push_back(entry.text);
    return out;
}

TEST(RemovalOrder, DeeperFirstThenReverseListOrder) {
    // In list order (case-insensitive sort).
    const std::vector<std::string> items = {
        "C:\\P\\a.dll", "C:\\P\\B.dll", "C:\\P\\Sub\\c.dll", "C:\\P\\sub\\D.dll",
        "C:\\top.dll", "[Shortcut] <Desktop>\\App", "[Shortcut] Grp\\Sub\\App"};
    const RemovalLists lists = BuildRemovalLists(items);
    ASSERT_TRUE(lists.files.present);
    ASSERT_TRUE(lists.shortcuts.present);
    EXPECT_EQ(Entries(lists.files),
              (std::vector<std::string>{"C:\\P\\sub\\D.dll", "C:\\P\\Sub\\c.dll", "C:\\P\\B.dll",
                                        "C:\\P\\a.dll", "C:\\top.dll"}));
    EXPECT_EQ(Entries(lists.shortcuts),
              (std::vector<std::string>{"Grp\\Sub\\App.lnk", "<Desktop>\\App.lnk"}));
    EXPECT_EQ(lists.files.text.substr(0, 17), "C:\\P\\sub\\D.dll\r\nC");
}

TEST(RemovalOrder, OnlyOneKindLeavesTheOtherAbsent) {
    const RemovalLists lists = BuildRemovalLists({"C:\\a"});
    EXPECT_TRUE(lists.files.present);
    EXPECT_FALSE(lists.shortcuts.present);
    EXPECT_TRUE(Entries(lists.shortcuts).empty());
}

TEST(NextListEntry, WalksCutsAndStops) {
    RemovalList list;
    list.present = true;
    const std::string longer(kMaxListEntryLength + 5, 'z');
    list.text = "a\r\n" + longer + "\r\n\r\nlast\r";
    std::size_t cursor = 0;
    ListEntry entry;
    ASSERT_TRUE(NextListEntry(list, cursor, entry));
    EXPECT_EQ(entry.text, "a");
    EXPECT_FALSE(entry.cut);
    ASSERT_TRUE(NextListEntry(list, cursor, entry));
    EXPECT_EQ(entry.text, longer.substr(0, kMaxListEntryLength));
    EXPECT_TRUE(entry.cut);
    ASSERT_TRUE(NextListEntry(list, cursor, entry));
    EXPECT_EQ(entry.text, "");
    ASSERT_TRUE(NextListEntry(list, cursor, entry));  // CR at the very end
    EXPECT_EQ(entry.text, "last");
    EXPECT_EQ(cursor, list.text.size());
    EXPECT_FALSE(NextListEntry(list, cursor, entry));

    RemovalList no_cr{true, "tail without return"};
    cursor = 0;
    EXPECT_FALSE(NextListEntry(no_cr, cursor, entry));
    RemovalList absent;
    EXPECT_FALSE(NextListEntry(absent, cursor, entry));
}

}  // namespace
