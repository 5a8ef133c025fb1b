#include "gui/preview/internal/SmallScreenLayout.h"

#include "model/Menu.h"

#include <algorithm>

namespace qloom::gui {

bool SmallScreenLayout(int32_t cssWidth, int32_t breakpoint, const std::vector<Menu>& menus) {
    if (breakpoint == 0 || breakpoint < -1)
        return false;
    int64_t limit = breakpoint;
    if (breakpoint == -1) {
        if (menus.empty())
            return false; // no menus: nothing to collapse
        // A caption's right edge: a horizontal menu is as wide as its width, a vertical one as
        // its caption is high.
        limit = 0;
        for (const Menu& menu : menus)
            limit = std::max(limit, int64_t(menu.left) +
                                        (menu.orientation == 0 ? menu.width : menu.captionHeight) +
                                        kAutoBreakpointMargin);
    }
    return int64_t(cssWidth) < limit;
}

} // namespace qloom::gui
