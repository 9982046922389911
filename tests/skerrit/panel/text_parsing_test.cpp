#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "skerrit/panel/font_desc.h"
#include "skerrit/panel/panel_text_block.h"
#include "skerrit/panel/text_escape.h"

namespace {

std::string Decoded(const char* input) {
    std::string text(input);
    text.push_back('\0');
    const size_t length = DecodeTextEscapes(&text[0]);
    EXPECT_EQ(length, std::strlen(text.c_str()));
    return text.c_str();
}

TEST(TextEscapes, BackslashLettersBecomeControlCharacters) {
    EXPECT_EQ(Decoded("A\\nB"), "A\rB");  // n is a carriage return here
    EXPECT_EQ(Decoded("A\\NB"), "A\rB");
    EXPECT_EQ(Decoded("A\\rB\\RC"), "A\nB\nC");
    EXPECT_EQ(Decoded("\\t\\T"), "\t\t");
    EXPECT_EQ(Decoded("\\n\\r"), "\r\n");
}

TEST(TextEscapes, OtherBackslashesStay) {
    EXPECT_EQ(Decoded("C:\\dir\\x"), "C:\\dir\\x");
    EXPECT_EQ(Decoded("end\\"), "end\\");
    EXPECT_EQ(Decoded("\\\\n"), "\\\r");  // the first backslash stays, the second escapes n
    EXPECT_EQ(Decoded(""), "");
}

TEST(FontDescription, FullDescription) {
    const FontDescription font = ParseFontDescription("12,0,700,1,0,0,Arial");
    EXPECT_EQ(font.height, 12);
    EXPECT_EQ(font.width, 0);
    EXPECT_EQ(font.weight, 700);
    EXPECT_TRUE(font.italic);
    EXPECT_FALSE(font.underline);
    EXPECT_FALSE(font.strikeout);
    EXPECT_STREQ(font.faceName, "Arial");
}

TEST(FontDescription, WithoutCommasOnlyTheHeightIsSet) {
    const FontDescription font = ParseFontDescription("  -16 pt Arial");
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(font.width, 0);
    EXPECT_EQ(font.weight, 0);
    EXPECT_FALSE(font.italic);
    EXPECT_STREQ(font.faceName, "");
}

TEST(FontDescription, NumbersReadLikeAtoi) {
    const FontDescription font = ParseFontDescription(" +9x,\t-3,abc,7,-1,0,Times New Roman");
    EXPECT_EQ(font.height, 9);
    EXPECT_EQ(font.width, -3);
    EXPECT_EQ(font.weight, 0);
    EXPECT_TRUE(font.italic);
    EXPECT_TRUE(font.underline);  // any non-zero number
    EXPECT_FALSE(font.strikeout);
    EXPECT_STREQ(font.faceName, "Times New Roman");
}

TEST(FontDescription, MissingItemsAndShortLists) {
    const FontDescription font = ParseFontDescription("10,,400");
    EXPECT_EQ(font.height, 10);
    EXPECT_EQ(font.width, 0);
    EXPECT_EQ(font.weight, 400);
    EXPECT_STREQ(font.faceName, "");
    // Five commas: no face name yet.
    EXPECT_STREQ(ParseFontDescription("1,2,3,4,5,6").faceName, "");
    EXPECT_STREQ(ParseFontDescription(",,,,,,").faceName, "");
}

TEST(FontDescription, FaceNameTakesTheRestAndIsCutAt30) {
    EXPECT_STREQ(ParseFontDescription("1,2,3,0,0,0,A,B").faceName, "A,B");
    const FontDescription font =
        ParseFontDescription("8,0,0,0,0,1,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    EXPECT_TRUE(font.strikeout);
    EXPECT_STREQ(font.faceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
}

TEST(FontDescription, HugeNumbersSaturate) {
    const FontDescription font = ParseFontDescription("99999999999999999999,-99999999999999999999");
    EXPECT_EQ(font.height, INT32_MAX);
    EXPECT_EQ(font.width, INT32_MIN);
}

TEST(PanelTextBlock, StoresAtMost259AndReportsTheCut) {
    PanelTextBlock block;
    EXPECT_FALSE(block.Present());
    EXPECT_STREQ(block.Text(), "");
    EXPECT_TRUE(block.Set(std::string(259, 'a').c_str()));
    EXPECT_EQ(std::strlen(block.Text()), 259u);
    EXPECT_FALSE(block.Set(std::string(400, 'b').c_str()));
    EXPECT_EQ(std::string(block.Text()), std::string(259, 'b'));
    block.Clear();
    EXPECT_FALSE(block.Present());
}

TEST(PanelTextBlock, CopyToHonoursTheBufferAndTheBlockSize) {
    PanelTextBlock block;
    block.Set("Hello");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(block.CopyTo(buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 'x');  // untouched
    EXPECT_EQ(block.CopyTo(nullptr, 8), 0u);
    EXPECT_EQ(block.CopyTo(buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(block.CopyTo(buffer, 4), 3u);
    EXPECT_STREQ(buffer, "Hel");
    EXPECT_EQ(block.CopyTo(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "Hello");

    block.Set(std::string(300, 'z').c_str());
    std::string big(1000, 'q');
    EXPECT_EQ(block.CopyTo(&big[0], big.size()), 259u);
    EXPECT_EQ(big[259], '\0');
    EXPECT_EQ(big[260], 'q');

    PanelTextBlock absent;
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(absent.CopyTo(buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");  // emptied
}

}  // namespace
