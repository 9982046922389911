#include "common/center_on_desktop.h"
#include "common/trim_blanks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(TrimBlanks, OnlySpacesAtTheEndsGo) {
    std::string text = "  My  Product \t ";
    TrimBlanks(text);
    EXPECT_EQ(text, "My  Product \t");
    std::string blanks = "    ";
    TrimBlanks(blanks);
    EXPECT_EQ(blanks, "");
    std::string empty;
    TrimBlanks(empty);
    EXPECT_EQ(empty, "");
}

TEST(TrimBlanks, BufferFormMatchesStringForm) {
    const char* cases[] = {"", " ", "a", "  a b  ", "\tx ", "x\t", "   lead", "trail   "};
    for (const char* input : cases) {
        std::string as_string = input;
        TrimBlanks(as_string);
        char buffer[32];
        std::snprintf(buffer, sizeof(buffer), "%s", input);
        TrimBlanks(buffer);
        EXPECT_EQ(as_string, buffer) << "input: '" << input << "'";
    }
    TrimBlanks(static_cast<char*>(nullptr));
}

TEST(CenteredOrigin, CentresAndShiftsByCaption) {
    const ScreenPoint p = CenteredOrigin(ScreenRect{0, 0, 1024, 768}, 300, 201, 18);
    EXPECT_EQ(p.x, (1024 - 300) / 2 + 18);
    EXPECT_EQ(p.y, 283 + 18);  // 567 / 2 truncates
}

TEST(CenteredOrigin, OffsetDesktopAndOversizedWindowTruncateTowardZero) {
    const ScreenPoint p = CenteredOrigin(ScreenRect{100, 50, 900, 650}, 901, 603, 20);
    EXPECT_EQ(p.x, 100 - 50 + 20);  // (800 - 901) / 2 is -50, not -51
    EXPECT_EQ(p.y, 50 - 1 + 20);    // (600 - 603) / 2 is -1, not -2
}

}  // namespace
