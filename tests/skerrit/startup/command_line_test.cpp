#include "skerrit/startup/command_line.h"
#include "skerrit/startup/temp_copy.h"
#include "skerrit/startup/uninstall_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RunSettings Parse(const std::string& tail) {
    RunSettings settings;
    ParseCommandLine(tail, settings);
    return settings;
}

TEST(SkerritCommandLine, NoSwitchesKeepsInitialValues) {
    const RunSettings s = Parse("  just text  ");
    EXPECT_FALSE(s.seen.Any());
    EXPECT_EQ(s.product_name, "Unknown");
    EXPECT_EQ(s.version, "0.00");
    EXPECT_EQ(s.log_path, "");
    EXPECT_EQ(s.topmost, 0);
    EXPECT_EQ(s.result_code, 2);
}

TEST(SkerritCommandLine, EntryModeSwitchesAreTrimmedButKeepInnerSpaces) {
    const RunSettings s =
        Parse("/I /N   My  Product   /V 1.0 /L C:\\Program Files\\App\\install.log /R C:\\t\\p.ini");
    EXPECT_TRUE(s.seen.I && s.seen.N && s.seen.V && s.seen.L && s.seen.R);
    EXPECT_FALSE(s.seen.Z);
    EXPECT_EQ(s.product_name, "My  Product");
    EXPECT_EQ(s.version, "1.0");
    EXPECT_EQ(s.log_path, "C:\\Program Files\\App\\install.log");
    EXPECT_EQ(s.parameter_file, "C:\\t\\p.ini");
}

TEST(SkerritCommandLine, UninstallStringRoundTrips) {
    const std::string command =
        UninstallCommandLine("C:\\App\\skerrit.exe", "C:\\App\\install.log", "My Product");
    EXPECT_EQ(command, "\"C:\\App\\skerrit.exe\" /L C:\\App\\install.log /N My Product /Z 1");
    // Windows passes the text after the quoted program name.
    const RunSettings s = Parse(command.substr(command.find(' ')));
    EXPECT_EQ(s.log_path, "C:\\App\\install.log");
    EXPECT_EQ(s.product_name, "My Product");
    EXPECT_EQ(s.topmost, 1);
    EXPECT_FALSE(s.seen.I);
}

TEST(SkerritCommandLine, TopmostAndLowerCaseAndSlashesInValues) {
    EXPECT_EQ(Parse("/Z1").topmost, 1);
    EXPECT_EQ(Parse("/z 1").topmost, 1);
    EXPECT_EQ(Parse("/Z 5").topmost, 0);
    EXPECT_EQ(Parse("/Z -1").topmost, 0);
    EXPECT_TRUE(Parse("/Z 5").seen.Z);
    const RunSettings s = Parse("/l c:/logs/install.log /n name");
    // "c:" ends at the slash; "/logs" is a second /L, "/install.log" an /I.
    EXPECT_EQ(s.log_path, "ogs");
    EXPECT_TRUE(s.seen.I);
    EXPECT_EQ(s.product_name, "name");
}

TEST(SkerritCommandLine, OverlongPathsAreMarkedCut) {
    const RunSettings s = Parse("/L " + std::string(300, 'x') + "/R " + std::string(900, 'y'));
    EXPECT_TRUE(s.log_path_cut);
    EXPECT_TRUE(s.parameter_file_cut);
    EXPECT_LE(s.log_path.size(), 259u);
    EXPECT_LE(s.parameter_file.size(), 779u);
    const RunSettings fits = Parse("/L " + std::string(258, 'x'));
    EXPECT_FALSE(fits.log_path_cut);
    EXPECT_EQ(fits.log_path.size(), 258u);
}

TEST(SkerritCommandLine, PathsWhoseLastCharacterIsKeptAreWhole) {
    // The uninstall entry puts blanks around the log path: " <log> " is cut
    // after 259 characters, which drops only the closing blank.
    const std::string log(258, 'l');
    const std::string params(778, 'p');
    const RunSettings s = Parse("/L " + log + " /N name /R " + params + "   /Z 1");
    EXPECT_FALSE(s.log_path_cut);
    EXPECT_FALSE(s.parameter_file_cut);
    EXPECT_EQ(s.log_path, log);
    EXPECT_EQ(s.parameter_file, params);
    EXPECT_EQ(s.product_name, "name");

    // Leading blanks count towards the limit: the path itself then is cut.
    const RunSettings shifted = Parse("/L  " + log + " /N name");
    EXPECT_TRUE(shifted.log_path_cut);
    EXPECT_EQ(shifted.log_path, log.substr(0, 257));
    // A cut inside blanks between words of the path changes the path.
    const RunSettings inner = Parse("/L " + std::string(257, 'a') + "  b");
    EXPECT_TRUE(inner.log_path_cut);
    EXPECT_EQ(inner.log_path, std::string(257, 'a'));
}

TEST(UninstallEntryTexts, DisplayNameAndUsableNames) {
    EXPECT_EQ(UninstallDisplayName("Unknown", "0.00"), "Unknown 0.00");
    EXPECT_TRUE(IsUsableEntryName("My Product"));
    EXPECT_FALSE(IsUsableEntryName(""));
    EXPECT_FALSE(IsUsableEntryName("Vendor\\Product"));
}

TEST(TempCopy, NameFromTickCountAndInsideTest) {
    EXPECT_EQ(TempCopyPath("C:\\TEMP\\", 123456789UL), "C:\\TEMP\\sker1a85.exe");
    EXPECT_EQ(TempCopyPath("C:\\TEMP", 10000UL), "C:\\TEMP\\sker0000.exe");
    EXPECT_EQ(TempCopyPath("C:\\TEMP", 9999UL), "C:\\TEMP\\sker270f.exe");
    // The copy is known by its switch, never by where it runs from.
    const RunSettings copy = Parse("/L C:\\log /S /X \"C:\\DOCUME~1\\A\\sker1a85.exe.1.2.result\"");
    EXPECT_TRUE(copy.seen.X);
    EXPECT_EQ(copy.result_file, "C:\\DOCUME~1\\A\\sker1a85.exe.1.2.result");
    EXPECT_TRUE(copy.Silent());
    EXPECT_FALSE(Parse("/L C:\\log /N Xtra/Xbox /Z 1").seen.X) << "a name's /X... is no switch";
    EXPECT_TRUE(Parse("/L C:\\log /X \"\"").result_file.empty());
}

TEST(SkerritCommandLine, SilentSwitchStandsAloneAndRidesOnTheQuietUninstallString) {
    const std::string quiet =
        QuietUninstallCommandLine("C:\\App\\skerrit.exe", "C:\\R&D (x86)\\install.log", "R&D ^Tools/2");
    EXPECT_EQ(quiet, "\"C:\\App\\skerrit.exe\" /L \"C:\\R&D (x86)\\install.log\" /N \"R&D ^Tools/2\" /Z 1 /S");
    const RunSettings s = Parse(quiet.substr(quiet.find(' ')));
    EXPECT_TRUE(s.Silent());
    EXPECT_EQ(s.log_path, "C:\\R&D (x86)\\install.log");
    EXPECT_EQ(s.product_name, "R&D ^Tools/2") << "the quotes are not part of the name";
    EXPECT_EQ(s.topmost, 1);
    EXPECT_TRUE(Parse("/l x /s").Silent());
    EXPECT_TRUE(Parse("/S").seen.Any()) << "a silent run relaunches like any other";
    // Uninstall-entry mode shows no window anyway.
    EXPECT_FALSE(Parse("/I /S /N x").Silent());
    // Names and paths written with forward slashes read as they always did.
    const RunSettings named = Parse("/L C:\\log /N Client/Server Tools /Z 1");
    EXPECT_FALSE(named.Silent());
    EXPECT_EQ(named.product_name, "Client");
    EXPECT_EQ(named.topmost, 1);
    EXPECT_FALSE(Parse("/L c:/setup/x.log").seen.S);
}

}  // namespace
