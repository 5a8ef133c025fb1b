#pragma once

#include <cstdint>

namespace qloom {

struct ScrollState {
    int hpos;   // current horizontal scroll position of the preview window
    int vpos;   // current vertical scroll position
    int width;  // outer width of the window
    int height; // outer height of the window
};

struct ScrollTarget {
    int hpos;
    int vpos;
};

// Where the preview window scrolls to bring a menu at (left, top) of the given width into view.
// Horizontally the menu is centred once it lies outside [hpos, hpos + width - 40]; vertically its
// top edge goes to the middle once it lies outside [vpos, vpos + height - 80]. The caller's
// scroll bars clamp the result to their range; results beyond int are saturated.
ScrollTarget PreviewScrollTarget(const ScrollState& state, int32_t left, int32_t top,
                                 int32_t width);

} // namespace qloom
