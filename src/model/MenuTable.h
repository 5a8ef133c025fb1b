#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qloom {

// The active project's menus: one row per menu, twelve columns named after the script arrays
// that carry them. Every column is allocated once for the full capacity; rows 0..MenuCount-1 are
// in use, entries above are leftovers with no meaning.
class MenuTable {
public:
    static constexpr int32_t kCapacity = 10000;

    MenuTable();

    // Integer columns.
    std::vector<int32_t> MX, MY, MW, MTCH, MA, FL, OO;
    // Text columns (bytes in the locale's encoding, line breaks CR LF).
    std::vector<std::string> MTC, MTM, CO, CC, CM;

    int32_t MenuCount = 0;
    int32_t SelectedMenu = 0;

    bool isRow(int32_t index) const { return index >= 0 && index < MenuCount; }

    // Copies every column of row `from` into row `to`.
    void copyRow(int32_t from, int32_t to);
    // True when rows 0..MenuCount-1 and MenuCount/SelectedMenu are equal (leftovers ignored).
    bool sameContent(const MenuTable& other) const;
};

// The caption a vertical menu gets while its caption was never edited.
extern const char* const kVerticalDefaultCaption;
extern const char* const kDefaultCaption; // "Caption"
extern const char* const kDefaultBody;    // "Blank menu"

// "Menu " + (row + 1): the positional label of a row in the menu list.
std::string MenuLabel(int32_t row);

struct AddMenuResult {
    bool ok = false;
    int32_t row = -1;    // the new row, selected
    std::string message; // why nothing was added
};

// Appends a row placed beside the last row (or the first-menu defaults), selects it.
// Refuses, changing nothing, when the table is full.
AddMenuResult AddMenu(MenuTable& table);

// "        Delete Menu 3 ?" for the selected row.
std::string DeleteConfirmationText(const MenuTable& table);

// Removes the selected row, closing the gap, and applies the selection rule.
// Precondition: MenuCount > 0 (the caller shows "Nothing to delete, sorry..." otherwise).
void DeleteSelectedMenu(MenuTable& table);

// MX[index] = x, MY[index] = y; an index outside the rows in use is ignored (returns false).
bool MoveMenu(MenuTable& table, int32_t index, int32_t x, int32_t y);

// Empties the table for a new project (SelectedMenu is left alone).
void ClearTable(MenuTable& table);

} // namespace qloom
