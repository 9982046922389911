// Portable helpers of the forms layer.
#include <gtest/gtest.h>

#include "framework/forms_filter.h"
#include "framework/forms_newlines.h"
#include "framework/forms_twips.h"

namespace {

TEST(FormsTwips, FifteenTwipsPerPixel) {
    EXPECT_EQ(forms::TwipsToPixels(6435), 429);
    EXPECT_EQ(forms::TwipsToPixels(15), 1);
    EXPECT_EQ(forms::TwipsToPixels(7), 0);
    EXPECT_EQ(forms::TwipsToPixels(8), 1);
    EXPECT_EQ(forms::TwipsToPixels(0), 0);
    EXPECT_EQ(forms::TwipsToPixels(-30), -2);
}

TEST(FormsFilter, BarsBecomeNulPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(forms::OpenDialogFilter("ZIP (*.zip)|*.zip|All Files (*.*)|*.*"),
              "ZIP (*.zip)\0*.zip\0All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(forms::OpenDialogFilter(""), "");
    // A description without its pattern still gives a usable pair.
    EXPECT_EQ(forms::OpenDialogFilter("Text"), "Text\0*.*\0\0"s);
}

TEST(FormsNewlines, EveryLineEndBecomesCrLf) {
    EXPECT_EQ(forms::WithCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(forms::WithCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(forms::WithCrLf("plain"), "plain");
}

}  // namespace
