#pragma once

#include "model/Menu.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

// How a column is stored in the script and in the command-line JSON.
enum class ColumnKind {
    Integer, // decimal number
    Html,    // text escaped into a double-quoted JavaScript string
    Colour,  // colour text ("transparent" or "#RRGGBB"), written between quotes unescaped
};

// One property of a menu, described once for everything that reads or writes it: the writer
// and reader of the script, the command-line JSON, the undo edits and the property editor.
struct MenuColumn {
    std::string_view fileName; // the script array ("MX"), also the JSON key
    ColumnKind kind;
    int32_t Menu::*number;        // Integer columns
    std::string Menu::*text;      // Html and Colour columns
    int32_t defaultNumber;        // a first menu's value
    std::string_view defaultText; // a first menu's value
    // The writer keeps a vertical menu's text on one line inside "<nObR>" ... "</nObR>", and
    // the reader removes that wrapper again.
    bool noBreakWhenVertical;

    bool isNumber() const { return kind == ColumnKind::Integer; }
};

inline constexpr size_t kMenuColumnCount = 12;

// Every column, in the order of the script's array lines.
extern const std::array<MenuColumn, kMenuColumnCount> kMenuColumns;

// The column of a field; the field must be one of the table's.
const MenuColumn& ColumnOf(int32_t Menu::*field);
const MenuColumn& ColumnOf(std::string Menu::*field);
// Position of the column in kMenuColumns.
size_t ColumnIndex(const MenuColumn& column);

// A first menu: every column at its default.
Menu NewMenu();

// The value of a column as text, for messages and tests ("150", "#000000").
std::string ColumnValueText(const Menu& menu, const MenuColumn& column);
// True when the two menus agree in this column.
bool SameInColumn(const Menu& a, const Menu& b, const MenuColumn& column);
// Copies this column from `from` into `to`.
void CopyColumn(const Menu& from, Menu& to, const MenuColumn& column);

} // namespace qloom
