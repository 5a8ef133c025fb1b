#include "gui/common/EditorRules.h"

#include <gtest/gtest.h>

using namespace qloom;

TEST(NumberFromBox, EmptyBoxStoresTheFieldsFallback) {
    EXPECT_EQ(NumberFromBox("", 37, kLeftRule), 0);
    EXPECT_EQ(NumberFromBox("", 37, kTopRule), 0);
    EXPECT_EQ(NumberFromBox("", 37, kWidthRule), 100);
    EXPECT_EQ(NumberFromBox("", 37, kCapHeightRule), 22);
}

TEST(NumberFromBox, UnparsableTextKeepsTheCurrentValue) {
    EXPECT_EQ(NumberFromBox("-", 0, kLeftRule), 0);
    EXPECT_EQ(NumberFromBox("-5", 0, kLeftRule), -5);
    EXPECT_EQ(NumberFromBox("1x", 250, kWidthRule), 250);
    // Even a current value outside the range survives an unparsable text, clamped.
    EXPECT_EQ(NumberFromBox("-", 950, kWidthRule), 900);
}

TEST(NumberFromBox, ClampsWidthAndCaptionHeightButNotThePosition) {
    EXPECT_EQ(NumberFromBox("950", 100, kWidthRule), 900);
    EXPECT_EQ(NumberFromBox("0", 100, kWidthRule), 1);
    EXPECT_EQ(NumberFromBox("999", 22, kCapHeightRule), 600);
    EXPECT_EQ(NumberFromBox("-99", 22, kCapHeightRule), 1);
    EXPECT_EQ(NumberFromBox("999", 0, kLeftRule), 999);
    EXPECT_EQ(NumberFromBox("-99", 0, kTopRule), -99);
}

TEST(SpinStep, StepsFromTheShownNumberWithinTheRange) {
    EXPECT_EQ(SpinStep("10", 0, 1, kLeftSpin), 11); // the box, not the stale position
    EXPECT_EQ(SpinStep("-", 7, -1, kLeftSpin), 6);  // unparsable box: the spin's position
    EXPECT_EQ(SpinStep("800", 800, 1, kLeftSpin), 800);
    EXPECT_EQ(SpinStep("-100", -100, -1, kLeftSpin), -100); // no wrap-around
    EXPECT_EQ(SpinStep("-99", -99, -1, kLeftSpin), -100);   // four characters via the arrows
    EXPECT_EQ(SpinStep("5000", 1, 1, kWidthSpin), 900);     // outside the range: back inside
    EXPECT_EQ(SpinStep("0", 1, -1, kCapHeightSpin), 1);
}

TEST(HtmlEditorText, RoundTripsCrLfThroughTheEditorsLineFeeds) {
    EXPECT_EQ(HtmlToEditorText("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(EditorTextToHtml("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    const std::string html = "<CENTER>\r\nC<BR>a</CENTER>\r\n\r\n";
    EXPECT_EQ(EditorTextToHtml(HtmlToEditorText(html)), html);
    EXPECT_EQ(EditorTextToHtml("caf\xc3\xa9"), "caf\xc3\xa9");
}
