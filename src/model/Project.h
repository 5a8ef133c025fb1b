#pragma once

#include "model/Menu.h"
#include "model/ProjectSettings.h"
#include "model/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// Everything about the active project: its menus in script order (row i becomes the page's
// "owner"+i), the row the property editor shows, and the project-wide settings.
struct Project {
    // The most menus a project holds; Add Menu refuses beyond it, and the reader refuses a file
    // that claims more.
    static constexpr int32_t kCapacity = 10000;

    std::vector<Menu> menus;
    // The row the property editor shows; a valid row whenever there are menus. It keeps its
    // value when the last menu is deleted and when a project without menus is opened.
    int32_t selected = 0;
    ProjectSettings settings;

    int32_t menuCount() const { return static_cast<int32_t>(menus.size()); }
    bool isRow(int32_t index) const { return index >= 0 && index < menuCount(); }
    // True when the menus and the selection are equal (the settings are not compared).
    bool sameMenus(const Project& other) const;
};

// "Menu " + (row + 1): the positional label of a row in the menu list.
std::string MenuLabel(int32_t row);

// Appends a menu placed beside the last one (or a first menu), selects it and gives its row.
// Refuses, changing nothing, when the project already holds kCapacity menus.
Expected<int32_t> AddMenu(Project& project);

// "        Delete Menu 3 ?" for the selected row.
std::string DeleteConfirmationText(const Project& project);

// Removes the selected menu and applies the selection rule: the selection stays at the same
// index, or moves to the new last row when the last row was deleted. A selection that is not a
// row changes nothing.
void DeleteSelectedMenu(Project& project);

// Puts `menu` back at `index` (0..menuCount()), moving that row and the later ones up by one:
// the reverse of deleting row `index`. The selection is left alone. Refuses, changing nothing,
// when the project is full or the index is outside 0..menuCount().
bool InsertMenu(Project& project, int32_t index, Menu menu);

// left/top of the menu at `index`; an index outside the rows is ignored (returns false).
bool MoveMenu(Project& project, int32_t index, int32_t x, int32_t y);

// Removes every menu for a new project (the selection is left alone).
void ClearMenus(Project& project);

// The caption composing would give a row of this orientation in place of `caption`: "Caption"
// for a horizontal row that shows the vertical default caption and the other way round;
// nullptr when the caption stays.
const char* SwappedDefaultCaption(int32_t orientation, std::string_view caption);

// Swaps "Caption" and the vertical default caption where the orientation asks, as every save
// does right before it composes the script. Returns the rows it changed, in order.
std::vector<int32_t> SwapDefaultCaptions(Project& project);

} // namespace qloom
