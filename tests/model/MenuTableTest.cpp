#include "model/MenuTable.h"
#include "model/Messages.h"
#include "model/ProjectSettings.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace qloom;

namespace {

// The table is large (ten thousand rows per column); one per test on the heap.
std::unique_ptr<MenuTable> tableWith(int menus) {
    auto table = std::make_unique<MenuTable>();
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(*table).ok);
    return table;
}

std::pair<int32_t, int32_t> positionOf(const MenuTable& t, int32_t row) {
    return {t.MX[row], t.MY[row]};
}

} // namespace

TEST(MenuTable, FirstMenuGetsTheNewProjectDefaults) {
    auto t = tableWith(1);
    EXPECT_EQ(t->MenuCount, 1);
    EXPECT_EQ(t->SelectedMenu, 0);
    EXPECT_EQ(positionOf(*t, 0), std::make_pair(10, 10));
    EXPECT_EQ(t->MW[0], 150);
    EXPECT_EQ(t->MTCH[0], 22);
    EXPECT_EQ(t->CO[0], "transparent");
    EXPECT_EQ(t->CC[0], "#000000");
    EXPECT_EQ(t->CM[0], "#008080");
    EXPECT_EQ(t->MA[0], 0);
    EXPECT_EQ(t->FL[0], 1);
    EXPECT_EQ(t->OO[0], 0);
    EXPECT_EQ(t->MTC[0], "Caption");
    EXPECT_EQ(t->MTM[0], "Blank menu");
}

TEST(MenuTable, MenusFillALineThenWrapBelow) {
    auto t = tableWith(7);
    const std::vector<std::pair<int32_t, int32_t>> expected = {
        {10, 10}, {162, 10}, {314, 10}, {466, 10}, {618, 10}, {10, 110}, {162, 110}};
    for (int32_t row = 0; row < 7; ++row)
        EXPECT_EQ(positionOf(*t, row), expected[row]) << "row " << row;
    EXPECT_EQ(t->SelectedMenu, 6);
}

TEST(MenuTable, WrapThresholdIsInclusiveOf800AndBottomWrapsAt450) {
    struct Case {
        int32_t prevX, prevY, prevW;
        int32_t newX, newY;
    };
    const Case cases[] = {
        {400, 10, 200, 10, 110}, // 802 > 800
        {398, 10, 200, 600, 10}, // exactly 800 stays on the line
        {700, 449, 150, 10, 549},   {700, 450, 150, 10, 0},
        {-300, -40, 10, -288, -40}, // negative positions keep their line
    };
    for (const auto& c : cases) {
        auto t = tableWith(1);
        t->MX[0] = c.prevX;
        t->MY[0] = c.prevY;
        t->MW[0] = c.prevW;
        ASSERT_TRUE(AddMenu(*t).ok);
        EXPECT_EQ(positionOf(*t, 1), std::make_pair(c.newX, c.newY))
            << "previous at " << c.prevX << "," << c.prevY << " width " << c.prevW;
    }
}

TEST(MenuTable, ExtremePositionsFromAHandEditedFileDoNotOverflow) {
    auto t = tableWith(1);
    t->MX[0] = std::numeric_limits<int32_t>::min();
    t->MW[0] = std::numeric_limits<int32_t>::min();
    ASSERT_TRUE(AddMenu(*t).ok);
    EXPECT_EQ(t->MX[1], std::numeric_limits<int32_t>::min());

    t->MX[1] = std::numeric_limits<int32_t>::max();
    t->MW[1] = std::numeric_limits<int32_t>::max();
    ASSERT_TRUE(AddMenu(*t).ok);
    EXPECT_EQ(t->MX[2], 10);
}

TEST(MenuTable, NewRowCopiesPropertiesOfTheLastRowNotTheSelectedOne) {
    auto t = tableWith(2);
    t->MW[1] = 120;
    t->MTCH[1] = 30;
    t->CO[1] = "#111111";
    t->CC[1] = "#222222";
    t->CM[1] = "transparent";
    t->MA[1] = 1;
    t->FL[1] = 0;
    t->OO[1] = 1;
    t->MTC[1] = "Edited caption";
    t->MTM[1] = "Edited body";
    t->SelectedMenu = 0; // another row selected: must not matter

    ASSERT_TRUE(AddMenu(*t).ok);
    EXPECT_EQ(t->MW[2], 120);
    EXPECT_EQ(t->MTCH[2], 30);
    EXPECT_EQ(t->CO[2], "#111111");
    EXPECT_EQ(t->CC[2], "#222222");
    EXPECT_EQ(t->CM[2], "transparent");
    EXPECT_EQ(t->MA[2], 1);
    EXPECT_EQ(t->FL[2], 0);
    EXPECT_EQ(t->OO[2], 1);
    // Texts are never copied: every new row starts with the default caption and body.
    EXPECT_EQ(t->MTC[2], "Caption");
    EXPECT_EQ(t->MTM[2], "Blank menu");
    EXPECT_EQ(positionOf(*t, 2), std::make_pair(284, 10));
    EXPECT_EQ(t->SelectedMenu, 2);
}

TEST(MenuTable, FullTableRefusesAndChangesNothing) {
    auto t = std::make_unique<MenuTable>();
    t->MenuCount = MenuTable::kCapacity - 1;
    t->MX[t->MenuCount - 1] = 10;
    t->MW[t->MenuCount - 1] = 150;
    ASSERT_TRUE(AddMenu(*t).ok);
    EXPECT_EQ(t->MenuCount, MenuTable::kCapacity);
    EXPECT_EQ(t->SelectedMenu, MenuTable::kCapacity - 1);

    t->SelectedMenu = 5;
    const AddMenuResult refused = AddMenu(*t);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, msg::kTableFull);
    EXPECT_EQ(t->MenuCount, MenuTable::kCapacity);
    EXPECT_EQ(t->SelectedMenu, 5);
    EXPECT_EQ(t->MX.size(), static_cast<size_t>(MenuTable::kCapacity));
}

TEST(MenuTable, LabelsAndConfirmationCountFromOne) {
    auto t = tableWith(3);
    EXPECT_EQ(MenuLabel(0), "Menu 1");
    EXPECT_EQ(MenuLabel(9999), "Menu 10000");
    EXPECT_EQ(DeleteConfirmationText(*t), "        Delete Menu 3 ?");
}

TEST(MenuTable, DeletingAMiddleRowShiftsLaterRowsAndKeepsTheIndex) {
    auto t = tableWith(3);
    t->MTC[2] = "third";
    t->MX[2] = 777;
    t->SelectedMenu = 1;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->MenuCount, 2);
    EXPECT_EQ(t->SelectedMenu, 1);
    EXPECT_EQ(t->MTC[1], "third");
    EXPECT_EQ(t->MX[1], 777);
}

TEST(MenuTable, DeletingTheLastRowSelectsTheNewLastRow) {
    auto t = tableWith(3);
    ASSERT_EQ(t->SelectedMenu, 2);
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->MenuCount, 2);
    EXPECT_EQ(t->SelectedMenu, 1);
}

TEST(MenuTable, DeletingTheOnlyRowEmptiesTheTableAndKeepsTheSelection) {
    auto t = tableWith(1);
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->MenuCount, 0);
    EXPECT_EQ(t->SelectedMenu, 0);
    // The next menu starts from the first-menu defaults again, not from leftovers.
    t->MX[0] = 500;
    ASSERT_TRUE(AddMenu(*t).ok);
    EXPECT_EQ(positionOf(*t, 0), std::make_pair(10, 10));
}

TEST(MenuTable, DeleteWithASelectionOutsideTheRowsChangesNothing) {
    auto t = tableWith(2);
    t->SelectedMenu = 7;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->MenuCount, 2);
    t->SelectedMenu = -1;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->MenuCount, 2);
}

TEST(MenuTable, MoveMenuSetsThePositionOfRowsInUseOnly) {
    auto t = tableWith(2);
    EXPECT_TRUE(MoveMenu(*t, 1, -5, 300));
    EXPECT_EQ(positionOf(*t, 1), std::make_pair(-5, 300));
    EXPECT_EQ(t->SelectedMenu, 1);

    auto before = std::make_unique<MenuTable>(*t);
    EXPECT_FALSE(MoveMenu(*t, 2, 1, 1));
    EXPECT_FALSE(MoveMenu(*t, -1, 1, 1));
    EXPECT_FALSE(MoveMenu(*t, MenuTable::kCapacity, 1, 1));
    EXPECT_TRUE(t->sameContent(*before));
    EXPECT_NE(t->MX[2], 1);
}

TEST(MenuTable, SameContentIgnoresLeftoverRows) {
    auto a = tableWith(2);
    auto b = tableWith(2);
    a->MTC[5] = "leftover";
    EXPECT_TRUE(a->sameContent(*b));
    b->MTM[1] = "changed";
    EXPECT_FALSE(a->sameContent(*b));
    ClearTable(*a);
    EXPECT_EQ(a->MenuCount, 0);
}

TEST(ProjectSettings, ResetKeepsTheFolderAndRestoresNewProjectValues) {
    ProjectSettings s;
    s.ProjectFolder = "/home/me/menus";
    s.scrIN = 3;
    s.cDefMenu = 0x123456;
    s.fDefCap = "Verdana";
    s.TemplateFileName = "index.html";
    s.resetToNewProject();
    EXPECT_EQ(s.ProjectFolder, "/home/me/menus");
    ProjectSettings expected;
    expected.ProjectFolder = "/home/me/menus";
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.scrIN, 20);
    EXPECT_EQ(s.scrOUT, 10);
    EXPECT_EQ(s.cDefCap, 0xFFFFFFu);
    EXPECT_EQ(s.fDefMenuS, 12);
    expected.fDefMenu = "Courier";
    EXPECT_NE(s, expected);
}
