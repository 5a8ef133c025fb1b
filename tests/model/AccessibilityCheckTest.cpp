#include "model/AccessibilityCheck.h"
#include "model/Messages.h"
#include "model/Project.h"
#include "model/internal/Contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace qloom;

namespace {

// One project per test: a single new menu (22 px caption, white text on black and on teal).
std::unique_ptr<Project> oneMenu() {
    auto p = std::make_unique<Project>();
    EXPECT_TRUE(AddMenu(*p).ok());
    p->menus[0].captionHeight = 30; // clear of the target-size check unless a test wants it
    return p;
}

std::vector<AccessibilityFinding> findings(const Project& p, CheckKind kind,
                                           const std::vector<int32_t>* extents = nullptr) {
    auto all = CheckProject(p.menus, p.settings, extents);
    std::vector<AccessibilityFinding> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [kind](const AccessibilityFinding& f) { return f.kind == kind; });
    return out;
}

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Contrast, KnownWcagRatios) {
    const double grey77 = ContrastRatio(0x777777, 0xFFFFFF);
    EXPECT_NEAR(grey77, 4.48, 0.005);
    EXPECT_LT(grey77, 4.5);
    EXPECT_EQ(FormatRatio(grey77, 4.5), "4.48");
    const double grey76 = ContrastRatio(0x767676, 0xFFFFFF);
    EXPECT_NEAR(grey76, 4.54, 0.005);
    EXPECT_GE(grey76, 4.5);
    EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0x808000), 4.77, 0.005); // white on #008080
    EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(0x123456, 0x123456), 1.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(0x0000FF, 0x00FF00), ContrastRatio(0x00FF00, 0x0000FF));
    // A failing ratio is never printed as the threshold it misses.
    EXPECT_EQ(FormatRatio(4.4999, 4.5), "4.49");
    EXPECT_EQ(FormatRatio(4.4999, 3.0), "4.50");
}

TEST(Contrast, FontColourTextsReadTheWayBrowsersReadThem) {
    ColorValue c = 1;
    EXPECT_TRUE(TryParseLegacyColor("#FF0000", c));
    EXPECT_EQ(c, 0x0000FFu);
    EXPECT_TRUE(TryParseLegacyColor(" 00ff00 ", c));
    EXPECT_EQ(c, 0x00FF00u);
    EXPECT_TRUE(TryParseLegacyColor("#abc", c));
    EXPECT_EQ(c, 0xCCBBAAu);
    EXPECT_TRUE(TryParseLegacyColor("Teal", c));
    EXPECT_EQ(c, 0x808000u);
    c = 7;
    EXPECT_FALSE(TryParseLegacyColor("#12345", c));
    EXPECT_FALSE(TryParseLegacyColor("abc", c)); // three digits need the "#"
    EXPECT_FALSE(TryParseLegacyColor("#gggggg", c));
    EXPECT_FALSE(TryParseLegacyColor("", c));
    EXPECT_EQ(c, 7u);
}

TEST(AccessibilityCheck, NewMenuPassesExceptItsCaptionHeight) {
    auto p = oneMenu();
    p->menus[0].captionHeight = 22;
    const auto all = CheckProject(p->menus, p->settings);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kind, CheckKind::TargetTooSmall);
    EXPECT_EQ(all[0].fix, FixPlace::CaptionHeightField);
    EXPECT_EQ(all[0].measured, 22);
    EXPECT_EQ(all[0].threshold, 24);
    EXPECT_EQ(FindingText(all[0]),
              "Menu 1: the caption is 22 px high; a target needs at least 24 px.");
}

TEST(AccessibilityCheck, TargetSizeEdgesFollowTheOrientation) {
    auto p = oneMenu();
    p->menus[0].captionHeight = 24;
    p->menus[0].width = 24;
    EXPECT_TRUE(findings(*p, CheckKind::TargetTooSmall).empty());
    p->menus[0].captionHeight = 23;
    auto f = findings(*p, CheckKind::TargetTooSmall);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].fix, FixPlace::CaptionHeightField);
    EXPECT_TRUE(contains(FindingText(f[0]), "23 px high"));

    // A vertical menu's caption is MTCH wide and MW high.
    p->menus[0].orientation = 1;
    p->menus[0].captionHeight = 24;
    p->menus[0].width = 23;
    f = findings(*p, CheckKind::TargetTooSmall);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].fix, FixPlace::WidthField);
    EXPECT_TRUE(contains(FindingText(f[0]), "23 px high"));
    p->menus[0].width = 150;
    p->menus[0].captionHeight = 20;
    f = findings(*p, CheckKind::TargetTooSmall);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(contains(FindingText(f[0]), "20 px wide"));
}

TEST(AccessibilityCheck, BodyContrastAtTheNormalAndLargeTextThresholds) {
    auto p = oneMenu();
    p->menus[0].bodyColor = "#777777"; // white text: 4.48:1
    auto f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].fix, FixPlace::MenuColor);
    EXPECT_EQ(f[0].part, MenuPart::Body);
    EXPECT_EQ(f[0].threshold, 4.5);
    EXPECT_EQ(f[0].backdrop, Backdrop::Own);
    EXPECT_EQ(FindingText(f[0]),
              "Menu 1: menu text #FFFFFF on #777777 has a contrast of 4.48:1; it "
              "needs at least 4.5:1.");
    p->menus[0].bodyColor = "#767676";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());

    p->menus[0].bodyColor = "#777777";
    p->settings.bodyFontSize = 18; // large text from 18 pt
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
    p->settings.bodyFontSize = 17;
    EXPECT_EQ(findings(*p, CheckKind::BodyContrast).size(), 1u);

    // Bold text counts as large from 14 pt.
    p->menus[0].bodyHtml = "<b>Products</B>";
    p->settings.bodyFontSize = 14;
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
    p->settings.bodyFontSize = 13;
    f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].threshold, 4.5);
}

TEST(AccessibilityCheck, CaptionContrastUsesTheProjectTextColour) {
    auto p = oneMenu();
    p->settings.captionTextColor = 0x222222;
    auto f = findings(*p, CheckKind::CaptionContrast); // #222222 on black
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].fix, FixPlace::CaptionColor);
    EXPECT_LT(f[0].measured, 1.5);
    p->menus[0].captionColor = "#FFFFFF";
    EXPECT_TRUE(findings(*p, CheckKind::CaptionContrast).empty());
}

TEST(AccessibilityCheck, TransparentBackgroundsFallBackToBottomColourThenWhite) {
    auto p = oneMenu();
    p->menus[0].bodyColor = "transparent"; // bottom colour is transparent too: white page
    auto f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u); // white text on white
    EXPECT_EQ(f[0].backdrop, Backdrop::AssumedWhite);
    EXPECT_DOUBLE_EQ(f[0].measured, 1.0);
    EXPECT_TRUE(contains(FindingText(f[0]), msg::kCheckAgainstWhite));

    p->menus[0].bottomColor = "#000080";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
    p->menus[0].bottomColor = "#EEEEEE";
    f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].backdrop, Backdrop::BottomColor);
    EXPECT_TRUE(contains(FindingText(f[0]), "on #EEEEEE"));
}

TEST(AccessibilityCheck, ColoursInTheHtmlAreJudgedWhereTheyApply) {
    auto p = oneMenu();
    p->menus[0].bodyColor = "#FFFFFF";
    p->settings.bodyTextColor = 0x000000;
    p->menus[0].bodyHtml = "Home <font color=#777777 size=2>small print</FONT>";
    auto f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].fix, FixPlace::MenuHtml);
    EXPECT_TRUE(contains(FindingText(f[0]), msg::kCheckFromFontColor));
    // FONT SIZE=5 is 18 pt: large text.
    p->menus[0].bodyHtml = "<FONT COLOR='#777777' SIZE='5'>Big</FONT>";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
    // A colour that only wraps no text does not count.
    p->menus[0].bodyHtml = "Home<FONT COLOR=\"#EEEEEE\"> &nbsp; </FONT>";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());

    // Links keep the browser's blue unless they carry one of the page's classes.
    p->menus[0].bodyColor = "#008080";
    p->settings.bodyTextColor = 0xFFFFFF;
    p->menus[0].bodyHtml = "<A HREF=\"a.html\">About</A>";
    f = findings(*p, CheckKind::BodyContrast);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(contains(FindingText(f[0]), "#0000EE on #008080"));
    EXPECT_TRUE(contains(FindingText(f[0]), msg::kCheckFromLinkColor));
    p->menus[0].bodyHtml = "<a href=a.html class=\"x clMenu\">About</a>";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
    p->menus[0].bodyHtml = "<a href=a.html><font color=white>About</font></a>";
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());
}

TEST(AccessibilityCheck, PicturesLinksAndCaptionsWithoutText) {
    auto p = oneMenu();
    p->menus[0].captionHtml = "<IMG SRC=\"home.gif\" BORDER=\"0\">";
    p->menus[0].bodyHtml = "<img src=a.gif><IMG src=b.gif Alt=\"\"><img src=c.gif alt>";
    auto noAlt = findings(*p, CheckKind::ImageWithoutAlt);
    ASSERT_EQ(noAlt.size(), 2u);
    EXPECT_EQ(noAlt[0].part, MenuPart::Caption);
    EXPECT_EQ(noAlt[0].fix, FixPlace::CaptionHtml);
    EXPECT_EQ(noAlt[0].measured, 1);
    EXPECT_EQ(noAlt[1].fix, FixPlace::MenuHtml);
    EXPECT_EQ(noAlt[1].measured, 1); // ALT="" and a bare ALT both mark a decorative picture
    EXPECT_EQ(findings(*p, CheckKind::CaptionWithoutText).size(), 1u);

    p->menus[0].captionHtml =
        "<IMG SRC=\"home.gif\" ALT=\"\">"; // decorative: still nothing to announce
    noAlt = findings(*p, CheckKind::ImageWithoutAlt);
    ASSERT_EQ(noAlt.size(), 1u);
    EXPECT_EQ(noAlt[0].part, MenuPart::Body);
    EXPECT_EQ(findings(*p, CheckKind::CaptionWithoutText).size(), 1u);
    p->menus[0].captionHtml = "<IMG SRC=home.gif ALT='Home'>";
    EXPECT_TRUE(findings(*p, CheckKind::CaptionWithoutText).empty());
    p->menus[0].captionHtml = " &nbsp;\r\n<BR>&#160; ";
    EXPECT_EQ(findings(*p, CheckKind::CaptionWithoutText).size(), 1u);
    p->menus[0].captionHtml = "<!-- Home --><script>document.write('Home')</SCRIPT>";
    EXPECT_EQ(findings(*p, CheckKind::CaptionWithoutText).size(), 1u);
    p->menus[0].captionHtml = "&amp;";
    EXPECT_TRUE(findings(*p, CheckKind::CaptionWithoutText).empty());

    p->menus[0].bodyHtml =
        "<a href=x></a> <A HREF='y'><img src=y.gif alt=\"\"></A> <a name=top></a>"
        "<a href=z><img src=z.gif alt=\"Next\"></a><a href=w>  ";
    auto links = findings(*p, CheckKind::LinkWithoutText);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].measured, 3); // the empty, the decorative picture, the unclosed one
    EXPECT_TRUE(contains(FindingText(links[0]), "Menu 1: 3 link(s) in the menu"));
}

TEST(AccessibilityCheck, BodyCutOffAtTheFiveHundredPixelsThePageShows) {
    auto p = oneMenu(); // caption 30 px
    std::vector<int32_t> extents{470};
    EXPECT_TRUE(findings(*p, CheckKind::BodyCutOff, &extents).empty());
    extents[0] = 471;
    auto f = findings(*p, CheckKind::BodyCutOff, &extents);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].measured, 501);
    EXPECT_EQ(f[0].threshold, 500);
    EXPECT_FALSE(f[0].estimated);
    EXPECT_EQ(FindingText(f[0]),
              "Menu 1: caption and menu are 501 px high; the page shows 500 px and "
              "cuts off the rest.");

    // Without a reported size the lines of the HTML are counted: 12 pt lines are 18.4 px.
    std::string lines;
    for (int i = 0; i < 25; ++i)
        lines += "Item<BR>\r\n";
    p->menus[0].bodyHtml = lines; // 25 lines: 460 + 30
    EXPECT_TRUE(findings(*p, CheckKind::BodyCutOff).empty());
    p->menus[0].bodyHtml = lines + "<p>Last</p>"; // 26 lines: 478.4 + 30
    f = findings(*p, CheckKind::BodyCutOff);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(f[0].estimated);
    EXPECT_TRUE(contains(FindingText(f[0]), "about 509 px high"));
    p->menus[0].bodyHtml = "<img src=a.gif alt=\"\" height=\"471\">";
    EXPECT_EQ(findings(*p, CheckKind::BodyCutOff).size(), 1u);

    // A vertical menu slides out sideways and is cut 500 px from its left.
    p->menus[0].orientation = 1;
    p->menus[0].bodyHtml = "<nObR>" + std::string(200, 'x') + "</nObR>"; // 200 * 8 px
    f = findings(*p, CheckKind::BodyCutOff);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(contains(FindingText(f[0]), "px wide"));
}

TEST(AccessibilityCheck, JunkHtmlNeitherCrashesNorInventsFindings) {
    auto p = oneMenu();
    const char* junk[] = {"<",
                          "<<<>>>",
                          "<a href=\"",
                          "<img alt=",
                          "<!--",
                          "</",
                          "<IMG",
                          "&",
                          "&#;&nbsp",
                          "<a href=x><a",
                          "</font></b></a>",
                          "<font color=>",
                          "<script>",
                          "<style>x{}",
                          "<h1><h2><h3>",
                          "< img src=x>",
                          "<img src='x alt=\"y\">"};
    for (const char* html : junk) {
        p->menus[0].captionHtml = html;
        p->menus[0].bodyHtml = html;
        EXPECT_NO_THROW(CheckProject(p->menus, p->settings)) << html;
    }
    // "< img" is not a tag: the text is shown, so the caption has text.
    p->menus[0].captionHtml = "< img src=x>";
    p->menus[0].bodyHtml = "Home";
    EXPECT_TRUE(findings(*p, CheckKind::CaptionWithoutText).empty());
    EXPECT_TRUE(findings(*p, CheckKind::ImageWithoutAlt).empty());
    // Deep nesting past what is tracked still closes in order.
    std::string deep;
    for (int i = 0; i < 100; ++i)
        deep += "<font color=#EEEEEE>";
    for (int i = 0; i < 100; ++i)
        deep += "</font>";
    p->menus[0].bodyHtml = deep + "Home"; // white on teal once every FONT is closed
    EXPECT_TRUE(findings(*p, CheckKind::BodyContrast).empty());

    std::mt19937 random(14);
    const std::string alphabet = "<>/=\"' \r\naAimgfontbrhref&;#lt-!";
    for (int round = 0; round < 3000; ++round) {
        std::string html(random() % 60, ' ');
        for (char& c : html)
            c = alphabet[random() % alphabet.size()];
        p->menus[0].captionHtml = html;
        p->menus[0].bodyHtml = html;
        for (const auto& f : CheckProject(p->menus, p->settings))
            ASSERT_EQ(f.row, 0);
    }
}
