#pragma once

// Where windows go on the desktop, in plain numbers so the rules are tested without a display:
// the preview beside the main window on first start, and saved places brought back onto a
// screen that may have changed since they were saved.

#include <vector>

namespace qloom::gui {

struct PlaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    bool operator==(const PlaceRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// The frame for a second window beside `main` (a frame, decorations included) within `screen`
// (the available area): on the side with more free room, as wide as `preferred` allows and the
// room gives, as high as the screen's free height up to `preferred`'s. When neither side leaves
// `minWidth`, it goes below or above the main window when one of those has room, and otherwise
// lies at the screen's edge farthest from the main window, covering it as little as it can.
PlaceRect PlaceBeside(const PlaceRect& main, const PlaceRect& screen, const PlaceRect& preferred,
                      int minWidth, int gap);

// The frame moved (and, when larger than the screen, shrunk) so that all of it lies on one of
// `screens`: the one it overlaps most, or the first when it overlaps none. A frame saved on a
// monitor that is gone, or at a resolution since lowered, must not open out of reach.
PlaceRect KeepOnScreen(const PlaceRect& frame, const std::vector<PlaceRect>& screens);

} // namespace qloom::gui
