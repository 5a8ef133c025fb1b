#include "gui/common/WindowPlacement.h"

#include <algorithm>

namespace qloom::gui {

namespace {

int Overlap(const PlaceRect& a, const PlaceRect& b) {
    const int w = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const int h = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// `start` clamped so that a span of `length` stays within [low, high).
int Clamp(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

} // namespace

PlaceRect PlaceBeside(const PlaceRect& main, const PlaceRect& screen, const PlaceRect& preferred,
                      int minWidth, int gap) {
    const int leftRoom = main.x - screen.x - gap;
    const int rightRoom = screen.right() - main.right() - gap;
    const int height = std::min(preferred.height, screen.height);
    // Level with the main window's top, moved up when that would run past the screen's bottom.
    const int y = Clamp(main.y, height, screen.y, screen.bottom());

    const bool right = rightRoom >= leftRoom;
    const int room = right ? rightRoom : leftRoom;
    if (room >= minWidth) {
        const int width = std::min(preferred.width, room);
        const int x = right ? main.right() + gap : main.x - gap - width;
        return {x, y, width, height};
    }

    const int width = std::min(preferred.width, screen.width);
    const int x = Clamp(main.x, width, screen.x, screen.right());
    const int belowRoom = screen.bottom() - main.bottom() - gap;
    const int aboveRoom = main.y - screen.y - gap;
    const int minHeight = std::min(preferred.height, minWidth);
    if (std::max(belowRoom, aboveRoom) >= minHeight) {
        const bool below = belowRoom >= aboveRoom;
        const int h = std::min(preferred.height, below ? belowRoom : aboveRoom);
        return {x, below ? main.bottom() + gap : main.y - gap - h, width, h};
    }
    // No free side: narrow, at the edge away from the main window's centre, so it covers as
    // little of the main window as a usable page allows.
    const int narrow = std::min(width, std::max(minWidth, std::max(leftRoom, rightRoom)));
    const bool mainOnLeft = main.x + main.width / 2 < screen.x + screen.width / 2;
    return {mainOnLeft ? screen.right() - narrow : screen.x, y, narrow, height};
}

PlaceRect KeepOnScreen(const PlaceRect& frame, const std::vector<PlaceRect>& screens) {
    if (screens.empty())
        return frame;
    const PlaceRect* best = &screens.front();
    int bestOverlap = -1;
    for (const PlaceRect& screen : screens) {
        const int overlap = Overlap(frame, screen);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &screen;
        }
    }
    PlaceRect placed = frame;
    placed.width = std::min(frame.width, best->width);
    placed.height = std::min(frame.height, best->height);
    placed.x = Clamp(frame.x, placed.width, best->x, best->right());
    placed.y = Clamp(frame.y, placed.height, best->y, best->bottom());
    return placed;
}

} // namespace qloom::gui
