#include "model/AccessibilityCheck.h"
#include "model/Project.h"
#include "model/SiteReferences.h"
#include "model/internal/GluedWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace qloom;

namespace {

namespace fs = std::filesystem;

// "before|after" for each glued break, and where the first one is.
std::vector<std::string> glued(std::string_view html) {
    std::vector<std::string> out;
    for (const GluedBreak& g : FindGluedBreaks(html))
        out.push_back(g.before + "|" + g.after + (g.insideTag ? " (tag)" : ""));
    return out;
}

using Words = std::vector<std::string>;

std::vector<AccessibilityFinding> ofKind(const std::vector<AccessibilityFinding>& all,
                                         CheckKind kind) {
    std::vector<AccessibilityFinding> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [kind](const AccessibilityFinding& f) { return f.kind == kind; });
    return out;
}

// A project folder below a fresh temporary folder ("site/project"), removed afterwards.
class SiteFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qloom-site-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        project_ = root_ / "project";
        fs::create_directories(project_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    void touch(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    fs::path root_, project_;
};

} // namespace

TEST(GluedWords, ABreakBetweenWordsIsFoundWhateverTheLineEnds) {
    EXPECT_EQ(glued("Start page\r\nNews"), Words{"page|News"});
    EXPECT_EQ(glued("Start page\nNews"), Words{"page|News"});
    EXPECT_EQ(glued("Start page\rNews"), Words{"page|News"});
    // Blank lines vanish just the same: still one place, reported once.
    EXPECT_EQ(glued("Start page\r\n\r\nNews"), Words{"page|News"});
    const auto breaks = FindGluedBreaks("Start page\r\nNews");
    ASSERT_EQ(breaks.size(), 1u);
    EXPECT_EQ(breaks[0].offset, 10u);
    // Several in one body, each with its own place.
    const auto two = FindGluedBreaks("Home\r\nNews\r\nContact");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].offset, 4u);
    EXPECT_EQ(two[1].offset, 10u);
}

TEST(GluedWords, BlanksBreaksAndBlocksSeparateFormattingTagsDoNot) {
    // What already separates the words.
    EXPECT_EQ(glued("Start page \r\nNews"), Words{});
    EXPECT_EQ(glued("Start page\r\n News"), Words{});
    EXPECT_EQ(glued("Start page\t\r\nNews"), Words{});
    EXPECT_EQ(glued("Start page<BR>\r\nNews"), Words{});
    EXPECT_EQ(glued("Start page\r\n<br/>News"), Words{});
    EXPECT_EQ(glued("<P>Start page</P>\r\n<P>News</P>"), Words{});
    EXPECT_EQ(glued("<li>Home</li>\r\n<li>News</li>"), Words{});
    EXPECT_EQ(glued("<IMG SRC=a.gif ALT=\"\">\r\nNews"), Words{});
    EXPECT_EQ(glued("Start page&nbsp;\r\nNews"), Words{});
    EXPECT_EQ(glued("Start page\r\n&#160;News"), Words{});
    EXPECT_EQ(glued("Start page\xC2\xA0\r\nNews"), Words{});
    // Links on lines of their own: the most common way a body is typed, and glued on the page.
    EXPECT_EQ(glued("<A HREF=\"a.htm\">Home</A>\r\n<A HREF=\"b.htm\">News</A>"),
              Words{"Home|News"});
    EXPECT_EQ(glued("<b>Start</b>\r\n<i>page</i>"), Words{"Start|page"});
    EXPECT_EQ(glued("Start<!-- note -->\r\npage"), Words{"Start|page"});
    // Breaks on both sides of a tag vanish together: one place, reported once.
    EXPECT_EQ(glued("Home\r\n<b>\r\nNews</b>"), Words{"Home|News"});
    EXPECT_EQ(glued("Home \r\n<b>\r\nNews</b>"), Words{});
    // An entity is a character like any other, unless it is a blank.
    EXPECT_EQ(glued("Tom &amp;\r\nJerry"), Words{"&amp;|Jerry"});
    EXPECT_EQ(glued("Tom\r\n&amp; Jerry"), Words{"Tom|&amp;"});
}

TEST(GluedWords, PunctuationEndsAndCommentsJoinNothingWorthReporting) {
    EXPECT_EQ(glued("well-\r\nknown"), Words{});
    EXPECT_EQ(glued("(\r\nsee"), Words{});
    EXPECT_EQ(glued("News\r\n."), Words{});
    EXPECT_EQ(glued("News\r\n, more"), Words{});
    // "Home,News" is glued: a comma needs the blank after it.
    EXPECT_EQ(glued("Home,\r\nNews"), Words{"Home,|News"});
    // Nothing on one side.
    EXPECT_EQ(glued("\r\nNews"), Words{});
    EXPECT_EQ(glued("News\r\n"), Words{});
    EXPECT_EQ(glued("<BR>\r\n"), Words{});
    // Not text at all.
    EXPECT_EQ(glued("<!-- one\r\ntwo -->"), Words{});
    EXPECT_EQ(glued("<SCRIPT>var a\r\nb</SCRIPT>x"), Words{});
    EXPECT_EQ(glued("<style>p\r\n{}</style>"), Words{});
    // Junk never throws and finds what it can.
    EXPECT_EQ(glued("<a href=\"x\r\n"), Words{});
    EXPECT_EQ(glued("a < b\r\nc"), Words{"b|c"});
}

TEST(GluedWords, InsideATagNamesAndValuesRunTogether) {
    // "<Ahref=...>" is no link any more, and "a.gifalt" no picture.
    EXPECT_EQ(glued("<A\r\nHREF=\"a.htm\">Home</A>"), Words{"A|HREF (tag)"});
    const auto bare = FindGluedBreaks("<IMG SRC=a.gif\r\nALT=Logo>");
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_TRUE(bare[0].insideTag);
    EXPECT_EQ(bare[0].before, "a.gif");
    EXPECT_EQ(bare[0].after, "ALT");
    EXPECT_EQ(glued("<IMG ALT=\"Start\r\npage\">"), Words{"Start|page (tag)"});
    // Around "=", quotes and the tag's ends the break does no harm.
    EXPECT_EQ(glued("<A HREF=\"a.htm\"\r\nCLASS=x>Home</A>"), Words{});
    EXPECT_EQ(glued("<A HREF=\r\n\"a.htm\">Home</A>"), Words{});
    EXPECT_EQ(glued("<A HREF=\"a.htm\"\r\n>Home</A>"), Words{});
    EXPECT_EQ(glued("<IMG SRC=a.gif\r\n/>"), Words{});
}

TEST(GluedWords, WordsAreShortAndKeepWholeCharacters) {
    // "Übersicht" in UTF-8: the quoted words never end in half a character.
    const auto found = FindGluedBreaks("Startseite\r\n\xC3\x9C"
                                       "bersichtundnochvielmehr");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].before, "Startseite");
    EXPECT_LE(found[0].after.size(), 12u);
    EXPECT_EQ(found[0].after.substr(0, 2), "\xC3\x9C");
    EXPECT_NE(static_cast<unsigned char>(found[0].after.back()) & 0xC0, 0xC0);
}

TEST(SiteReferences, AddressesOfEveryKindAreFoundWithTheirPlace) {
    const std::string html =
        "<A HREF=\"news.htm\">News</A><img src='pics/logo.png' alt=x>"
        "<TD BACKGROUND=bg.gif><a href=x&amp;y.htm>"
        "<img srcset=\"s1.png 1x, s2.png 2x\"><span style=\"background:url( 'u.png' )\">"
        "<!-- <img src=commented.png> --><video poster=p.jpg></video>";
    std::vector<std::string> values;
    for (const HtmlReference& r : FindReferences(html))
        values.push_back(r.value);
    EXPECT_EQ(values, (std::vector<std::string>{"news.htm", "pics/logo.png", "bg.gif", "x&y.htm",
                                                "s1.png", "s2.png", "u.png", "p.jpg"}));
    const auto refs = FindReferences(html);
    EXPECT_EQ(html.substr(refs[0].offset, 8), "news.htm");
    EXPECT_EQ(html.substr(refs[1].offset, 13), "pics/logo.png");
    EXPECT_EQ(html.substr(refs[6].offset, 5), "u.png");
}

TEST(SiteReferences, OnlyLocalFilesArePathsAndTheyAreDecoded) {
    for (const char* external :
         {"http://example.org/a.png", "HTTPS://x.org", "mailto:a@b.org", "//cdn.example.org/x.js",
          "data:image/png;base64,AAAA", "javascript:void(0)", "#top", "", "  ", "file:///etc/x",
          "tel:+4912345", "?page=2"})
        EXPECT_FALSE(LocalPath(external).has_value()) << external;
    EXPECT_EQ(LocalPath("pics/a%20b.png?v=2#x"), "pics/a b.png");
    EXPECT_EQ(LocalPath(" news.htm#latest "), "news.htm");
    EXPECT_EQ(LocalPath("/img/x.gif"), "/img/x.gif");
    EXPECT_EQ(LocalPath("../shared/site.css"), "../shared/site.css");
    EXPECT_EQ(LocalPath("%C3%9Cbersicht.htm"), "\xC3\x9C"
                                               "bersicht.htm");
    // A broken escape stays as written, and %00 never becomes a NUL in a path.
    EXPECT_EQ(LocalPath("100%.htm"), "100%.htm");
    EXPECT_EQ(LocalPath("a%zz.htm"), "a%zz.htm");
    EXPECT_EQ(LocalPath("a%00.htm"), "a%00.htm");
    // A colon after a slash is no scheme.
    EXPECT_EQ(LocalPath("pics/a:b.png"), "pics/a:b.png");

    EXPECT_EQ(ResolveLocalPath("pics/./a.png", "/w/site/proj", ""), "/w/site/proj/pics/a.png");
    EXPECT_EQ(ResolveLocalPath("../x.css", "/w/site/proj", ""), "/w/site/x.css");
    EXPECT_EQ(ResolveLocalPath("/img/x.gif", "/w/site/proj", "/w/site"), "/w/site/img/x.gif");
    EXPECT_EQ(ResolveLocalPath("/img/x.gif", "/w/site/proj", ""), "/w/site/proj/img/x.gif");
}

TEST_F(SiteFolder, ListsTheTemplateAndEveryReferencedFileOnceMarkingTheMissing) {
    touch(project_ / "Temp.html");
    touch(project_ / "pics" / "logo one.png");
    touch(root_ / "shared" / "site.css");
    fs::create_directories(project_ / "news");
    Project p;
    p.settings.projectFolder = project_.string();
    ASSERT_TRUE(AddMenu(p).ok());
    ASSERT_TRUE(AddMenu(p).ok());
    p.menus[0].captionHtml = "<IMG SRC=\"pics/logo%20one.png\" ALT=Home>";
    p.menus[0].bodyHtml = "<A HREF=\"http://example.org/\">Out</A><BR>\r\n"
                          "<A HREF=\"about.htm#team\">About</A><BR>\r\n"
                          "<A HREF=\"news/\">News</A><BR>\r\n"
                          "<A HREF=\"mailto:a@b.org\">Mail</A>";
    p.menus[1].captionHtml = "<LINK HREF=\"../shared/site.css\"><A HREF=\"./about.htm\">Again</A>";
    p.menus[1].bodyHtml = "<IMG SRC=\"/pics/logo one.png\" ALT=x><IMG SRC=\"/img/gone.gif\" ALT=y>";

    const auto files = ListSiteFiles(p, "");
    std::vector<std::string> shown;
    for (const SiteFile& f : files)
        shown.push_back(f.path + (f.exists ? "" : " (missing)") +
                        (f.template_ ? " (template)" : ""));
    EXPECT_EQ(shown, (std::vector<std::string>{"Temp.html (template)", "pics/logo one.png",
                                               "about.htm (missing)", "news/", "../shared/site.css",
                                               "img/gone.gif (missing)"}));

    // With the site folder one level up, "/img/..." and "/pics/..." are looked for there.
    touch(root_ / "img" / "gone.gif");
    const auto withSite = ListSiteFiles(p, root_.string());
    ASSERT_EQ(withSite.size(), 7u);
    EXPECT_EQ(withSite[5].path, "../pics/logo one.png");
    EXPECT_FALSE(withSite[5].exists);
    EXPECT_EQ(withSite[6].path, "../img/gone.gif");
    EXPECT_TRUE(withSite[6].exists);
}

TEST_F(SiteFolder, TheChecksReportMissingFilesAndGluedWordsWithTheirPlace) {
    touch(project_ / "here.png");
    Project p;
    p.settings.projectFolder = project_.string();
    ASSERT_TRUE(AddMenu(p).ok());
    p.menus[0].captionHeight = 30;
    p.menus[0].captionHtml = "<IMG SRC=here.png ALT=Here> <IMG SRC=gone.png ALT=Gone>";
    p.menus[0].bodyHtml = "Start page\r\nNews";
    const SiteFolders site{project_.string(), ""};
    const auto all = CheckProject(p.menus, p.settings, nullptr, &site);

    const auto missing = ofKind(all, CheckKind::MissingFile);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].part, MenuPart::Caption);
    EXPECT_EQ(missing[0].fix, FixPlace::CaptionHtml);
    EXPECT_EQ(p.menus[0].captionHtml.substr(size_t(missing[0].offset), 8), "gone.png");
    EXPECT_EQ(FindingText(missing[0]),
              "Menu 1: the caption refers to \"gone.png\", which is not in the site (looked for " +
                  (project_ / "gone.png").string() + ").");

    const auto gluedWords = ofKind(all, CheckKind::GluedWords);
    ASSERT_EQ(gluedWords.size(), 1u);
    EXPECT_EQ(gluedWords[0].fix, FixPlace::MenuHtml);
    EXPECT_EQ(gluedWords[0].offset, 10);
    EXPECT_EQ(FindingText(gluedWords[0]),
              "Menu 1: a line break in the menu HTML joins \"page\" and \"News\": the page shows "
              "\"pageNews\". Put a space or <BR> there.");

    // Without folders nothing is looked up on disk; the glued words are still there.
    const auto plain = CheckProject(p.menus, p.settings);
    EXPECT_TRUE(ofKind(plain, CheckKind::MissingFile).empty());
    EXPECT_EQ(ofKind(plain, CheckKind::GluedWords).size(), 1u);
}

TEST(PlacementCheck, MenusRunningOffADesktopPageAreReported) {
    Project p;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(AddMenu(p).ok());
    std::vector<Menu>& t = p.menus;
    for (int i = 0; i < 4; ++i)
        t[size_t(i)].captionHeight = 30;
    t[0].left = 1130; // 1130 + 150 = 1280: just fits
    t[0].width = 150;
    t[1].left = 1131;
    t[1].width = 150;
    t[2].left = 1250; // vertical: the caption is Caption Height wide, 30 px: fits
    t[2].width = 400;
    t[2].orientation = 1;
    t[3].left = -5;
    t[3].width = 100;
    const auto off = ofKind(CheckProject(t, p.settings), CheckKind::OffPage);
    ASSERT_EQ(off.size(), 2u);
    EXPECT_EQ(off[0].row, 1);
    EXPECT_EQ(off[0].fix, FixPlace::LeftField);
    EXPECT_EQ(FindingText(off[0]),
              "Menu 2: the menu reaches to x = 1281 px, past the right edge of a 1280 px wide "
              "page.");
    EXPECT_EQ(off[1].row, 3);
    EXPECT_EQ(FindingText(off[1]),
              "Menu 4: the menu starts at x = -5 px, left of the page, where no visitor can reach "
              "it.");

    t[2].left = 1251;
    const auto vertical = ofKind(CheckProject(t, p.settings), CheckKind::OffPage);
    ASSERT_EQ(vertical.size(), 3u);
    EXPECT_TRUE(vertical[1].vertical);
    EXPECT_NE(FindingText(vertical[1]).find("x = 1281 px (Left + Caption Height)"),
              std::string::npos);
    // Huge values neither overflow nor print in exponent form.
    t[1].left = 2147483000;
    t[1].width = 2000;
    const auto huge = ofKind(CheckProject(t, p.settings), CheckKind::OffPage);
    EXPECT_NE(FindingText(huge[0]).find("2147485000"), std::string::npos);
}

TEST(PlacementCheck, ASmallScreenModeThatIsOffIsOneProjectFinding) {
    std::vector<AccessibilityFinding> out;
    CheckProjectWide(-1, out);
    CheckProjectWide(600, out);
    EXPECT_TRUE(out.empty());
    CheckProjectWide(0, out);
    // A project's own setting is what the whole check reads; new projects are Auto.
    Project p;
    EXPECT_TRUE(CheckProject(p.menus, p.settings).empty());
    p.settings.smallScreenBreakpoint = 0;
    const auto wide = CheckProject(p.menus, p.settings);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].kind, CheckKind::SmallScreenOff);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].row, kProjectRow);
    EXPECT_EQ(out[0].fix, FixPlace::ProjectSettings);
    EXPECT_NE(FindingText(out[0]).find("small-screen mode is Off"), std::string::npos);
}
