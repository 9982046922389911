#include "common/command_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const SwitchRule kRules[] = {
    {'I', false, 0}, {'L', true, 259}, {'N', true, 259}, {'R', true, 779}, {'Z', true, 31},
};

std::string Describe(const std::vector<ScannedSwitch>& found) {
    std::string out;
    for (const ScannedSwitch& sw : found) {
        out += sw.letter;
        out += '[';
        out += sw.value;
        out += ']';
    }
    return out;
}

std::string Scan(const std::string& tail) { return Describe(ScanSwitches(tail, kRules)); }

TEST(CommandScan, ValuesRunToNextSlashAndKeepTheirBlanks) {
    EXPECT_EQ(Scan("/I /N  My Product  /L c:\\log.txt"), "I[]N[  My Product  ]L[ c:\\log.txt]");
    EXPECT_EQ(Scan(""), "");
    EXPECT_EQ(Scan("no switches here"), "");
}

TEST(CommandScan, LowerCaseLettersAndUnknownLettersAndStraySlashes) {
    EXPECT_EQ(Scan("/l log /n name"), "L[ log ]N[ name]");
    // /X is unknown: the slash and the letter are skipped, its text too.
    EXPECT_EQ(Scan("/X junk /Lfile"), "L[file]");
    EXPECT_EQ(Scan("/ /1 //Lx/"), "L[x]");
    EXPECT_EQ(Scan("/"), "");
    EXPECT_EQ(Scan("/L"), "L[]");
}

TEST(CommandScan, ForwardSlashInAValueEndsItAndTheRestIsScanned) {
    // "c:/nlog" ends at the slash; "/nlog" is read as /N with value "log".
    EXPECT_EQ(Scan("/L c:/nlog/Z1"), "L[ c:]N[log]Z[1]");
}

TEST(CommandScan, ValueBeyondItsLimitIsReadAndDropped) {
    const std::string long_value(300, 'a');
    const auto found = ScanSwitches("/L" + long_value + "/Z1", kRules);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].value, std::string(259, 'a'));
    EXPECT_TRUE(found[0].cut);
    EXPECT_FALSE(found[1].cut);
    EXPECT_FALSE(ScanSwitches("/L" + std::string(259, 'a'), kRules)[0].cut);
    EXPECT_EQ(found[1].letter, 'Z');
    EXPECT_EQ(found[1].value, "1");
    const auto param = ScanSwitches("/R" + std::string(800, 'p'), kRules);
    ASSERT_EQ(param.size(), 1u);
    EXPECT_EQ(param[0].value.size(), 779u);
}

TEST(CommandScan, QuotedValueIsTheTextBetweenTheQuotesSlashesIncluded) {
    const SwitchRule quotable[] = {{'L', true, 259, false, true}, {'N', true, 259, false, true}, {'Z', true, 31}};
    const auto Scan = [&](const std::string& tail) { return Describe(ScanSwitches(tail, quotable)); };
    EXPECT_EQ(Scan("/L \"C:\\R&D (x)\\log\" /N \"R&D / Tools\" /Z 1"),
              "L[C:\\R&D (x)\\log]N[R&D / Tools]Z[ 1]");
    // Text after the closing quote up to the next switch is skipped.
    EXPECT_EQ(Scan("/N\"a\"b /Z1"), "N[a]Z[1]");
    // Without a closing quote the value reads as before, quote and all.
    EXPECT_EQ(Scan("/N \"open /Z1"), "N[ \"open ]Z[1]");
    EXPECT_EQ(Scan("/N x\"y\" /Z1"), "N[ x\"y\" ]Z[1]");
    const auto cut = ScanSwitches("/N \"" + std::string(300, 'n') + "\"", quotable);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_TRUE(cut[0].cut);
    EXPECT_EQ(cut[0].value.size(), 259u);
    // Without the rule's leave, quotes are part of the value.
    EXPECT_EQ(Describe(ScanSwitches("/N \"a/b\"", kRules)), "N[ \"a]");
}

TEST(CommandScan, SwitchWithoutValueIgnoresFollowingText) {
    EXPECT_EQ(Scan("/Iabc/Nx"), "I[]N[x]");
    EXPECT_EQ(Scan("/N a /N b"), "N[ a ]N[ b]");
}

TEST(SignedDecimal, BehavesLikeAtolWithSaturation) {
    EXPECT_EQ(ParseSignedDecimal("  42abc"), 42);
    EXPECT_EQ(ParseSignedDecimal("-7"), -7);
    EXPECT_EQ(ParseSignedDecimal("+3"), 3);
    EXPECT_EQ(ParseSignedDecimal("\t 1 2"), 1);
    EXPECT_EQ(ParseSignedDecimal(""), 0);
    EXPECT_EQ(ParseSignedDecimal("x1"), 0);
    EXPECT_EQ(ParseSignedDecimal("- 1"), 0);
    EXPECT_EQ(ParseSignedDecimal("99999999999999999999"), 2147483647L);
    EXPECT_EQ(ParseSignedDecimal("-99999999999999999999"), -2147483647L - 1);
}

TEST(SignedDecimal, TopmostIsOneOnlyForOne) {
    EXPECT_EQ(TopmostFromSwitchValue("1"), 1);
    EXPECT_EQ(TopmostFromSwitchValue(" 1"), 1);
    EXPECT_EQ(TopmostFromSwitchValue("01 "), 1);
    EXPECT_EQ(TopmostFromSwitchValue("5"), 0);
    EXPECT_EQ(TopmostFromSwitchValue("-1"), 0);
    EXPECT_EQ(TopmostFromSwitchValue(""), 0);
}

// A switch added later (standalone /S) may only take text that the scan
// skipped before: every other switch and value stays as it was, and "/S" is
// taken only where no letter follows it ("Client/Server" stays a value's
// text, as it always read).
TEST(CommandScan, StandaloneSwitchLeavesEveryOtherReadingAlone) {
    const SwitchRule with_s[] = {
        {'I', false, 0}, {'L', true, 259}, {'N', true, 259}, {'R', true, 779}, {'Z', true, 31}, {'S', false, 0, true},
    };
    EXPECT_EQ(Describe(ScanSwitches("/N Client/Server /s/L x /S", with_s)), "N[ Client]S[]L[ x ]S[]");
    EXPECT_EQ(Describe(ScanSwitches("/Sx /S\t/s", with_s)), "S[]S[]");
    const char alphabet[] = {'/', '/', 'S', 's', 'L', 'n', 'I', ' ', '\t', 'a', '\\', '1'};
    unsigned state = 12345u;
    for (int round = 0; round < 20000; ++round) {
        std::string tail;
        const int length = static_cast<int>((state = state * 1103515245u + 12345u) >> 16) % 24;
        for (int i = 0; i < length; ++i)
            tail += alphabet[((state = state * 1103515245u + 12345u) >> 16) % sizeof(alphabet)];
        std::vector<ScannedSwitch> others;
        for (const ScannedSwitch& sw : ScanSwitches(tail, with_s))
            if (sw.letter != 'S') others.push_back(sw);
        ASSERT_EQ(Describe(others), Scan(tail)) << "tail: " << tail;
    }
}

}  // namespace
