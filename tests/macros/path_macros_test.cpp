#include "common/path_macros.h"
#include "common/special_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

MacroFolders SampleFolders() {
    MacroFolders f;
    f.custom = "D:\\Custom";
    f.custom_group = "My Group";
    f.exe = "C:\\Program Files\\App\\";
    f.windows = "C:\\WINDOWS";
    f.win_temp = "C:\\WINDOWS\\TEMP\\";
    f.system = "C:\\WINDOWS\\SYSTEM32";
    f.installer_temp = "C:\\TVTMP";
    return f;
}

std::string Skerrit(const char* source, const MacroFolders& f = SampleFolders()) {
    return ExpandPathMacros(source, SkerritMacroTable(f));
}

std::string Tolvane(const char* source, const MacroFolders& f = SampleFolders()) {
    return ExpandPathMacros(source, TolvaneMacroTable(f));
}

TEST(PathMacros, EveryNameOfBothTables) {
    EXPECT_EQ(Skerrit("<Custom>|<CGroup>|<Exe>|<Win>|<WinTemp>|<Sys>|<Sys32>|<AutoSys>|<TVTemp>"),
              "D:\\Custom|My Group|C:\\Program Files\\App\\|C:\\WINDOWS|C:\\WINDOWS\\TEMP|"
              "C:\\WINDOWS\\SYSTEM|C:\\WINDOWS\\System32|C:\\WINDOWS\\SYSTEM32|C:\\TVTMP");
    // tolvane has no <CGroup>: it vanishes like any unknown name.
    EXPECT_EQ(Tolvane("<Custom>|<CGroup>|<Exe>|<Win>|<WinTemp>|<Sys>|<Sys32>|<AutoSys>|<TVTemp>"),
              "D:\\Custom||C:\\Program Files\\App|C:\\WINDOWS|C:\\WINDOWS\\TEMP|"
              "C:\\WINDOWS\\SYSTEM|C:\\WINDOWS\\System32|C:\\WINDOWS\\SYSTEM32|C:\\TVTMP");
}

TEST(PathMacros, NamesCompareWithoutCase) {
    EXPECT_EQ(Skerrit("<WINTEMP>"), "C:\\WINDOWS\\TEMP");
    EXPECT_EQ(Skerrit("<win>\\FONTS"), "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(Tolvane("<sYs32>\\x.dll"), "C:\\WINDOWS\\System32\\x.dll");
}

TEST(PathMacros, SystemSubfoldersAddBackslashOnlyWhenMissing) {
    MacroFolders f = SampleFolders();
    f.windows = "C:\\";
    EXPECT_EQ(Skerrit("<Sys>|<Sys32>", f), "C:\\SYSTEM|C:\\System32");
    f.windows.clear();
    EXPECT_EQ(Skerrit("<Sys32>", f), "\\System32");
}

TEST(PathMacros, BracketEdgeCases) {
    EXPECT_EQ(Skerrit("A<Nope>B"), "AB");
    EXPECT_EQ(Skerrit("A<B<Exe>"), "AC:\\Program Files\\App\\");
    EXPECT_EQ(Skerrit("A>B"), "A>B");
    EXPECT_EQ(Skerrit("C:\\dir\\<Exe"), "C:\\dir\\");
    EXPECT_EQ(Skerrit("<>"), "");
    EXPECT_EQ(Skerrit("<Exe>>"), "C:\\Program Files\\App\\>");
}

TEST(PathMacros, TrailingBackslashRuleDiffersPerProgram) {
    EXPECT_EQ(Skerrit("<Exe>"), "C:\\Program Files\\App\\");
    EXPECT_EQ(Tolvane("<Exe>"), "C:\\Program Files\\App");
    EXPECT_EQ(Tolvane("<Exe>\\a.dll"), "C:\\Program Files\\App\\a.dll");
    // The rule looks at the whole output: an empty value after a backslash
    // removes that backslash.
    MacroFolders f = SampleFolders();
    f.custom.clear();
    EXPECT_EQ(Tolvane("X\\<Custom>", f), "X");
    EXPECT_EQ(Skerrit("X\\<Custom>", f), "X\\");
    EXPECT_EQ(Skerrit("X\\<WinTemp>", [] { MacroFolders m; return m; }()), "X");
    // An empty output has nothing to remove.
    EXPECT_EQ(Tolvane("<Custom>a", f), "a");
    // Only one backslash goes.
    f.win_temp = "C:\\T\\\\";
    EXPECT_EQ(Skerrit("<WinTemp>", f), "C:\\T\\");
    // <AutoSys>, <Sys>, <TVTemp> keep a trailing backslash in both tables.
    f.installer_temp = "C:\\TV\\";
    EXPECT_EQ(Tolvane("<TVTemp>", f), "C:\\TV\\");
}

TEST(PathMacros, SpecialFolderNamesPassThroughOnlyForSkerrit) {
    EXPECT_EQ(Skerrit("<Desktop>\\App"), "<Desktop>\\App");
    EXPECT_EQ(Skerrit("<SendTo>;<Start>;<StartUp>"), "<SendTo>;<Start>;<StartUp>");
    EXPECT_EQ(Skerrit("<desktop>\\App"), "<desktop>\\App");  // as written
    EXPECT_EQ(Tolvane("<Desktop>\\App"), "\\App");
}

TEST(PathMacros, LongNameRunPassesThroughUnchanged) {
    const std::string run62(62, 'x');
    EXPECT_EQ(Skerrit(("a<" + run62 + ">b").c_str()), "ab");
    const std::string run63(63, 'x');
    EXPECT_EQ(Skerrit(("a<" + run63 + ">b").c_str()), "a<" + run63 + ">b");
    // After passing through, a later macro still expands.
    EXPECT_EQ(Skerrit(("<" + run63 + "<Win>").c_str()), "<" + run63 + "C:\\WINDOWS");
}

TEST(PathMacros, BufferFormCutsAndReportsIt) {
    const MacroTable table = SkerritMacroTable(SampleFolders());
    char buffer[17];
    std::strcpy(buffer, "<Win>\\FONTS");
    EXPECT_TRUE(ExpandPathMacros(buffer, sizeof buffer, buffer, table));  // same buffer
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\FONTS");

    std::strcpy(buffer, "<Exe>x");
    EXPECT_FALSE(ExpandPathMacros(buffer, sizeof buffer, buffer, table));
    EXPECT_STREQ(buffer, "C:\\Program Files");

    std::strcpy(buffer, "keep");
    EXPECT_TRUE(ExpandPathMacros(buffer, sizeof buffer, "", table));
    EXPECT_STREQ(buffer, "keep");
    EXPECT_TRUE(ExpandPathMacros(buffer, sizeof buffer, nullptr, table));
    EXPECT_STREQ(buffer, "keep");
    EXPECT_TRUE(ExpandPathMacros(nullptr, 4, "x", table));
}

TEST(SpecialFolder, FirstNameInTableOrderDecides) {
    EXPECT_EQ(FindSpecialFolder("<Desktop>\\App"), SpecialFolder::Desktop);
    EXPECT_EQ(FindSpecialFolder("<StartUp>\\x<SendTo>"), SpecialFolder::SendTo);
    EXPECT_EQ(FindSpecialFolder("<Start>\\App"), SpecialFolder::StartMenu);
    EXPECT_EQ(FindSpecialFolder("<StartUp>\\App"), SpecialFolder::Startup);
    EXPECT_EQ(FindSpecialFolder("<DESKTOP>\\App"), SpecialFolder::Programs);  // exact case
    EXPECT_EQ(FindSpecialFolder("My Group\\App"), SpecialFolder::Programs);
}

TEST(SpecialFolder, FirstComponentIsReplaced) {
    EXPECT_EQ(ComposeSpecialFolderPath("C:\\Desk", "<Desktop>\\App.lnk", SpecialFolder::Desktop),
              "C:\\Desk\\App.lnk");
    EXPECT_EQ(ComposeSpecialFolderPath("C:\\Desk", "<Desktop>\\Sub\\App.lnk",
                                       SpecialFolder::Desktop),
              "C:\\Desk\\Sub\\App.lnk");
    EXPECT_EQ(ComposeSpecialFolderPath("C:\\Progs", "My Group\\App.lnk", SpecialFolder::Programs),
              "C:\\Progs\\My Group\\App.lnk");
    // Nothing after the special name: it would name the shell folder itself.
    EXPECT_EQ(ComposeSpecialFolderPath("C:\\Desk", "<Desktop>", SpecialFolder::Desktop), "");
    EXPECT_EQ(ComposeSpecialFolderPath("C:\\Desk", "<Desktop>\\", SpecialFolder::Desktop), "");
}

}  // namespace
