#include "gui/common/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace qloom::gui;

namespace {
bool Overlaps(const PlaceRect& a, const PlaceRect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}
bool Inside(const PlaceRect& inner, const PlaceRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}
const PlaceRect kScreen{0, 0, 1600, 1000};
const PlaceRect kPage{0, 0, 844, 644};
} // namespace

TEST(PlaceBeside, TakesTheFreerSideWithoutCoveringTheMainWindow) {
    struct Case {
        PlaceRect main;
        bool right;
    } cases[] = {
        {{604, 290, 392, 421}, true},   // centred: both sides alike, the right one wins
        {{0, 0, 392, 421}, true},       // at the left edge
        {{1150, 500, 392, 421}, false}, // near the right edge
    };
    for (const Case& c : cases) {
        const PlaceRect placed = PlaceBeside(c.main, kScreen, kPage, 320, 8);
        EXPECT_FALSE(Overlaps(placed, c.main)) << c.main.x;
        EXPECT_TRUE(Inside(placed, kScreen)) << c.main.x;
        EXPECT_EQ(placed.x >= c.main.right(), c.right) << c.main.x;
        EXPECT_LE(placed.width, kPage.width);
        EXPECT_GE(placed.width, 320);
    }
    // Level with the main window, moved up when the page would run off the bottom.
    EXPECT_EQ(PlaceBeside({0, 100, 392, 421}, kScreen, kPage, 320, 8).y, 100);
    EXPECT_EQ(PlaceBeside({0, 600, 392, 421}, kScreen, kPage, 320, 8).y, 1000 - 644);
}

TEST(PlaceBeside, GoesBelowOrAboveOrToTheFarEdgeWhenNoSideIsFree) {
    const PlaceRect narrow{0, 0, 1024, 768};
    // A wide main window at the top: the page goes below it.
    const PlaceRect top{100, 0, 800, 300};
    const PlaceRect below = PlaceBeside(top, narrow, kPage, 320, 8);
    EXPECT_FALSE(Overlaps(below, top));
    EXPECT_TRUE(Inside(below, narrow));
    EXPECT_GE(below.y, top.bottom());
    // Filling the screen: the page lies at the edge away from the main window's centre.
    const PlaceRect big{0, 0, 900, 700};
    const PlaceRect edge = PlaceBeside(big, narrow, kPage, 320, 8);
    EXPECT_TRUE(Inside(edge, narrow));
    EXPECT_EQ(edge.right(), narrow.right());
    EXPECT_EQ(edge.width, 320); // no wider than a usable page needs
    // A small screen (a desktop at twice the scale) where the main window fills the height.
    const PlaceRect half{0, 0, 800, 500};
    const PlaceRect centred{182, 0, 436, 500};
    const PlaceRect small = PlaceBeside(centred, half, kPage, 320, 8);
    EXPECT_TRUE(Inside(small, half));
    EXPECT_LE(small.width, 320);
}

TEST(KeepOnScreen, BringsAPlaceFromAMissingOrSmallerScreenBack) {
    const std::vector<PlaceRect> one{{0, 0, 1280, 800}};
    // Saved on a second monitor to the right, now gone.
    const PlaceRect moved = KeepOnScreen({2000, 100, 400, 300}, one);
    EXPECT_TRUE(Inside(moved, one[0]));
    EXPECT_EQ(moved.width, 400);
    // Larger than the screen now is: shrunk to it.
    const PlaceRect shrunk = KeepOnScreen({-50, -50, 1600, 1000}, one);
    EXPECT_TRUE(shrunk == one[0]);
    // Already on screen: untouched.
    const PlaceRect fine{100, 100, 400, 300};
    EXPECT_TRUE(KeepOnScreen(fine, one) == fine);
    // Two screens: the one it overlaps most keeps it.
    const std::vector<PlaceRect> two{{0, 0, 1280, 800}, {1280, 0, 1920, 1080}};
    const PlaceRect straddling = KeepOnScreen({1200, 900, 400, 300}, two);
    EXPECT_GE(straddling.x, 1280);
    EXPECT_LE(straddling.bottom(), 1080);
}
