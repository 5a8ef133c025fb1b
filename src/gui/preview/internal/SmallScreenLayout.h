#pragma once

// Whether the preview shows the page's small-screen layout, decided the way the page runtime
// decides it, so the editor knows when the menus stand in their collapsed list rather than at
// their desktop places (where a drag would mean nothing).

#include <cstdint>
#include <vector>

namespace qloom {
struct Menu;
}

namespace qloom::gui {

// The space the runtime keeps to the right of the rightmost caption for an automatic breakpoint.
inline constexpr int32_t kAutoBreakpointMargin = 24;

// `breakpoint`: -1 automatic, 0 off, N > 0 a width in CSS pixels. True when a page `cssWidth`
// wide shows the menus in the small-screen list.
bool SmallScreenLayout(int32_t cssWidth, int32_t breakpoint, const std::vector<Menu>& menus);

} // namespace qloom::gui
