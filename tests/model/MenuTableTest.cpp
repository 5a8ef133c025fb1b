#include "model/Messages.h"
#include "model/Project.h"
#include "model/ProjectSettings.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace qloom;

namespace {

std::unique_ptr<Project> tableWith(int menus) {
    auto table = std::make_unique<Project>();
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(*table).ok());
    return table;
}

std::pair<int32_t, int32_t> positionOf(const Project& t, int32_t row) {
    return {t.menus[row].left, t.menus[row].top};
}

} // namespace

TEST(Project, FirstMenuGetsTheNewProjectDefaults) {
    // Spelled out here rather than read from the column table, so a default changed there by
    // mistake is caught.
    auto t = tableWith(1);
    EXPECT_EQ(t->menuCount(), 1);
    EXPECT_EQ(t->selected, 0);
    EXPECT_EQ(positionOf(*t, 0), std::make_pair(10, 10));
    EXPECT_EQ(t->menus[0].width, 150);
    EXPECT_EQ(t->menus[0].captionHeight, 22);
    EXPECT_EQ(t->menus[0].bottomColor, "transparent");
    EXPECT_EQ(t->menus[0].captionColor, "#000000");
    EXPECT_EQ(t->menus[0].bodyColor, "#008080");
    EXPECT_EQ(t->menus[0].activation, 0);
    EXPECT_EQ(t->menus[0].floating, 1);
    EXPECT_EQ(t->menus[0].orientation, 0);
    EXPECT_EQ(t->menus[0].captionHtml, "Caption");
    EXPECT_EQ(t->menus[0].bodyHtml, "Blank menu");
}

TEST(Project, MenusFillALineThenWrapBelow) {
    auto t = tableWith(7);
    const std::vector<std::pair<int32_t, int32_t>> expected = {
        {10, 10}, {162, 10}, {314, 10}, {466, 10}, {618, 10}, {10, 110}, {162, 110}};
    for (int32_t row = 0; row < 7; ++row)
        EXPECT_EQ(positionOf(*t, row), expected[row]) << "row " << row;
    EXPECT_EQ(t->selected, 6);
}

TEST(Project, WrapThresholdIsInclusiveOf800AndBottomWrapsAt450) {
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
        t->menus[0].left = c.prevX;
        t->menus[0].top = c.prevY;
        t->menus[0].width = c.prevW;
        ASSERT_TRUE(AddMenu(*t).ok());
        EXPECT_EQ(positionOf(*t, 1), std::make_pair(c.newX, c.newY))
            << "previous at " << c.prevX << "," << c.prevY << " width " << c.prevW;
    }
}

TEST(Project, ExtremePositionsFromAHandEditedFileDoNotOverflow) {
    auto t = tableWith(1);
    t->menus[0].left = std::numeric_limits<int32_t>::min();
    t->menus[0].width = std::numeric_limits<int32_t>::min();
    ASSERT_TRUE(AddMenu(*t).ok());
    EXPECT_EQ(t->menus[1].left, std::numeric_limits<int32_t>::min());

    t->menus[1].left = std::numeric_limits<int32_t>::max();
    t->menus[1].width = std::numeric_limits<int32_t>::max();
    ASSERT_TRUE(AddMenu(*t).ok());
    EXPECT_EQ(t->menus[2].left, 10);
}

TEST(Project, NewRowCopiesPropertiesOfTheLastRowNotTheSelectedOne) {
    auto t = tableWith(2);
    t->menus[1].width = 120;
    t->menus[1].captionHeight = 30;
    t->menus[1].bottomColor = "#111111";
    t->menus[1].captionColor = "#222222";
    t->menus[1].bodyColor = "transparent";
    t->menus[1].activation = 1;
    t->menus[1].floating = 0;
    t->menus[1].orientation = 1;
    t->menus[1].captionHtml = "Edited caption";
    t->menus[1].bodyHtml = "Edited body";
    t->selected = 0; // another row selected: must not matter

    ASSERT_TRUE(AddMenu(*t).ok());
    EXPECT_EQ(t->menus[2].width, 120);
    EXPECT_EQ(t->menus[2].captionHeight, 30);
    EXPECT_EQ(t->menus[2].bottomColor, "#111111");
    EXPECT_EQ(t->menus[2].captionColor, "#222222");
    EXPECT_EQ(t->menus[2].bodyColor, "transparent");
    EXPECT_EQ(t->menus[2].activation, 1);
    EXPECT_EQ(t->menus[2].floating, 0);
    EXPECT_EQ(t->menus[2].orientation, 1);
    // Texts are never copied: every new row starts with the default caption and body.
    EXPECT_EQ(t->menus[2].captionHtml, "Caption");
    EXPECT_EQ(t->menus[2].bodyHtml, "Blank menu");
    EXPECT_EQ(positionOf(*t, 2), std::make_pair(284, 10));
    EXPECT_EQ(t->selected, 2);
}

TEST(Project, FullProjectRefusesAndChangesNothing) {
    auto t = tableWith(1);
    t->menus.resize(Project::kCapacity - 1, t->menus[0]);
    ASSERT_TRUE(AddMenu(*t).ok());
    EXPECT_EQ(t->menuCount(), Project::kCapacity);
    EXPECT_EQ(t->selected, Project::kCapacity - 1);

    t->selected = 5;
    const Expected<int32_t> refused = AddMenu(*t);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.status().message, msg::kTableFull);
    EXPECT_EQ(t->menuCount(), Project::kCapacity);
    EXPECT_EQ(t->selected, 5);
    const Menu again = t->menus[3];
    EXPECT_FALSE(InsertMenu(*t, 3, again));
    EXPECT_EQ(t->menuCount(), Project::kCapacity);
}

TEST(Project, LabelsAndConfirmationCountFromOne) {
    auto t = tableWith(3);
    EXPECT_EQ(MenuLabel(0), "Menu 1");
    EXPECT_EQ(MenuLabel(9999), "Menu 10000");
    EXPECT_EQ(DeleteConfirmationText(*t), "        Delete Menu 3 ?");
}

TEST(Project, DeletingAMiddleRowShiftsLaterRowsAndKeepsTheIndex) {
    auto t = tableWith(3);
    t->menus[2].captionHtml = "third";
    t->menus[2].left = 777;
    t->selected = 1;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->menuCount(), 2);
    EXPECT_EQ(t->selected, 1);
    EXPECT_EQ(t->menus[1].captionHtml, "third");
    EXPECT_EQ(t->menus[1].left, 777);
}

TEST(Project, DeletingTheLastRowSelectsTheNewLastRow) {
    auto t = tableWith(3);
    ASSERT_EQ(t->selected, 2);
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->menuCount(), 2);
    EXPECT_EQ(t->selected, 1);
}

TEST(Project, DeletingTheOnlyRowEmptiesTheTableAndKeepsTheSelection) {
    auto t = tableWith(1);
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->menuCount(), 0);
    EXPECT_EQ(t->selected, 0);
    // The next menu starts from the first-menu defaults again.
    ASSERT_TRUE(AddMenu(*t).ok());
    EXPECT_EQ(positionOf(*t, 0), std::make_pair(10, 10));
}

TEST(Project, DeleteWithASelectionOutsideTheRowsChangesNothing) {
    auto t = tableWith(2);
    t->selected = 7;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->menuCount(), 2);
    t->selected = -1;
    DeleteSelectedMenu(*t);
    EXPECT_EQ(t->menuCount(), 2);
}

TEST(Project, MoveMenuSetsThePositionOfRowsInUseOnly) {
    auto t = tableWith(2);
    EXPECT_TRUE(MoveMenu(*t, 1, -5, 300));
    EXPECT_EQ(positionOf(*t, 1), std::make_pair(-5, 300));
    EXPECT_EQ(t->selected, 1);

    auto before = std::make_unique<Project>(*t);
    EXPECT_FALSE(MoveMenu(*t, 2, 1, 1));
    EXPECT_FALSE(MoveMenu(*t, -1, 1, 1));
    EXPECT_FALSE(MoveMenu(*t, Project::kCapacity, 1, 1));
    EXPECT_TRUE(t->sameMenus(*before));
}

TEST(Project, SameMenusComparesEveryMenuAndTheSelection) {
    auto a = tableWith(2);
    auto b = tableWith(2);
    EXPECT_TRUE(a->sameMenus(*b));
    b->menus[1].bodyHtml = "changed";
    EXPECT_FALSE(a->sameMenus(*b));
    b->menus[1].bodyHtml = a->menus[1].bodyHtml;
    b->selected = 0;
    EXPECT_FALSE(a->sameMenus(*b));
    ClearMenus(*a);
    EXPECT_EQ(a->menuCount(), 0);
}

TEST(ProjectSettings, ResetKeepsTheFolderAndRestoresNewProjectValues) {
    ProjectSettings s;
    s.projectFolder = "/home/me/menus";
    s.closeStep = 3;
    s.bodyTextColor = 0x123456;
    s.captionFont = "Verdana";
    s.templateFileName = "index.html";
    s.resetToNewProject();
    EXPECT_EQ(s.projectFolder, "/home/me/menus");
    ProjectSettings expected;
    expected.projectFolder = "/home/me/menus";
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.closeStep, 20);
    EXPECT_EQ(s.openStep, 10);
    EXPECT_EQ(s.captionTextColor, 0xFFFFFFu);
    EXPECT_EQ(s.bodyFontSize, 12);
    expected.bodyFont = "Courier";
    EXPECT_NE(s, expected);
}
