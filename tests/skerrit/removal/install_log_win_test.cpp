#include "skerrit/removal/install_log_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

class ReadInstallLogTest : public ::testing::Test {
protected:
    ScratchFolder dir{"h2log"};
    SortedListBox list;
    MacroFolders folders;

    void SetUp() override {
        ASSERT_NE(list.get(), nullptr);
        folders.exe = dir.path() + "App";
        WriteFileAt(dir / "App\\a.dll", "a");
        WriteFileAt(dir / "App\\Sub\\b.dll", "b");
        WriteFileAt(dir / "App\\GUIDE.HLP", "h");
        WriteFileAt(dir / "App\\GUIDE.gid", "g");
        WriteFileAt(dir / "App\\LONE.HLP", "h");
    }

    // The log with `eol` after every line.
    std::string Log(const char* eol) {
        const std::string lines[] = {
            dir / "App\\a.dll (Extracted)",
            dir / "APP\\A.DLL (Extracted) again in other case",
            dir / "App\\Sub\\b.dll (Extracted)",
            dir / "App\\GUIDE.HLP (Extracted)",
            dir / "App\\LONE.HLP (Extracted)",
            dir / "App\\MISSING.HLP (Extracted)",
            dir / "App\\Sub (Extracted)",  // a folder is not an installed file
            "<CGroup>;<Exe>\\a.exe;;App;; (Group Setup) (Succeeded)",
            "<CGroup>;<Exe>\\a.exe;;Three (Group Setup) (Succeeded)",
            "<Desktop>;<Exe>\\a.exe;;App;; (Group Setup) (Succeeded)",
            "H2 Group (Custom Group Name)",
        };
        std::string log;
        for (const std::string& line : lines) log += line + eol;
        return log;
    }

    std::vector<std::string> Read(const std::string& log, InstallLogContent& content) {
        WriteFileAt(dir / "install.log", log);
        EXPECT_TRUE(ReadInstallLog(list.get(), (dir / "install.log").c_str(), folders, content));
        return ListBoxItems(list.get());
    }
};

TEST_F(ReadInstallLogTest, ListsFilesCompanionsAndShortcutsOnce) {
    InstallLogContent content;
    const std::vector<std::string> items = Read(Log("\r\n"), content);
    EXPECT_EQ(items, (std::vector<std::string>{
                         "[Shortcut] <Desktop>\\App", "[Shortcut] H2 Group\\App",
                         dir / "App\\a.dll", dir / "App\\GUIDE.gid", dir / "App\\GUIDE.HLP",
                         dir / "App\\LONE.HLP", dir / "App\\Sub\\b.dll"}));
    EXPECT_EQ(content.custom_group, "H2 Group");

    std::vector<std::string> files;
    std::size_t cursor = 0;
    ListEntry entry;
    while (NextListEntry(content.lists.files, cursor, entry)) files.push_back(entry.text);
    EXPECT_EQ(files, (std::vector<std::string>{dir / "App\\Sub\\b.dll", dir / "App\\LONE.HLP",
                                               dir / "App\\GUIDE.HLP", dir / "App\\GUIDE.gid",
                                               dir / "App\\a.dll"}));
    EXPECT_EQ(content.lists.shortcuts.text, "H2 Group\\App.lnk\r\n<Desktop>\\App.lnk\r\n");
}

TEST_F(ReadInstallLogTest, CrLfAndBareLineFeedReadTheSame) {
    InstallLogContent crlf, lf;
    const auto with_crlf = Read(Log("\r\n"), crlf);
    const auto with_lf = Read(Log("\n"), lf);
    EXPECT_EQ(with_crlf, with_lf);
    EXPECT_EQ(crlf.lists.files.text, lf.lists.files.text);
    EXPECT_EQ(crlf.lists.shortcuts.text, lf.lists.shortcuts.text);
    EXPECT_EQ(with_crlf.size(), 7u);
}

TEST_F(ReadInstallLogTest, MissingLogFailsAndEmptiesTheList) {
    SendMessageA(list.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("stale"));
    InstallLogContent content;
    EXPECT_FALSE(ReadInstallLog(list.get(), (dir / "none.log").c_str(), folders, content));
    EXPECT_EQ(SendMessageA(list.get(), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ReadInstallLogTest, EmptyLogGivesAbsentLists) {
    InstallLogContent content;
    EXPECT_TRUE(Read("", content).empty());
    EXPECT_FALSE(content.lists.files.present);
    EXPECT_FALSE(content.lists.shortcuts.present);
}

TEST_F(ReadInstallLogTest, OrderAndDuplicatesMatchTheListBoxOwnSorting) {
    // Names that a locale-aware comparison treats unlike plain bytes.
    const char* names[] = {"co-op.txt", "coop.txt", "Co_op.txt", "it's.txt", "its.txt",
                           "ITS.TXT", "a10.txt", "a9.txt", "A-9.txt", "\xE9t\xE9.txt",
                           "ete.txt", "\xC9T\xC9.TXT", "zeta.txt", "~tilde.txt", "[x].txt",
                           "x y.txt", "x_y.txt", "x.y.txt", "xy.txt", "b-.txt", "b.txt"};
    std::string log;
    for (const char* name : names) {
        WriteFileAt(dir / (std::string("Mix\\") + name), "x");
        log += dir / (std::string("Mix\\") + name) + " (Extracted)\r\n";
        log += "Grp;t;;" + std::string(name) + ";; (Group Setup) (Succeeded)\r\n";
    }
    InstallLogContent content;
    const std::vector<std::string> items = Read(log, content);

    // What the list box does itself when each new item is added sorted.
    SortedListBox reference;
    std::vector<std::string> in_log_order;
    for (const char* name : names) in_log_order.push_back(dir / (std::string("Mix\\") + name));
    for (const char* name : names) in_log_order.push_back(std::string("[Shortcut] Grp\\") + name);
    for (const std::string& item : in_log_order) {
        if (!Exists(item) && item.rfind("[Shortcut]", 0) != 0) continue;
        if (SendMessageA(reference.get(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(item.c_str())) == LB_ERR)
            SendMessageA(reference.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    EXPECT_EQ(items, ListBoxItems(reference.get()));
    EXPECT_GT(items.size(), 10u);
}

}  // namespace
