#include "gui/preview/PreviewSandbox.h"
#include "gui/preview/RateLimit.h"
#include "gui/preview/ScriptErrorLog.h"
#include "gui/preview/internal/PreviewLocation.h"
#include "gui/preview/internal/PreviewScroll.h"
#include "gui/preview/internal/SmallScreenLayout.h"
#include "model/MenuColumns.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace qloom;

TEST(PreviewScrollTarget, CentresAMenuHorizontallyOnlyWhenItIsOutOfView) {
    const ScrollState window{0, 0, 454, 237};
    EXPECT_EQ(PreviewScrollTarget(window, 500, 10, 150).hpos, 500 + 75 - 227); // 348
    EXPECT_EQ(PreviewScrollTarget(window, 100, 10, 150).hpos, 0);
    // Within 40 pixels of the right edge counts as out of view; left of the position too.
    EXPECT_EQ(PreviewScrollTarget(window, 414, 10, 100).hpos, 0);
    EXPECT_EQ(PreviewScrollTarget(window, 415, 10, 100).hpos, 415 + 50 - 227);
    EXPECT_EQ(PreviewScrollTarget({300, 0, 454, 237}, 299, 10, 100).hpos, 299 + 50 - 227);
    // Halving truncates toward zero.
    EXPECT_EQ(PreviewScrollTarget({0, 0, 455, 237}, 600, 10, 151).hpos, 600 + 75 - 227);
}

TEST(PreviewScrollTarget, PutsTheMenuTopAtTheMiddleOnlyWhenItIsOutOfView) {
    const ScrollState window{0, 0, 454, 237};
    EXPECT_EQ(PreviewScrollTarget(window, 10, 150, 100).vpos, 0);
    EXPECT_EQ(PreviewScrollTarget(window, 10, 200, 100).vpos, 200 - 118); // 82
    EXPECT_EQ(PreviewScrollTarget({0, 300, 454, 237}, 10, 299, 100).vpos, 299 - 118);
    // A menu above the page gives a negative target; the scroll bar clamps it.
    EXPECT_EQ(PreviewScrollTarget({0, 50, 454, 237}, 10, -100, 100).vpos, -100 - 118);
}

TEST(PreviewScrollTarget, SaturatesInsteadOfOverflowingForExtremePositions) {
    const ScrollState window{0, 0, 454, 237};
    const ScrollTarget far = PreviewScrollTarget(window, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(far.hpos, INT_MAX);
    EXPECT_EQ(far.vpos, INT_MAX - 118);
    const ScrollTarget near = PreviewScrollTarget({10, 10, 454, 237}, INT_MIN, INT_MIN, 0);
    EXPECT_EQ(near.hpos, INT_MIN);
    EXPECT_EQ(near.vpos, INT_MIN);
}

TEST(SmallScreenLayout, FollowsTheBreakpointOfEachMode) {
    using gui::kAutoBreakpointMargin;
    using gui::SmallScreenLayout;
    std::vector<Menu> menus(3, NewMenu());
    menus[0].left = 0;
    menus[1].left = 760; // 150 wide: its caption ends at 910
    menus[2].left = 890; // vertical, 24 high: its caption ends at 914, not at 890 + its width
    menus[2].orientation = 1;
    menus[2].captionHeight = 24;
    // Automatic: below the rightmost caption's right edge plus the runtime's margin.
    EXPECT_TRUE(SmallScreenLayout(360, -1, menus));
    EXPECT_TRUE(SmallScreenLayout(914 + kAutoBreakpointMargin - 1, -1, menus));
    EXPECT_FALSE(SmallScreenLayout(914 + kAutoBreakpointMargin, -1, menus));
    EXPECT_FALSE(SmallScreenLayout(320, -1, {})); // no menus, nothing collapses
    // Off: the desktop layout at every width.
    EXPECT_FALSE(SmallScreenLayout(320, 0, menus));
    // A width: strictly below it.
    EXPECT_TRUE(SmallScreenLayout(767, 768, menus));
    EXPECT_FALSE(SmallScreenLayout(768, 768, menus));
    // A value from a damaged file does not switch the mode on.
    EXPECT_FALSE(SmallScreenLayout(320, -7, menus));
}

TEST(StillOnPreviewPage, AcceptsTheSamePageWithFragmentOrQuery) {
    const std::string page = "file:///work/My%20Menus/Temp.html";
    EXPECT_TRUE(StillOnPreviewPage(page, page));
    EXPECT_TRUE(StillOnPreviewPage(page, page + "#top"));
    EXPECT_TRUE(StillOnPreviewPage(page, page + "?a=1"));
    EXPECT_FALSE(StillOnPreviewPage(page, "file:///work/My%20Menus/other.html"));
    EXPECT_FALSE(StillOnPreviewPage("", page)); // nothing recorded yet
}

TEST(SplitListLines, CountsLinesLikeAListBox) {
    EXPECT_TRUE(SplitListLines("").empty());
    EXPECT_EQ(SplitListLines("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitListLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitListLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
}

class ScriptErrorLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        char templ[] = "/tmp/qloom-jslog-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir_ = templ;
    }
    void TearDown() override {
        std::remove((dir_ + "/js.log").c_str());
        rmdir(dir_.c_str());
    }
    std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir_;
};

TEST_F(ScriptErrorLogFile, RewritesTheWholeFileWithCrLfLines) {
    const std::string path = dir_ + "/js.log";
    ASSERT_TRUE(WriteScriptErrorLog(path, {"one", "two \xe9"}));
    EXPECT_EQ(read(path), "one\r\ntwo \xe9\r\n");
    ASSERT_TRUE(WriteScriptErrorLog(path, {"three"}));
    EXPECT_EQ(read(path), "three\r\n");
    ASSERT_TRUE(WriteScriptErrorLog(path, {}));
    EXPECT_EQ(read(path), "");
}

TEST_F(ScriptErrorLogFile, ReportsAFolderItCannotWriteTo) {
    const std::string path = dir_ + "/missing/js.log";
    const Status status = WriteScriptErrorLog(path, {"x"});
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, msg::Format(msg::kCannotCreateFile, path));
}

TEST(PreviewSandbox, FilesOnlyBelowTheRootAndNoRemoteSchemes) {
    EXPECT_EQ(RuleForScheme("file"), SchemeRule::AllowInsideRoot);
    for (const char* scheme : {"data", "blob", "qrc"})
        EXPECT_EQ(RuleForScheme(scheme), SchemeRule::Allow) << scheme;
    for (const char* scheme : {"http", "https", "ws", "wss", "ftp", "ssh", "chrome", "about", ""})
        EXPECT_EQ(RuleForScheme(scheme), SchemeRule::Block) << scheme;

    EXPECT_TRUE(PathInsideRoot("/home/a/site", "/home/a/site"));
    EXPECT_TRUE(PathInsideRoot("/home/a/site/css/x.css", "/home/a/site"));
    EXPECT_FALSE(PathInsideRoot("/home/a/site-secrets/key", "/home/a/site"));
    EXPECT_FALSE(PathInsideRoot("/home/a", "/home/a/site"));
    EXPECT_FALSE(PathInsideRoot("/etc/passwd", ""));
    EXPECT_FALSE(PathInsideRoot("relative/site", "relative"));
    EXPECT_TRUE(PathInsideRoot("/anything", "/"));
}

TEST(PreviewSandbox, SiteFolderMustHoldTheProjectAndStayBelowHome) {
    const char* home = "/home/a";
    EXPECT_EQ(CheckSiteFolder("/home/a/site", "/home/a/site/menus", home), SiteFolderVerdict::Ok);
    EXPECT_EQ(CheckSiteFolder("/home/a/site/menus", "/home/a/site/menus", home),
              SiteFolderVerdict::Ok);
    EXPECT_EQ(CheckSiteFolder("/home/a/other", "/home/a/site/menus", home),
              SiteFolderVerdict::Outside);
    EXPECT_EQ(CheckSiteFolder("/home/a", "/home/a/site/menus", home), SiteFolderVerdict::TooWide);
    EXPECT_EQ(CheckSiteFolder("/home", "/home/a/site/menus", home), SiteFolderVerdict::TooWide);
    EXPECT_EQ(CheckSiteFolder("/", "/srv/site/menus", home), SiteFolderVerdict::TooWide);
    EXPECT_EQ(CheckSiteFolder("/srv/site", "/srv/site/menus", home), SiteFolderVerdict::Ok);
}

TEST(PreviewSandbox, ReadsTheResidentSizeOfALiveProcess) {
    const auto own = ResidentBytesOf(getpid());
    ASSERT_TRUE(own.has_value());
    EXPECT_GT(*own, 100u * 1024);
    EXPECT_FALSE(ResidentBytesOf(0).has_value());
    EXPECT_FALSE(ResidentBytesOf(INT_MAX).has_value());
}

TEST(RateLimit, AdmitsAtMostCountWithinAnySlidingWindow) {
    RateLimit limit(3, 1000);
    EXPECT_TRUE(limit.admit(0));
    EXPECT_TRUE(limit.admit(10));
    EXPECT_TRUE(limit.admit(999));
    EXPECT_FALSE(limit.admit(999));
    EXPECT_FALSE(limit.admit(999)); // refused events do not extend the wait
    EXPECT_TRUE(limit.admit(1000)); // the first one has left the window
    EXPECT_FALSE(limit.admit(1009));
    EXPECT_TRUE(limit.admit(1010));

    RateLimit once(1, 30000);
    EXPECT_TRUE(once.admit(5000));
    EXPECT_FALSE(once.admit(34999));
    EXPECT_TRUE(once.admit(35000));
}

// The page's file requests are judged on the bytes the browser opens: a link in the project
// whose name is not UTF-8 must not lead out of it, and nothing missing passes but the template.
TEST(LocalPathAllowed, ResolvesTheRawBytesAndEveryLinkToItsFinalTarget) {
    char pattern[] = "/tmp/qloom-paths-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string top = CanonicalBytes(pattern);
    const std::string root = top + "/project";
    const std::string outside = top + "/outside";
    ASSERT_EQ(::mkdir(root.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(outside.c_str(), 0700), 0);
    std::ofstream(outside + "/secret.txt") << "secret";
    std::ofstream(root + "/own.css") << "body{}";
    ASSERT_EQ(::symlink(outside.c_str(), (root + "/\xff").c_str()), 0);
    ASSERT_EQ(::symlink("own.css", (root + "/alias.css").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "/gone").c_str(), (root + "/dangling.html").c_str()), 0);
    ASSERT_EQ(::mkfifo((root + "/fifo.html").c_str(), 0600), 0);

    const auto allowed = [&](const std::string& encoded, const std::string& missingAllowed) {
        const auto bytes = FileUrlPathBytes(encoded);
        return bytes && LocalPathAllowed(*bytes, root, missingAllowed);
    };
    const std::string none;
    EXPECT_TRUE(allowed(root + "/own.css", none));
    EXPECT_TRUE(allowed(root + "/alias.css", none));
    EXPECT_TRUE(allowed(root, none)); // the folder's listing
    // %FF is the byte 0xFF, the link's name; as U+FFFD it would name nothing and slip through.
    EXPECT_FALSE(allowed(root + "/%FF/secret.txt", none));
    EXPECT_FALSE(allowed(root + "/%ff/missing.txt", none));
    EXPECT_FALSE(allowed(root + "/../outside/secret.txt", none));
    EXPECT_FALSE(allowed(root + "%2F..%2Foutside/secret.txt", none));
    EXPECT_FALSE(allowed(root + "/own.css%00.png", none));
    EXPECT_FALSE(allowed(root + "/fifo.html", none)); // opening it would hang the engine
    // Missing: only the template page itself, and never through a dangling link.
    EXPECT_FALSE(allowed(root + "/Temp.html", none));
    EXPECT_TRUE(allowed(root + "/Temp.html", root + "/Temp.html"));
    EXPECT_FALSE(allowed(root + "/Other.html", root + "/Temp.html"));
    EXPECT_FALSE(allowed(root + "/dangling.html", root + "/dangling.html"));
    EXPECT_FALSE(allowed(outside + "/Temp.html", outside + "/Temp.html"));
    EXPECT_FALSE(allowed("relative/own.css", none));

    for (const char* name : {"/\xff", "/alias.css", "/dangling.html", "/fifo.html", "/own.css"})
        ::unlink((root + name).c_str());
    ::unlink((outside + "/secret.txt").c_str());
    ::rmdir(root.c_str());
    ::rmdir(outside.c_str());
    ::rmdir(top.c_str());
}
