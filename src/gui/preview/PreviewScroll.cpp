#include "gui/preview/internal/PreviewScroll.h"

#include <algorithm>
#include <climits>

namespace qloom {
namespace {

// Menu positions are stored unclamped, so the sums are done wide and saturated.
int Saturate(int64_t value) {
    return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

} // namespace

ScrollTarget PreviewScrollTarget(const ScrollState& state, int32_t left, int32_t top,
                                 int32_t width) {
    ScrollTarget target{state.hpos, state.vpos};
    const int64_t hpos = state.hpos;
    const int64_t vpos = state.vpos;
    if (hpos + state.width < int64_t(left) + 40 || hpos > left)
        target.hpos = Saturate(int64_t(left) + width / 2 - state.width / 2);
    if (vpos + state.height < int64_t(top) + 80 || vpos > top)
        target.vpos = Saturate(int64_t(top) - state.height / 2);
    return target;
}

} // namespace qloom
