#include "model/Conversions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qloom;

TEST(Colour, ToHtmlPutsRedFirstAndIgnoresTheTopByte) {
    EXPECT_EQ(ColorToHtml(0xFF), "#FF0000");
    EXPECT_EQ(ColorToHtml(0x808000), "#008080");
    EXPECT_EQ(ColorToHtml(0x1FFFFFF), "#FFFFFF");
    EXPECT_EQ(ColorToHtml(0), "#000000");
    EXPECT_EQ(ColorToHtml(0x0A0B0C), "#0C0B0A");
}

TEST(Colour, FromHtmlAcceptsEitherCaseAndIgnoresExtraCharacters) {
    EXPECT_EQ(HtmlToColor("#008080"), 0x808000u);
    EXPECT_EQ(HtmlToColor("#ff0000"), 0xFFu);
    EXPECT_EQ(HtmlToColor("#aBcDeF"), 0xEFCDABu);
    EXPECT_EQ(HtmlToColor("#0000FF; trailing"), 0xFF0000u);
    EXPECT_EQ(HtmlToColor("x112233"), 0x332211u); // the first character is not examined
}

TEST(Colour, EveryValueRoundTrips) {
    // A stride through the whole range plus the channel edges.
    for (ColorValue v = 0; v < 0x1000000; v += 0x10101 + 7)
        ASSERT_EQ(HtmlToColor(ColorToHtml(v)), v);
    for (ColorValue v : {0x0u, 0xFFu, 0xFF00u, 0xFF0000u, 0xFFFFFFu})
        EXPECT_EQ(HtmlToColor(ColorToHtml(v)), v);
}

TEST(Colour, MalformedTextsFailWithoutReadingPastTheEnd) {
    const std::vector<std::string> bad = {"",        "#",           "#12345",  "#12345G",
                                          "#G12345", "transparent", "# 12345", "#-12345"};
    for (const auto& text : bad) {
        ColorValue out = 0x42;
        // A view of exactly the text's length: any read beyond it would be caught by sanitizers.
        EXPECT_FALSE(TryHtmlToColor(std::string_view(text.data(), text.size()), out)) << text;
        EXPECT_EQ(out, 0x42u) << text;
        EXPECT_EQ(HtmlToColor(text), 0u) << text;
    }
    ColorValue out = 0;
    EXPECT_TRUE(TryHtmlToColor("#FFFFFF", out));
    EXPECT_EQ(out, 0xFFFFFFu);
}

TEST(JsString, EscapesBackslashesQuotesAndLineBreaks) {
    EXPECT_EQ(EscapeJsString("a\"b"), "a\\\"b");
    EXPECT_EQ(EscapeJsString("C:\\x"), "C:\\\\x");
    EXPECT_EQ(EscapeJsString("line one\r\nline two"), "line one\\\r\nline two");
    EXPECT_EQ(EscapeJsString("<a href='x'>"), "<a href='x'>");
    EXPECT_EQ(EscapeJsString(""), "");
    // Doubling happens first, so the escapes added for quotes and breaks are not doubled.
    EXPECT_EQ(EscapeJsString("\\\"\r\n"), "\\\\\\\"\\\r\n");
}

TEST(JsString, LoneBreaksBecomeCrLfBeforeEscaping) {
    EXPECT_EQ(EscapeJsString("a\nb"), "a\\\r\nb");
    EXPECT_EQ(EscapeJsString("a\rb"), "a\\\r\nb");
    EXPECT_EQ(EscapeJsString("a\n\r\nb\r"), "a\\\r\n\\\r\nb\\\r\n");
    EXPECT_EQ(UnescapeJsString(EscapeJsString("a\nb\rc")), "a\r\nb\r\nc");
}

TEST(JsString, UnescapeReadsBackEveryEscapedText) {
    const std::vector<std::string> texts = {"a\"b",
                                            "C:\\x",
                                            "line one\r\nline two",
                                            "ends in \\",
                                            "ends in \\\\",
                                            "\\\\\\\"\"\\",
                                            "\"\"",
                                            "",
                                            "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
                                            "<B>bold</B>\r\n\r\n<I>x</I>",
                                            "\\\r\n"};
    for (const auto& text : texts)
        EXPECT_EQ(UnescapeJsString(EscapeJsString(text)), text) << text;
    EXPECT_EQ(UnescapeJsString("\\\\\\\\"), "\\\\");
}

TEST(JsString, UnescapeStopsAtABareQuoteAndKeepsOtherBackslashes) {
    EXPECT_EQ(UnescapeJsString("abc\"def"), "abc");
    EXPECT_EQ(UnescapeJsString("a\\nb"), "a\\nb");
    EXPECT_EQ(UnescapeJsString("tail\\"), "tail\\");
    EXPECT_EQ(UnescapeJsString("x\\\r\ny"), "x\r\ny");
}

TEST(NoBreak, StripsOnlyAnExactOuterPair) {
    EXPECT_EQ(StripNoBreak("<nObR>Home</nObR>"), "Home");
    EXPECT_EQ(StripNoBreak("<nObR></nObR>"), "");
    EXPECT_EQ(StripNoBreak("<NOBR>Home</NOBR>"), "<NOBR>Home</NOBR>");
    EXPECT_EQ(StripNoBreak("<nObR>Home"), "<nObR>Home");
    EXPECT_EQ(StripNoBreak("Home</nObR>"), "Home</nObR>");
    EXPECT_EQ(StripNoBreak("<nObR><nObR>x</nObR></nObR>"), "<nObR>x</nObR>");
    // The markers must not share characters.
    EXPECT_EQ(StripNoBreak("<nObR>/nObR>"), "<nObR>/nObR>");
}

TEST(SettingText, RemovesCharactersThatWouldBreakTheScript) {
    EXPECT_EQ(CleanSettingText("Times New Roman", "Arial"), "Times New Roman");
    EXPECT_EQ(CleanSettingText("C:\\pages\\index.html", "Temp.html"), "Cpagesindex.html");
    EXPECT_EQ(CleanSettingText("'Arial'", "Arial"), "Arial");
    EXPECT_EQ(CleanSettingText("\\\"'/:", "Arial"), "Arial");
    EXPECT_EQ(CleanSettingText("", ""), "");
    EXPECT_EQ(CleanSettingText("../x/y.html", "Temp.html"), "..xy.html");
}

TEST(SettingText, LineBreaksOfAnyKindBecomeContinuations) {
    EXPECT_EQ(CleanSettingText("a\r\nb", "Arial"), "a\\\r\nb");
    EXPECT_EQ(CleanSettingText("a\rb", "Arial"), "a\\\r\nb");
    EXPECT_EQ(CleanSettingText("a\nb", "Arial"), "a\\\r\nb");
}

TEST(SettingText, TrimRemovesSpacesAndControlCharactersOnly) {
    EXPECT_EQ(TrimBlanks("  \t Arial \r\n"), "Arial");
    EXPECT_EQ(TrimBlanks(" a b "), "a b");
    EXPECT_EQ(TrimBlanks(" \t "), "");
    EXPECT_EQ(TrimBlanks("\xC3\xA9"), "\xC3\xA9"); // bytes above 0x7F are text, not blanks
}

TEST(Integer, DecimalShapes) {
    EXPECT_EQ(ParseIntOr("12a", 5), 5);
    EXPECT_EQ(ParseIntOr("-7", 5), -7);
    EXPECT_EQ(ParseIntOr("+7", 5), 7);
    EXPECT_EQ(ParseIntOr("", 5), 5);
    EXPECT_EQ(ParseIntOr("  12", 5), 12);
    EXPECT_EQ(ParseIntOr("12 ", 5), 5);
    EXPECT_EQ(ParseIntOr("\t12", 5), 5);
    EXPECT_EQ(ParseIntOr("-", 5), 5);
    EXPECT_EQ(ParseIntOr("+", 5), 5);
    EXPECT_EQ(ParseIntOr("- 1", 5), 5);
    EXPECT_EQ(ParseIntOr("007", 5), 7);
    EXPECT_EQ(ParseIntOr("1.5", 5), 5);
}

TEST(Integer, RangeLimits) {
    EXPECT_EQ(ParseIntOr("2147483647", 5), 2147483647);
    EXPECT_EQ(ParseIntOr("-2147483648", 5), -2147483647 - 1);
    EXPECT_EQ(ParseIntOr("2147483648", 5), 5);
    EXPECT_EQ(ParseIntOr("-2147483649", 5), 5);
    EXPECT_EQ(ParseIntOr("99999999999999999999999", 5), 5);
    EXPECT_EQ(ParseIntOr("00000000000000000000042", 5), 42);
}

TEST(Integer, HexadecimalWithoutSign) {
    EXPECT_EQ(ParseIntOr("$1F", 5), 31);
    EXPECT_EQ(ParseIntOr("$ff", 5), 255);
    EXPECT_EQ(ParseIntOr("0x10", 5), 16);
    EXPECT_EQ(ParseIntOr("0X10", 5), 16);
    EXPECT_EQ(ParseIntOr("  $10", 5), 16);
    EXPECT_EQ(ParseIntOr("$7FFFFFFF", 5), 2147483647);
    EXPECT_EQ(ParseIntOr("$80000000", 5), 5);
    EXPECT_EQ(ParseIntOr("$", 5), 5);
    EXPECT_EQ(ParseIntOr("0x", 5), 5);
    EXPECT_EQ(ParseIntOr("-$10", 5), 5);
    EXPECT_EQ(ParseIntOr("-0x10", 5), 5);
    EXPECT_EQ(ParseIntOr("$1G", 5), 5);
}

TEST(Integer, TryParseReportsFailureAndLeavesTheOutputAlone) {
    int32_t out = 99;
    EXPECT_FALSE(TryParseInt("12pt", out));
    EXPECT_EQ(out, 99);
    EXPECT_TRUE(TryParseInt("-12", out));
    EXPECT_EQ(out, -12);
}

TEST(Integer, ClampAppliesTheLowerBoundFirst) {
    EXPECT_EQ(ClampInt(0, 1, 900), 1);
    EXPECT_EQ(ClampInt(950, 1, 900), 900);
    EXPECT_EQ(ClampInt(450, 1, 900), 450);
    EXPECT_EQ(ClampInt(5, 10, 3), 3);
    EXPECT_EQ(ClampInt(1, 1, 1), 1);
}
