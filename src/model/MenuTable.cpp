#include "model/MenuTable.h"

#include "model/Messages.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qloom {

const char* const kVerticalDefaultCaption = "<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>";
const char* const kDefaultCaption = "Caption";
const char* const kDefaultBody = "Blank menu";

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

MenuTable::MenuTable()
    : MX(kCapacity), MY(kCapacity), MW(kCapacity), MTCH(kCapacity), MA(kCapacity), FL(kCapacity),
      OO(kCapacity), MTC(kCapacity), MTM(kCapacity), CO(kCapacity), CC(kCapacity), CM(kCapacity) {}

void MenuTable::copyRow(int32_t from, int32_t to) {
    MX[to] = MX[from];
    MY[to] = MY[from];
    MW[to] = MW[from];
    MTCH[to] = MTCH[from];
    MA[to] = MA[from];
    FL[to] = FL[from];
    OO[to] = OO[from];
    MTC[to] = MTC[from];
    MTM[to] = MTM[from];
    CO[to] = CO[from];
    CC[to] = CC[from];
    CM[to] = CM[from];
}

bool MenuTable::sameContent(const MenuTable& other) const {
    if (MenuCount != other.MenuCount || SelectedMenu != other.SelectedMenu)
        return false;
    const int32_t rows = std::clamp(MenuCount, 0, kCapacity);
    for (int32_t i = 0; i < rows; ++i) {
        if (MX[i] != other.MX[i] || MY[i] != other.MY[i] || MW[i] != other.MW[i] ||
            MTCH[i] != other.MTCH[i] || MA[i] != other.MA[i] || FL[i] != other.FL[i] ||
            OO[i] != other.OO[i] || MTC[i] != other.MTC[i] || MTM[i] != other.MTM[i] ||
            CO[i] != other.CO[i] || CC[i] != other.CC[i] || CM[i] != other.CM[i])
            return false;
    }
    return true;
}

std::string MenuLabel(int32_t row) {
    return "Menu " + std::to_string(static_cast<int64_t>(row) + 1);
}

AddMenuResult AddMenu(MenuTable& table) {
    AddMenuResult result;
    const int32_t n = table.MenuCount;
    if (n >= MenuTable::kCapacity || n < 0) {
        result.message = std::string(msg::kTableFull);
        return result;
    }
    table.MenuCount = n + 1;
    table.MTC[n] = kDefaultCaption;
    table.MTM[n] = kDefaultBody;
    if (n == 0) {
        table.MX[0] = 10;
        table.MY[0] = 10;
        table.MW[0] = 150;
        table.MTCH[0] = 22;
        table.CO[0] = "transparent";
        table.CC[0] = "#000000";
        table.CM[0] = "#008080";
        table.MA[0] = 0;
        table.FL[0] = 1;
        table.OO[0] = 0;
    } else {
        // Beside the last row of the table, not the selected one: menus are laid out in the
        // order they were added.
        const int64_t prevX = table.MX[n - 1];
        const int32_t prevY = table.MY[n - 1];
        const int64_t prevW = table.MW[n - 1];
        if (prevX + 2 * prevW + kGap > kWrapWidth) {
            table.MX[n] = 10;
            table.MY[n] = prevY >= kWrapBottom ? 0 : prevY + kRowHeight;
        } else {
            table.MX[n] = saturate(prevX + prevW + kGap);
            table.MY[n] = prevY;
        }
        table.MW[n] = table.MW[n - 1];
        table.MTCH[n] = table.MTCH[n - 1];
        table.CO[n] = table.CO[n - 1];
        table.CC[n] = table.CC[n - 1];
        table.CM[n] = table.CM[n - 1];
        table.MA[n] = table.MA[n - 1];
        table.FL[n] = table.FL[n - 1];
        table.OO[n] = table.OO[n - 1];
    }
    table.SelectedMenu = n;
    result.ok = true;
    result.row = n;
    return result;
}

std::string DeleteConfirmationText(const MenuTable& table) {
    return "        Delete " + MenuLabel(table.SelectedMenu) + " ?";
}

void DeleteSelectedMenu(MenuTable& table) {
    // A selection outside the rows in use would shift rows that do not exist.
    if (!table.isRow(table.SelectedMenu))
        return;
    for (int32_t i = table.SelectedMenu; i <= table.MenuCount - 2; ++i)
        table.copyRow(i + 1, i);
    table.MenuCount -= 1;
    if (table.MenuCount > 0 && table.SelectedMenu >= table.MenuCount)
        table.SelectedMenu -= 1;
}

bool MoveMenu(MenuTable& table, int32_t index, int32_t x, int32_t y) {
    if (!table.isRow(index))
        return false;
    table.MX[index] = x;
    table.MY[index] = y;
    return true;
}

void ClearTable(MenuTable& table) {
    table.MenuCount = 0;
}

} // namespace qloom
