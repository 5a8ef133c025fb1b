#include "gui/editor/internal/HtmlFragments.h"

#include <gtest/gtest.h>

namespace qloom {
namespace {

TEST(TransformText, LeadingSpacesOfEveryLineBecomeEntities) {
    EXPECT_EQ(TransformText(" a"), "&nbsp;a");
    // The first pass takes one space, the third pass the remaining pair.
    EXPECT_EQ(TransformText("   a"), "&nbsp;&nbsp;&nbsp;a");
    EXPECT_EQ(TransformText("one\r\n two"), "one<BR>\r\n&nbsp;two");
    EXPECT_EQ(TransformText("\r\n\r\n x"), "<BR>\r\n<BR>\r\n&nbsp;x");
}

TEST(TransformText, SpacePairsAndLineBreaks) {
    EXPECT_EQ(TransformText("a   b"), "a&nbsp;&nbsp; b");
    EXPECT_EQ(TransformText("a    b"), "a&nbsp;&nbsp;&nbsp;&nbsp;b");
    EXPECT_EQ(TransformText("a b"), "a b");
    EXPECT_EQ(TransformText("a\r\nb\r\n"), "a<BR>\r\nb<BR>\r\n");
    EXPECT_EQ(TransformText(""), "");
    // Entities already typed by the user and a lone LF pass unchanged.
    EXPECT_EQ(TransformText("&amp;\nx"), "&amp;\nx");
}

TEST(TextFragment, InitialSettingsWrapTheTextInAFullFontElement) {
    EXPECT_EQ(TextFragment("Hello", {}),
              "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FFFFFF\">Hello\r\n</FONT>");
}

TEST(TextFragment, DefaultBoxesDropTheirAttributes) {
    TextFragmentOptions o;
    o.defaultColor = true;
    EXPECT_EQ(TextFragment("x", o), "<FONT FACE=\"Arial\" SIZE=\"2\">x\r\n</FONT>");
    o.defaultFace = true;
    o.color = 0x0000FF;
    EXPECT_EQ(TextFragment("x", o), "<FONT SIZE=\"2\">x\r\n</FONT>");
    o.defaultSize = true;
    EXPECT_EQ(TextFragment("x", o), "x\r\n");
    o.defaultColor = false;
    EXPECT_EQ(TextFragment("x", o), "<FONT COLOR=\"#FF0000\">x\r\n</FONT>");
}

TEST(TextFragment, CentringAndLineEnds) {
    TextFragmentOptions o;
    o.defaultFace = o.defaultSize = o.defaultColor = true;
    o.center = true;
    EXPECT_EQ(TextFragment("a\r\nb", o), "<CENTER>a<BR>\r\nb\r\n</CENTER>");
    // A text ending in a line break gets no second one; the break keeps its <BR>.
    EXPECT_EQ(TextFragment("a\r\n", o), "<CENTER>a<BR>\r\n</CENTER>");
    o.center = false;
    EXPECT_EQ(TextFragment("", o), "");
    o.defaultFace = false;
    o.fontFace = "Times \"New\"";
    EXPECT_EQ(TextFragment("", o), "<FONT FACE=\"Times \"New\"\"></FONT>");
}

TEST(LinkFragment, TargetOnlyWhenGiven) {
    EXPECT_EQ(LinkFragment("a.htm", "", "Home"), "<A HREF=\"a.htm\">Home</A>");
    EXPECT_EQ(LinkFragment("http://x/", "_blank", "<B>X</B>\r\nY"),
              "<A HREF=\"http://x/\" TARGET=\"_blank\"><B>X</B>\r\nY</A>");
}

TEST(ImageFragment, BareFileNameBorderAndAlternativeText) {
    EXPECT_EQ(ImageFragment("/home/u/pics/logo.gif", "0", "Home"),
              "<IMG SRC=\"logo.gif\" BORDER=\"0\" ALT=\"Home\">");
    EXPECT_EQ(ImageFragment("logo.gif", "-2", ""), "<IMG SRC=\"logo.gif\" BORDER=\"-2\" ALT=\"\">");
    EXPECT_EQ(ImageFragment("/a/b.jpg", "x1", ""), "<IMG SRC=\"b.jpg\" BORDER=\"0\" ALT=\"\">");
    EXPECT_EQ(ImageFragment("", "3", ""), "<IMG SRC=\"\" BORDER=\"3\" ALT=\"\">");
    EXPECT_EQ(ImageFragment("/a/dir/", "1", ""), "<IMG SRC=\"\" BORDER=\"1\" ALT=\"\">");
    // Text that would end the attribute or open an element is written as entities.
    EXPECT_EQ(ImageFragment("x.gif", "0", "Tom & \"Jerry\" <3>"),
              "<IMG SRC=\"x.gif\" BORDER=\"0\" ALT=\"Tom &amp; &quot;Jerry&quot; &lt;3&gt;\">");
}

} // namespace
} // namespace qloom
