#include "tolvane/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane {
namespace {

TEST(TolvaneCommandLine, ReadsEverySwitchInEitherCase) {
    const CommandLineValues v = ParseCommandLine("/fC:\\list.ini /rC:\\p.ini /o0 /i /z1");
    EXPECT_EQ(v.list_file, "C:\\list.ini");
    EXPECT_EQ(v.parameter_file, "C:\\p.ini");
    EXPECT_EQ(v.operation, 0);
    EXPECT_EQ(v.topmost, 1);
    EXPECT_TRUE(v.seen_f && v.seen_r && v.seen_o && v.seen_i && v.seen_z);
}

TEST(TolvaneCommandLine, DefaultsWithoutSwitches) {
    const CommandLineValues v = ParseCommandLine("no switches here");
    EXPECT_EQ(v.list_file, "");
    EXPECT_EQ(v.parameter_file, "");
    EXPECT_EQ(v.operation, 1);
    EXPECT_EQ(v.topmost, 0);
    EXPECT_FALSE(v.seen_f || v.seen_r || v.seen_o || v.seen_i || v.seen_z);
}

TEST(TolvaneCommandLine, PathsLoseOuterBlanksButKeepInnerOnes) {
    const CommandLineValues v = ParseCommandLine("/F  C:\\My Data\\list.ini  /O1");
    EXPECT_EQ(v.list_file, "C:\\My Data\\list.ini");
    EXPECT_EQ(v.operation, 1);
}

TEST(TolvaneCommandLine, QuotesArePartOfTheValue) {
    EXPECT_EQ(ParseCommandLine("/F\"C:\\a b.ini\"").list_file, "\"C:\\a b.ini\"");
}

TEST(TolvaneCommandLine, OverlongPathsAreDroppedAndLaterSwitchesStillRead) {
    const std::string long_path(kListPathLimit + 1, 'a');
    const std::string long_param(kParameterPathLimit + 1, 'b');
    const CommandLineValues v = ParseCommandLine("/F" + long_path + "/R" + long_param + "/O7 /Z1");
    EXPECT_TRUE(v.seen_f && v.seen_r);
    EXPECT_TRUE(v.list_file_cut && v.parameter_file_cut);
    EXPECT_EQ(v.list_file, "");
    EXPECT_EQ(v.parameter_file, "");
    EXPECT_EQ(v.operation, 7);
    EXPECT_EQ(v.topmost, 1);
}

TEST(TolvaneCommandLine, PathsAtTheLimitAreKept) {
    const std::string path(kListPathLimit, 'a');
    const std::string param(kParameterPathLimit, 'b');
    const CommandLineValues v = ParseCommandLine("/F" + path + "/R" + param);
    EXPECT_EQ(v.list_file, path);
    EXPECT_EQ(v.parameter_file, param);
    EXPECT_FALSE(v.list_file_cut || v.parameter_file_cut);
}

TEST(TolvaneCommandLine, OnlyBlanksPastTheLimitDoNotCut) {
    const std::string path(kListPathLimit, 'c');
    const CommandLineValues kept = ParseCommandLine("/F" + path + "   /O1");
    EXPECT_FALSE(kept.list_file_cut);
    EXPECT_EQ(kept.list_file, path);
    // Leading blanks count: they push the path's own characters past the limit.
    const CommandLineValues pushed = ParseCommandLine("/F  " + std::string(kListPathLimit - 1, 'c') + " /O1");
    EXPECT_TRUE(pushed.list_file_cut);
    EXPECT_EQ(pushed.list_file, "");
    // A later, usable value replaces a dropped one.
    const CommandLineValues v = ParseCommandLine("/F" + path + "x /F ok.ini ");
    EXPECT_FALSE(v.list_file_cut);
    EXPECT_EQ(v.list_file, "ok.ini");
}

TEST(TolvaneCommandLine, OperationValues) {
    EXPECT_EQ(ParseCommandLine("/O1").operation, 1);
    EXPECT_EQ(ParseCommandLine("/O 1").operation, 1);
    EXPECT_EQ(ParseCommandLine("/O0").operation, 0);
    EXPECT_EQ(ParseCommandLine("/O2").operation, 2);
    EXPECT_EQ(ParseCommandLine("/O-1").operation, -1);
    EXPECT_EQ(ParseCommandLine("/O").operation, 0);
    EXPECT_EQ(ParseCommandLine("/Oabc").operation, 0);
    EXPECT_TRUE(RegistersFiles(ParseCommandLine("/O1").operation));
    EXPECT_FALSE(RegistersFiles(ParseCommandLine("/O").operation));
    EXPECT_FALSE(RegistersFiles(ParseCommandLine("/O2").operation));
    // A huge number saturates instead of overflowing.
    EXPECT_EQ(ParseCommandLine("/O99999999999999999999").operation, 2147483647L);
}

TEST(TolvaneCommandLine, TopmostOnlyForOne) {
    EXPECT_EQ(ParseCommandLine("/Z1").topmost, 1);
    EXPECT_EQ(ParseCommandLine("/Z 1").topmost, 1);
    EXPECT_EQ(ParseCommandLine("/Z2").topmost, 0);
    EXPECT_EQ(ParseCommandLine("/Z-1").topmost, 0);
    EXPECT_EQ(ParseCommandLine("/Z0").topmost, 0);
    EXPECT_TRUE(ParseCommandLine("/Z2").seen_z);
}

TEST(TolvaneCommandLine, RepeatedSwitchKeepsTheLastValue) {
    const CommandLineValues v = ParseCommandLine("/Ffirst.ini /O0 /Fsecond.ini /O1");
    EXPECT_EQ(v.list_file, "second.ini");
    EXPECT_EQ(v.operation, 1);
}

TEST(TolvaneCommandLine, ValueEndsAtSlashAndSlashAtEndStops) {
    const CommandLineValues v = ParseCommandLine("/FC:/dir/list.ini /");
    EXPECT_EQ(v.list_file, "C:");  // "/d" and "/l" are not switches
    EXPECT_FALSE(v.seen_r);
    EXPECT_EQ(ParseCommandLine("/Fx.ini/").list_file, "x.ini");
}

TEST(TolvaneCommandLine, SlashAfterASlashIsSkippedWithIt) {
    // The second slash of "//" goes with the first, so the letter after it is
    // plain text; a third slash starts a switch again.
    CommandLineValues v = ParseCommandLine("/Fa.ini //O1 //Rp.ini");
    EXPECT_EQ(v.list_file, "a.ini");
    EXPECT_FALSE(v.seen_o);
    EXPECT_FALSE(v.seen_r);
    EXPECT_EQ(SelectRunMode(v), RunMode::kNothing);

    v = ParseCommandLine("///O0 /Fa.ini//Rx");
    EXPECT_TRUE(v.seen_o);
    EXPECT_EQ(v.operation, 0);
    EXPECT_EQ(v.list_file, "a.ini");
    EXPECT_FALSE(v.seen_r);

    // A switch letter after one slash still starts a switch after "/x".
    v = ParseCommandLine("/x/Fb.ini /I//");
    EXPECT_EQ(v.list_file, "b.ini");
    EXPECT_TRUE(v.seen_i);
}

TEST(TolvaneCommandLine, UnknownSwitchesAndSkerritLettersAreIgnored) {
    const CommandLineValues v = ParseCommandLine("/L log /N name /X /Fa.ini");
    EXPECT_EQ(v.list_file, "a.ini");
    EXPECT_FALSE(v.seen_r || v.seen_o);
}

TEST(TolvaneCommandLine, ExpansionSwitchIgnoresItsTrailingText) {
    const CommandLineValues v = ParseCommandLine("/Iignored text /Fa.ini");
    EXPECT_TRUE(v.seen_i);
    EXPECT_EQ(v.list_file, "a.ini");
}

TEST(TolvaneCommandLine, EmptyParameterPathStillSetsTheFlag) {
    const CommandLineValues v = ParseCommandLine("/R   /Fa.ini");
    EXPECT_TRUE(v.seen_r);
    EXPECT_EQ(v.parameter_file, "");
}

TEST(TolvaneRunMode, SelectsByFlags) {
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/O1 /Fa.ini")), RunMode::kRegistration);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/I /O0 /Fa.ini /Rp.ini")), RunMode::kRegistration);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/I /Fa.ini /Rp.ini")), RunMode::kExpansion);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/I /Fa.ini")), RunMode::kNothing);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/O1 /Rp.ini")), RunMode::kNothing);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/Fa.ini /Rp.ini")), RunMode::kNothing);
    EXPECT_EQ(SelectRunMode(ParseCommandLine("")), RunMode::kNothing);
}

TEST(TolvaneCommandLine, SilentSwitchStandsAloneAndKeepsTheModes) {
    const CommandLineValues v = ParseCommandLine("/S /O1 /FC:\\list.ini");
    EXPECT_TRUE(v.seen_s);
    EXPECT_EQ(SelectRunMode(v), RunMode::kRegistration);
    EXPECT_EQ(v.list_file, "C:\\list.ini");
    const CommandLineValues lower = ParseCommandLine("/o0/fC:\\l.ini/s");
    EXPECT_TRUE(lower.seen_s);
    EXPECT_EQ(lower.list_file, "C:\\l.ini");
    EXPECT_EQ(SelectRunMode(ParseCommandLine("/I /S /Fx /Ry")), RunMode::kExpansion);
    // "/Setup" is no switch: the text reads as it did before /S existed.
    const CommandLineValues path = ParseCommandLine("/O1 /FC:/Setup/list.ini");
    EXPECT_FALSE(path.seen_s);
    EXPECT_EQ(path.list_file, "C:");
    EXPECT_FALSE(ParseCommandLine("/O1 /Sx /FC:\\l.ini").seen_s);
}

}  // namespace
}  // namespace tolvane

namespace tolvane {
namespace {

// The child that registers one server is told so by /X (its result file) and
// /P (the server), unquoted; a value that merely starts with those letters
// after a slash is no such switch.
TEST(TolvaneCommandLine, ChildSwitchesNameTheResultFileAndTheServer) {
    const CommandLineValues child = ParseCommandLine("/O0 /X C:\\T\\tvreg.1f.2.result /P C:\\My App\\s.dll");
    EXPECT_TRUE(child.seen_x);
    EXPECT_EQ(child.result_file, "C:\\T\\tvreg.1f.2.result");
    EXPECT_EQ(child.server_file, "C:\\My App\\s.dll");
    EXPECT_FALSE(RegistersFiles(child.operation));
    const CommandLineValues user = ParseCommandLine("/F C:/Program Files/Xtra/list.ini /O1");
    EXPECT_FALSE(user.seen_x);
    EXPECT_TRUE(user.server_file.empty());
}

}  // namespace
}  // namespace tolvane
