#include "model/MenuColumns.h"

#include <cstdlib>

namespace qloom {

namespace {

constexpr MenuColumn integer(std::string_view name, int32_t Menu::*field, int32_t value) {
    return {name, ColumnKind::Integer, field, nullptr, value, {}, false};
}
constexpr MenuColumn html(std::string_view name, std::string Menu::*field, std::string_view value,
                          bool noBreakWhenVertical = false) {
    return {name, ColumnKind::Html, nullptr, field, 0, value, noBreakWhenVertical};
}
constexpr MenuColumn colour(std::string_view name, std::string Menu::*field,
                            std::string_view value) {
    return {name, ColumnKind::Colour, nullptr, field, 0, value, false};
}

} // namespace

// A new property of a menu: a field in Menu, one line here, and its control in the editor.
const std::array<MenuColumn, kMenuColumnCount> kMenuColumns = {{
    html("MTC", &Menu::captionHtml, kDefaultCaption),
    integer("MTCH", &Menu::captionHeight, 22),
    html("MTM", &Menu::bodyHtml, kDefaultBody, true),
    integer("MX", &Menu::left, 10),
    integer("MY", &Menu::top, 10),
    integer("MW", &Menu::width, 150),
    colour("CO", &Menu::bottomColor, "transparent"),
    colour("CC", &Menu::captionColor, "#000000"),
    colour("CM", &Menu::bodyColor, "#008080"),
    integer("MA", &Menu::activation, 0),
    integer("FL", &Menu::floating, 1),
    integer("OO", &Menu::orientation, 0),
}};

const MenuColumn& ColumnOf(int32_t Menu::*field) {
    for (const MenuColumn& column : kMenuColumns)
        if (column.number == field)
            return column;
    std::abort(); // every integer field of Menu is in the table
}

const MenuColumn& ColumnOf(std::string Menu::*field) {
    for (const MenuColumn& column : kMenuColumns)
        if (column.text == field)
            return column;
    std::abort(); // every text field of Menu is in the table
}

size_t ColumnIndex(const MenuColumn& column) {
    return static_cast<size_t>(&column - kMenuColumns.data());
}

Menu NewMenu() {
    Menu menu;
    for (const MenuColumn& column : kMenuColumns) {
        if (column.isNumber())
            menu.*column.number = column.defaultNumber;
        else
            menu.*column.text = std::string(column.defaultText);
    }
    return menu;
}

std::string ColumnValueText(const Menu& menu, const MenuColumn& column) {
    return column.isNumber() ? std::to_string(menu.*column.number) : menu.*column.text;
}

bool SameInColumn(const Menu& a, const Menu& b, const MenuColumn& column) {
    return column.isNumber() ? a.*column.number == b.*column.number
                             : a.*column.text == b.*column.text;
}

void CopyColumn(const Menu& from, Menu& to, const MenuColumn& column) {
    if (column.isNumber())
        to.*column.number = from.*column.number;
    else
        to.*column.text = from.*column.text;
}

bool Menu::operator==(const Menu& other) const {
    for (const MenuColumn& column : kMenuColumns)
        if (!SameInColumn(*this, other, column))
            return false;
    return true;
}

} // namespace qloom
