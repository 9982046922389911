// Text shown for item information, dates, times, numbers and message titles.
#include <gtest/gtest.h>

#include "ulmarsh/close_request.h"
#include "ulmarsh/dos_datetime.h"
#include "tests/ulmarsh/fake_control.h"
#include "ulmarsh/item_info_text.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/number_text.h"
#include "ulmarsh/unzip_events.h"
#include "ulmarsh/unzip_props.h"

namespace ulmarsh {
namespace {

TEST(ItemText, AttributeLetters) {
    EXPECT_EQ(AttributeText(0x21), "a----r--");
    EXPECT_EQ(AttributeText(0x10010), "-d-----L");
    EXPECT_EQ(AttributeText(0x8000), "------*-");
    EXPECT_EQ(AttributeText(0), "--------");
    EXPECT_EQ(AttributeText(-1), "advshr*L");
}

TEST(ItemText, MethodNames) {
    EXPECT_STREQ(MethodName(0), "Stored");
    EXPECT_STREQ(MethodName(6), "Imploded");
    EXPECT_STREQ(MethodName(8), "Deflated");
    EXPECT_STREQ(MethodName(9), "Unknown");
    EXPECT_STREQ(MethodName(-1), "Unknown");
    EXPECT_STREQ(PathTypeText(-1), "Yes");
    EXPECT_STREQ(PathTypeText(0), "No");
}

TEST(NumberText, WholeNumbersOfEachType) {
    EXPECT_EQ(ParseInt16("-1"), int16_t{-1});
    EXPECT_EQ(ParseInt16(" 32767 "), int16_t{32767});
    EXPECT_EQ(ParseInt16("-32768"), int16_t{-32768});
    EXPECT_FALSE(ParseInt16("32768"));
    EXPECT_FALSE(ParseInt16("-32769"));
    EXPECT_FALSE(ParseInt16(""));
    EXPECT_FALSE(ParseInt16("-"));
    EXPECT_FALSE(ParseInt16("1.5"));
    EXPECT_FALSE(ParseInt16("12abc"));
    EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32("+2147483647"), INT32_MAX);
    EXPECT_FALSE(ParseInt32("2147483648"));
    EXPECT_FALSE(ParseInt32("99999999999999999999999999"));
    EXPECT_EQ(DecimalText(-42), "-42");
}

TEST(DosDate, ShownAndReadBack) {
    EXPECT_EQ(FormatDosDate(0x279F), "12/31/1999");
    EXPECT_EQ(ParseDosDate("12/31/1999"), 0x279F);
    EXPECT_EQ(FormatDosDate(0x2B3C), "09/28/2001");
    EXPECT_EQ(ParseDosDate("09/28/2001"), 0x2B3C);
    // Separators are not examined; the year is the last four characters.
    EXPECT_EQ(ParseDosDate("09-28-  2001"), 0x2B3C);
}

TEST(DosDate, OnlyCalendarDaysTheWordCarriesAreRead) {
    // Packed, these would come back as other days (2107, 1980, month 12, 03/03).
    for (const char* text : {"01/01/1979", "01/01/2108", "13/01/2000", "00/10/2000",
                             "10/00/2000", "10/32/2000", "02/29/2001", "04/31/2000",
                             "-1/01/2000", "01/01/1851"})
        EXPECT_FALSE(ParseDosDate(text)) << text;
    EXPECT_EQ(ParseDosDate("01/01/1980"), 0x21);
    EXPECT_EQ(ParseDosDate("02/29/2000"), 20 * 512 + 2 * 32 + 29);
    EXPECT_EQ(ParseDosDate("12/31/2107"), 127 * 512 + 12 * 32 + 31);

    // Every 16-bit word reads back as itself or not at all, never as another
    // day; the words that read are the 46751 days from 1980 to 2107.
    int days = 0;
    for (int32_t word = 0; word <= 0xFFFF; ++word) {
        const auto back = ParseDosDate(FormatDosDate(word));
        if (!back) continue;
        ASSERT_EQ(*back, word) << FormatDosDate(word);
        ++days;
    }
    EXPECT_EQ(days, 128 * 365 + 31);
}

TEST(DosDateTime, OutOfRangeIsToldApartFromUnreadable) {
    EXPECT_EQ(ReadDosDate("01/01/1979").status, DosWordText::OutOfRange);
    EXPECT_EQ(ReadDosDate("5/5/05").status, DosWordText::Unreadable);
    EXPECT_EQ(ReadDosTime("23:59:59").status, DosWordText::OutOfRange);
    EXPECT_EQ(ReadDosTime("23:59:5x").status, DosWordText::Unreadable);
}

TEST(DosDate, UnreadableFieldsGiveNothing) {
    EXPECT_FALSE(ParseDosDate("1/5/2000"));
    EXPECT_FALSE(ParseDosDate("ab/cd/efgh"));
    EXPECT_FALSE(ParseDosDate("12/31"));
    EXPECT_FALSE(ParseDosDate(""));
}

TEST(DosTime, ShownAndReadBack) {
    EXPECT_EQ(FormatDosTime(0x5E54), "11:50:40");
    EXPECT_EQ(ParseDosTime("11:50:40"), 0x5E54);
    const int32_t lastOfDay = 23 * 2048 + 59 * 32 + 29;
    EXPECT_EQ(FormatDosTime(lastOfDay), "23:59:58");
    EXPECT_EQ(ParseDosTime("23:59:58"), lastOfDay);
}

TEST(DosTime, OddSecondsHalveToEven) {
    EXPECT_EQ(ParseDosTime("00:00:13"), 6);   // stored as 12 seconds
    EXPECT_EQ(ParseDosTime("00:00:15"), 8);   // stored as 16 seconds
    EXPECT_FALSE(ParseDosTime("1:2:3"));
    EXPECT_FALSE(ParseDosTime("11:50:4x"));
}

TEST(DosTime, OnlyTimesTheWordCarriesAreRead) {
    // 59 seconds would halve to a 60th second: the next minute, here the next day.
    for (const char* text : {"23:59:59", "24:00:00", "12:60:00", "12:00:60", "00:00:-3",
                             "-1:00:00"})
        EXPECT_FALSE(ParseDosTime(text)) << text;
    EXPECT_EQ(ParseDosTime("23:59:58"), 23 * 2048 + 59 * 32 + 29);

    int times = 0;
    for (int32_t word = 0; word <= 0xFFFF; ++word) {
        const auto back = ParseDosTime(FormatDosTime(word));
        if (!back) continue;
        ASSERT_EQ(*back, word) << FormatDosTime(word);
        ++times;
    }
    EXPECT_EQ(times, 24 * 60 * 30);
}

TEST(MessageTitles, ByMessageNumber) {
    for (int n : {0, 1, 8}) EXPECT_STREQ(MessageTitleFor(n), "ULMARSH Prompt") << n;
    EXPECT_STREQ(MessageTitleFor(12), "ULMARSH Warning");
    for (int n : {2, 3, 4, 5, 6, 7, 9, 10, 11}) EXPECT_STREQ(MessageTitleFor(n), "ULMARSH Error");
    EXPECT_EQ(MessageTitleFor(13), nullptr);
    EXPECT_EQ(MessageTitleFor(-1), nullptr);
}

TEST(RenameAttributes, EightBitsRoundTripOthersAreDropped) {
    const AttributeTicks t = TicksFromAttributes(0x8000 | 0x20 | 0x40 | 0x100000);
    EXPECT_TRUE(t.encrypted);
    EXPECT_TRUE(t.archive);
    EXPECT_FALSE(t.readOnly);
    EXPECT_EQ(AttributesFromTicks(t), 0x8020);
    EXPECT_EQ(AttributesFromTicks(TicksFromAttributes(0x1003F)), 0x1003F);
}

TEST(StatusEvents, DisplayWrittenOnlyWhenItChanges) {
    testing::FakeControl display("MinorStatusCtrl");
    PropertySession s;
    ShowStatus(s, display, "a.txt", 50);
    ShowStatus(s, display, "a.txt", 50);
    EXPECT_EQ(display.Puts(), (std::vector<std::string>{"put 2=\"a.txt\"", "put 1=50"}));
    ShowStatus(s, display, "A.txt", 50);
    EXPECT_EQ(display.Puts().back(), "put 2=\"A.txt\"");
}

TEST(OptionStates, ToggleFlipsBetweenZeroAndOne) {
    Module1 m;
    ToggleOptionState(m, 10);
    EXPECT_EQ(m.OptionStates[10], 1);
    ToggleOptionState(m, 10);
    EXPECT_EQ(m.OptionStates[10], 0);
    m.OptionStates[3] = -1;  // anything but 1 becomes 1
    ToggleOptionState(m, 3);
    EXPECT_EQ(m.OptionStates[3], 1);
    ToggleOptionState(m, 16);  // outside the array: ignored
}

TEST(CloseRequest, RenameWaitRefusesARunDefersIdleCloses) {
    Module1 m;
    EXPECT_EQ(AnswerCloseRequest(m), CloseAnswer::Close);
    EXPECT_EQ(m.CancelRequested, kFalse);

    m.RunInProgress = kTrue;
    m.RenameInProgress = kTrue;
    EXPECT_EQ(AnswerCloseRequest(m), CloseAnswer::ShowRenameForm);
    EXPECT_EQ(m.CancelRequested, kFalse);  // the prompt stays; the run is not cancelled

    m.RenameInProgress = kFalse;
    EXPECT_EQ(AnswerCloseRequest(m), CloseAnswer::CloseAfterRun);
    EXPECT_EQ(m.CancelRequested, kTrue);
}

}  // namespace
}  // namespace ulmarsh
