#pragma once

#include "model/MenuTable.h"

#include <cstdint>
#include <string>
#include <variant>

namespace qloom {

// The twelve columns, for code that names one cell (an edit, a check's field).
enum class MenuColumn { MX, MY, MW, MTCH, MTC, MTM, CO, CC, CM, MA, FL, OO };

// An integer column's value or a text column's value.
using CellValue = std::variant<int32_t, std::string>;

// One row lifted out of the table, every column by value.
struct MenuRow {
    int32_t MX = 0, MY = 0, MW = 0, MTCH = 0, MA = 0, FL = 0, OO = 0;
    std::string MTC, MTM, CO, CC, CM;
    bool operator==(const MenuRow& other) const;
};

MenuRow ReadMenuRow(const MenuTable& table, int32_t row);

// Puts `content` back at `index` (0..MenuCount), moving that row and the later ones up by one:
// the reverse of deleting row `index`. Selection is left alone. Refuses, changing nothing, when
// the table is full or the index is outside 0..MenuCount.
bool InsertMenuRow(MenuTable& table, int32_t index, MenuRow content);

bool IsTextColumn(MenuColumn column);
// The cell's value; a row not in use gives the leftover entry.
CellValue ReadCell(const MenuTable& table, int32_t row, MenuColumn column);
// False, changing nothing, for a row not in use or a value of the wrong kind for the column.
bool WriteCell(MenuTable& table, int32_t row, MenuColumn column, const CellValue& value);

} // namespace qloom
