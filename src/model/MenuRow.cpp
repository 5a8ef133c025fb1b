#include "model/MenuRow.h"

#include <utility>

namespace qloom {

namespace {

std::vector<int32_t>* numberColumn(MenuTable& t, MenuColumn c) {
    switch (c) {
    case MenuColumn::MX:
        return &t.MX;
    case MenuColumn::MY:
        return &t.MY;
    case MenuColumn::MW:
        return &t.MW;
    case MenuColumn::MTCH:
        return &t.MTCH;
    case MenuColumn::MA:
        return &t.MA;
    case MenuColumn::FL:
        return &t.FL;
    case MenuColumn::OO:
        return &t.OO;
    default:
        return nullptr;
    }
}

std::vector<std::string>* textColumn(MenuTable& t, MenuColumn c) {
    switch (c) {
    case MenuColumn::MTC:
        return &t.MTC;
    case MenuColumn::MTM:
        return &t.MTM;
    case MenuColumn::CO:
        return &t.CO;
    case MenuColumn::CC:
        return &t.CC;
    case MenuColumn::CM:
        return &t.CM;
    default:
        return nullptr;
    }
}

// Moves rather than copies: re-inserting near the top of a full table shifts every text of
// thousands of rows, and a move leaves no allocation behind.
void moveRow(MenuTable& t, int32_t from, int32_t to) {
    t.MX[to] = t.MX[from];
    t.MY[to] = t.MY[from];
    t.MW[to] = t.MW[from];
    t.MTCH[to] = t.MTCH[from];
    t.MA[to] = t.MA[from];
    t.FL[to] = t.FL[from];
    t.OO[to] = t.OO[from];
    t.MTC[to] = std::move(t.MTC[from]);
    t.MTM[to] = std::move(t.MTM[from]);
    t.CO[to] = std::move(t.CO[from]);
    t.CC[to] = std::move(t.CC[from]);
    t.CM[to] = std::move(t.CM[from]);
}

} // namespace

bool MenuRow::operator==(const MenuRow& o) const {
    return MX == o.MX && MY == o.MY && MW == o.MW && MTCH == o.MTCH && MA == o.MA && FL == o.FL &&
           OO == o.OO && MTC == o.MTC && MTM == o.MTM && CO == o.CO && CC == o.CC && CM == o.CM;
}

MenuRow ReadMenuRow(const MenuTable& t, int32_t row) {
    MenuRow r;
    r.MX = t.MX[row];
    r.MY = t.MY[row];
    r.MW = t.MW[row];
    r.MTCH = t.MTCH[row];
    r.MA = t.MA[row];
    r.FL = t.FL[row];
    r.OO = t.OO[row];
    r.MTC = t.MTC[row];
    r.MTM = t.MTM[row];
    r.CO = t.CO[row];
    r.CC = t.CC[row];
    r.CM = t.CM[row];
    return r;
}

bool InsertMenuRow(MenuTable& t, int32_t index, MenuRow r) {
    if (t.MenuCount < 0 || t.MenuCount >= MenuTable::kCapacity || index < 0 || index > t.MenuCount)
        return false;
    for (int32_t i = t.MenuCount; i > index; --i)
        moveRow(t, i - 1, i);
    t.MX[index] = r.MX;
    t.MY[index] = r.MY;
    t.MW[index] = r.MW;
    t.MTCH[index] = r.MTCH;
    t.MA[index] = r.MA;
    t.FL[index] = r.FL;
    t.OO[index] = r.OO;
    t.MTC[index] = std::move(r.MTC);
    t.MTM[index] = std::move(r.MTM);
    t.CO[index] = std::move(r.CO);
    t.CC[index] = std::move(r.CC);
    t.CM[index] = std::move(r.CM);
    t.MenuCount += 1;
    return true;
}

bool IsTextColumn(MenuColumn column) {
    switch (column) {
    case MenuColumn::MTC:
    case MenuColumn::MTM:
    case MenuColumn::CO:
    case MenuColumn::CC:
    case MenuColumn::CM:
        return true;
    default:
        return false;
    }
}

CellValue ReadCell(const MenuTable& table, int32_t row, MenuColumn column) {
    auto& t = const_cast<MenuTable&>(table); // the column look-ups only read here
    if (auto* numbers = numberColumn(t, column))
        return (*numbers)[row];
    return (*textColumn(t, column))[row];
}

bool WriteCell(MenuTable& table, int32_t row, MenuColumn column, const CellValue& value) {
    if (!table.isRow(row))
        return false;
    if (auto* numbers = numberColumn(table, column)) {
        const auto* n = std::get_if<int32_t>(&value);
        if (!n)
            return false;
        (*numbers)[row] = *n;
        return true;
    }
    const auto* text = std::get_if<std::string>(&value);
    if (!text)
        return false;
    (*textColumn(table, column))[row] = *text;
    return true;
}

} // namespace qloom
