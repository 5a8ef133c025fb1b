#include "gui/preview/SmallScreenLayout.h"

#include <algorithm>

namespace qloom::gui {

bool SmallScreenLayout(int32_t cssWidth, int32_t breakpoint,
                       const std::vector<int64_t>& rightEdges) {
    if (breakpoint == 0 || breakpoint < -1)
        return false;
    int64_t limit = breakpoint;
    if (breakpoint == -1) {
        if (rightEdges.empty())
            return false; // no menus: nothing to collapse
        limit = *std::max_element(rightEdges.begin(), rightEdges.end()) + kAutoBreakpointMargin;
    }
    return int64_t(cssWidth) < limit;
}

} // namespace qloom::gui
