#include "framework/afx_dlginit.h"
#include "framework/afx_dlgtemplate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Builds dialog templates the way the resource compiler lays them out.
class TemplateWriter {
public:
    explicit TemplateWriter(bool extended) : extended_(extended) {}

    void Header(std::uint32_t style, std::uint16_t count, bool font)
    {
        if (extended_) {
            Word(1);
            Word(0xFFFF);
            Dword(0);       // help id
            Dword(0);       // extended style
            Dword(style | (font ? 0x40u : 0u));
        } else {
            Dword(style | (font ? 0x40u : 0u));
            Dword(0);
        }
        countAt_ = bytes.size();
        Word(count);
        Word(0); Word(0); Word(200); Word(100);
        Word(0);            // no menu
        Word(0);            // default class
        Text("Title");
        if (font) {
            Word(8);
            if (extended_) {
                Word(400);
                bytes.push_back(0);
                bytes.push_back(1);
            }
            Text("MS Sans Serif");
        }
    }

    void Item(std::uint32_t id, const char* className, std::uint16_t ordinalClass,
              const std::vector<std::uint8_t>& extra = {})
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
        if (extended_) {
            Dword(0);
            Dword(0);
            Dword(0x50010000u);
        } else {
            Dword(0x50010000u);
            Dword(0);
        }
        Word(7); Word(95); Word(21); Word(20);
        if (extended_)
            Dword(id);
        else
            Word(static_cast<std::uint16_t>(id));
        if (className != nullptr) {
            Text(className);
        } else {
            Word(0xFFFF);
            Word(ordinalClass);
        }
        Text("caption");
        Word(static_cast<std::uint16_t>(extra.size()));
        bytes.insert(bytes.end(), extra.begin(), extra.end());
    }

    std::vector<std::uint8_t> bytes;

private:
    void Word(std::uint16_t w)
    {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    void Dword(std::uint32_t d)
    {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Text(const std::string& s)
    {
        for (char c : s)
            Word(static_cast<std::uint8_t>(c));
        Word(0);
    }

    bool extended_;
    std::size_t countAt_ = 0;
};

const char kClassId[] = "{18EB0C6E-BADB-49B7-A1A4-BCE0B7854909}";

std::uint16_t CountOf(const std::vector<std::uint8_t>& dialog, bool extended)
{
    const std::size_t at = extended ? 16 : 8;
    return static_cast<std::uint16_t>(dialog[at] | (dialog[at + 1] << 8));
}

class SplitTemplate : public ::testing::TestWithParam<bool> {};

TEST_P(SplitTemplate, TakesOutClassIdControlsAndKeepsTheRestParseable)
{
    const bool extended = GetParam();
    TemplateWriter t(extended);
    t.Header(0x80C80000u, 4, true);
    t.Item(1007, nullptr, 0x0081);         // edit
    t.Item(1010, kClassId, 0, {1, 2, 3});  // hosted control with creation data
    t.Item(2, nullptr, 0x0080);            // button
    t.Item(1008, "msctls_progress32", 0);
    afx::SplitDialogTemplate split;
    ASSERT_TRUE(afx::SplitControlSites(t.bytes.data(), t.bytes.size(), split));
    ASSERT_EQ(split.sites.size(), 1u);
    EXPECT_EQ(split.sites[0].id, 1010u);
    EXPECT_EQ(split.sites[0].classId, kClassId);
    EXPECT_EQ(split.sites[0].keptBefore, 1u);
    EXPECT_EQ(split.sites[0].x, 7);
    EXPECT_EQ(split.sites[0].cy, 20);
    EXPECT_EQ(split.sites[0].style, 0x50010000u);
    EXPECT_EQ(CountOf(split.dialog, extended), 3);

    // The rewritten template parses again, to the same three ordinary items.
    afx::SplitDialogTemplate again;
    ASSERT_TRUE(afx::SplitControlSites(split.dialog.data(), split.dialog.size(), again));
    EXPECT_TRUE(again.sites.empty());
    EXPECT_EQ(again.dialog, split.dialog);
}

TEST_P(SplitTemplate, TemplateWithoutHostedControlsIsUnchanged)
{
    TemplateWriter t(GetParam());
    t.Header(0x80C80000u, 2, false);
    t.Item(1, nullptr, 0x0080);
    t.Item(2, nullptr, 0x0080);
    afx::SplitDialogTemplate split;
    ASSERT_TRUE(afx::SplitControlSites(t.bytes.data(), t.bytes.size(), split));
    EXPECT_TRUE(split.sites.empty());
    EXPECT_EQ(split.dialog, t.bytes);
}

TEST_P(SplitTemplate, RefusesEveryTruncation)
{
    TemplateWriter t(GetParam());
    t.Header(0x80C80000u, 2, true);
    t.Item(1007, nullptr, 0x0081);
    t.Item(1010, kClassId, 0);
    afx::SplitDialogTemplate split;
    ASSERT_TRUE(afx::SplitControlSites(t.bytes.data(), t.bytes.size(), split));
    for (std::size_t size = 0; size < t.bytes.size(); ++size) {
        std::vector<std::uint8_t> cut(t.bytes.begin(), t.bytes.begin() + size);
        EXPECT_FALSE(afx::SplitControlSites(cut.data(), cut.size(), split)) << size;
    }
}

TEST_P(SplitTemplate, CountLargerThanTheItemsIsRefused)
{
    TemplateWriter t(GetParam());
    t.Header(0x80C80000u, 3, false);
    t.Item(1, nullptr, 0x0080);
    afx::SplitDialogTemplate split;
    EXPECT_FALSE(afx::SplitControlSites(t.bytes.data(), t.bytes.size(), split));
}

INSTANTIATE_TEST_SUITE_P(PlainAndExtended, SplitTemplate, ::testing::Values(false, true));

std::vector<std::uint8_t> InitEntry(std::uint16_t id, std::uint16_t message,
                                    const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(id & 0xFF),
                                       static_cast<std::uint8_t>(id >> 8),
                                       static_cast<std::uint8_t>(message & 0xFF),
                                       static_cast<std::uint8_t>(message >> 8),
                                       static_cast<std::uint8_t>(data.size() & 0xFF),
                                       static_cast<std::uint8_t>((data.size() >> 8) & 0xFF), 0, 0};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

TEST(DialogInitData, FindsTheSavedStateOfEachControl)
{
    std::vector<std::uint8_t> bytes = InitEntry(1003, 0x0143, {'a', 0}); // combo string
    const auto state1010 = InitEntry(1010, afx::kLoadControlState, std::vector<std::uint8_t>(228, 7));
    const auto state1016 = InitEntry(1016, afx::kLoadControlState, {1, 2, 3});
    bytes.insert(bytes.end(), state1010.begin(), state1010.end());
    bytes.insert(bytes.end(), state1016.begin(), state1016.end());
    bytes.push_back(0);
    bytes.push_back(0);

    std::vector<afx::DialogInitEntry> entries;
    ASSERT_TRUE(afx::ParseDialogInitData(bytes.data(), bytes.size(), entries));
    ASSERT_EQ(entries.size(), 3u);
    const afx::DialogInitEntry* state = afx::FindControlState(entries, 1010);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->data, std::vector<std::uint8_t>(228, 7));
    ASSERT_NE(afx::FindControlState(entries, 1016), nullptr);
    EXPECT_EQ(afx::FindControlState(entries, 1016)->data.size(), 3u);
    EXPECT_EQ(afx::FindControlState(entries, 1003), nullptr); // not a control's state
    EXPECT_EQ(afx::FindControlState(entries, 1), nullptr);
}

TEST(DialogInitData, RefusesLengthsPastTheEndAndAMissingTerminator)
{
    std::vector<std::uint8_t> bytes = InitEntry(1010, afx::kLoadControlState, {1, 2, 3, 4});
    bytes.push_back(0);
    bytes.push_back(0);
    std::vector<afx::DialogInitEntry> entries;
    ASSERT_TRUE(afx::ParseDialogInitData(bytes.data(), bytes.size(), entries));
    for (std::size_t size = 0; size + 2 < bytes.size(); ++size)
        EXPECT_FALSE(afx::ParseDialogInitData(bytes.data(), size, entries)) << size;

    std::vector<std::uint8_t> huge = InitEntry(1010, afx::kLoadControlState, {});
    huge[6] = 0xFF; // length 0xFF0000
    huge.push_back(0);
    huge.push_back(0);
    EXPECT_FALSE(afx::ParseDialogInitData(huge.data(), huge.size(), entries));
    EXPECT_TRUE(entries.empty());
}

} // namespace
