#include "gui/preview/PreviewLocation.h"
#include "gui/preview/PreviewScroll.h"
#include "gui/preview/ScriptErrorLog.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
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
    EXPECT_FALSE(ScriptErrorListOverflows(200));
    EXPECT_TRUE(ScriptErrorListOverflows(201));
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
