#include "model/Project.h"

#include "model/MenuColumns.h"
#include "model/Messages.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace qloom {

namespace {

// The page wraps a row of menus once the next one would end beyond this x.
constexpr int64_t kWrapWidth = 800;
// A wrapped row starting at or below this y goes back to the top of the page.
constexpr int32_t kWrapBottom = 450;
constexpr int32_t kRowHeight = 100;
constexpr int32_t kGap = 2;

// Positions read from a hand-edited script can be anything; keep the arithmetic defined.
int32_t saturate(int64_t value) {
    const int64_t lo = std::numeric_limits<int32_t>::min();
    const int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value, lo, hi));
}

} // namespace

bool Project::sameMenus(const Project& other) const {
    return selected == other.selected && menus == other.menus;
}

std::string MenuLabel(int32_t row) {
    return "Menu " + std::to_string(static_cast<int64_t>(row) + 1);
}

Expected<int32_t> AddMenu(Project& project) {
    const int32_t n = project.menuCount();
    if (n >= Project::kCapacity)
        return Status::failure(std::string(msg::kTableFull));
    if (n == 0) {
        project.menus.push_back(NewMenu());
    } else {
        // Beside the last menu, not the selected one: menus are laid out in the order they were
        // added. Everything but the place and the HTML is copied from it.
        const Menu& prev = project.menus.back();
        Menu added = prev;
        added.captionHtml = kDefaultCaption;
        added.bodyHtml = kDefaultBody;
        const int64_t prevX = prev.left;
        const int64_t prevW = prev.width;
        if (prevX + 2 * prevW + kGap > kWrapWidth) {
            added.left = 10;
            added.top = prev.top >= kWrapBottom ? 0 : prev.top + kRowHeight;
        } else {
            added.left = saturate(prevX + prevW + kGap);
            added.top = prev.top;
        }
        project.menus.push_back(std::move(added));
    }
    project.selected = n;
    return n;
}

std::string DeleteConfirmationText(const Project& project) {
    return "        Delete " + MenuLabel(project.selected) + " ?";
}

void DeleteSelectedMenu(Project& project) {
    if (!project.isRow(project.selected))
        return;
    project.menus.erase(project.menus.begin() + project.selected);
    if (project.menuCount() > 0 && project.selected >= project.menuCount())
        project.selected -= 1;
}

bool InsertMenu(Project& project, int32_t index, Menu menu) {
    if (project.menuCount() >= Project::kCapacity || index < 0 || index > project.menuCount())
        return false;
    project.menus.insert(project.menus.begin() + index, std::move(menu));
    return true;
}

bool MoveMenu(Project& project, int32_t index, int32_t x, int32_t y) {
    if (!project.isRow(index))
        return false;
    project.menus[static_cast<size_t>(index)].left = x;
    project.menus[static_cast<size_t>(index)].top = y;
    return true;
}

void ClearMenus(Project& project) {
    project.menus.clear();
}

const char* SwappedDefaultCaption(int32_t orientation, std::string_view caption) {
    // Measured once: the reader asks for every row it loads.
    static const std::string_view vertical(kVerticalDefaultCaption);
    static const std::string_view horizontal(kDefaultCaption);
    if (orientation == 0 && caption == vertical)
        return kDefaultCaption;
    if (orientation == 1 && caption == horizontal)
        return kVerticalDefaultCaption;
    return nullptr;
}

std::vector<int32_t> SwapDefaultCaptions(Project& project) {
    std::vector<int32_t> changed;
    for (int32_t i = 0; i < project.menuCount(); ++i) {
        Menu& menu = project.menus[static_cast<size_t>(i)];
        if (const char* caption = SwappedDefaultCaption(menu.orientation, menu.captionHtml)) {
            menu.captionHtml = caption;
            changed.push_back(i);
        }
    }
    return changed;
}

} // namespace qloom
