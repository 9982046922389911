#include "toolkit/shared/saved_state.h"

#include <gtest/gtest.h>

using vxstate::DecodeSavedState;
using vxstate::EncodeSavedState;
using vxstate::SavedValue;

namespace {

SavedValue Value(std::int32_t id, vx::PropType type, std::int32_t number, std::string text = {})
{
    SavedValue v;
    v.dispid = id;
    v.type = type;
    v.number = number;
    v.text = std::move(text);
    return v;
}

std::vector<SavedValue> Decode(const std::vector<std::uint8_t>& bytes, bool expectOk = true)
{
    std::vector<SavedValue> out;
    EXPECT_EQ(expectOk, DecodeSavedState(bytes.data(), bytes.size(), out));
    return out;
}

TEST(SavedState, EveryTypeRoundTripsIncludingExtremes)
{
    const std::vector<SavedValue> in = {
        Value(1, vx::PropType::Bstr, 0, "C:\\a b\\archive.zip"),
        Value(3, vx::PropType::I4, -1),
        Value(23, vx::PropType::I4, 0x7FFFFFFF),
        Value(24, vx::PropType::I2, -32768),
        Value(10, vx::PropType::Bool, -1),
        Value(0xFFFF, vx::PropType::Bstr, 0, ""),
    };
    const auto out = Decode(EncodeSavedState(in));
    ASSERT_EQ(in.size(), out.size());
    for (size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(in[i].dispid, out[i].dispid);
        EXPECT_EQ(in[i].type, out[i].type);
        EXPECT_EQ(in[i].number, out[i].number);
        EXPECT_EQ(in[i].text, out[i].text);
    }
}

TEST(SavedState, LayoutIsLittleEndianWithEndMark)
{
    const auto bytes = EncodeSavedState({Value(0x0102, vx::PropType::I4, 0x0A0B0C0D)});
    const std::vector<std::uint8_t> expected = {'V', 'X', 'S', '1', 0x02, 0x01, 3,
                                                0x0D, 0x0C, 0x0B, 0x0A, 0, 0};
    EXPECT_EQ(expected, bytes);
}

TEST(SavedState, PaddingAfterTheEndMarkAndMissingEndMarkAreAccepted)
{
    auto bytes = EncodeSavedState({Value(5, vx::PropType::Bool, -1)});
    bytes.resize(228, 0xEE); // anything after the end mark is ignored
    EXPECT_EQ(1u, Decode(bytes).size());
    auto unterminated = EncodeSavedState({Value(5, vx::PropType::Bool, -1)});
    unterminated.resize(unterminated.size() - 2);
    EXPECT_EQ(1u, Decode(unterminated).size());
    unterminated.push_back(0); // a lone padding byte
    EXPECT_EQ(1u, Decode(unterminated).size());
}

TEST(SavedState, MalformedStreamsAreRefusedWhole)
{
    auto good = EncodeSavedState({Value(1, vx::PropType::Bstr, 0, "abcdef"), Value(2, vx::PropType::I2, 7)});
    for (size_t cut = 6; cut + 2 < good.size(); ++cut) {
        const size_t firstRecordEnd = 4 + 2 + 1 + 2 + 6;
        // A whole first record is valid by itself, and so is one stray byte after it.
        if (cut == firstRecordEnd || cut == firstRecordEnd + 1) continue;
        std::vector<std::uint8_t> truncated(good.begin(), good.begin() + cut);
        EXPECT_TRUE(Decode(truncated, false).empty()) << "cut at " << cut;
    }
    auto badMagic = good;
    badMagic[3] = '2';
    Decode(badMagic, false);
    auto badTag = good;
    badTag[6] = 9;
    Decode(badTag, false);
    Decode({}, false);
}

TEST(SavedState, OversizedTextIsNeitherWrittenNorRead)
{
    const std::string huge(vxstate::kMaxSavedText + 1, 'x');
    const auto out = Decode(EncodeSavedState({Value(1, vx::PropType::Bstr, 0, huge),
                                              Value(2, vx::PropType::I4, 9)}));
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ(2, out[0].dispid);

    std::vector<std::uint8_t> bytes = {'V', 'X', 'S', '1', 1, 0, 1, 0x01, 0x10}; // 4097 bytes claimed
    bytes.resize(bytes.size() + 4097, 'y');
    Decode(bytes, false);
}

TEST(SavedState, RecordCountIsBounded)
{
    std::vector<SavedValue> many;
    for (int i = 1; i <= 300; ++i) many.push_back(Value(i, vx::PropType::I2, i));
    EXPECT_EQ(vxstate::kMaxSavedRecords, Decode(EncodeSavedState(many)).size());
}

} // namespace
