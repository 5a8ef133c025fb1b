#include "model/ProjectEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace qloom;

namespace {

std::unique_ptr<Project> projectWith(int menus) {
    auto p = std::make_unique<Project>();
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(p->table).ok);
    return p;
}

// One random edit that the project can take as it stands.
ProjectEdit randomEdit(const Project& p, std::mt19937& random) {
    const int32_t count = p.table.MenuCount;
    const int kind = count == 0 ? 0 : static_cast<int>(random() % 6);
    const int32_t row = count == 0 ? 0 : static_cast<int32_t>(random() % count);
    switch (kind) {
    case 0:
        return ProjectEdit::addMenu(p);
    case 1: {
        const auto column = static_cast<MenuColumn>(random() % 12);
        if (IsTextColumn(column))
            return ProjectEdit::setCell(p, row, column, "t" + std::to_string(random() % 1000));
        return ProjectEdit::setCell(p, row, column, static_cast<int32_t>(random() % 900));
    }
    case 2:
        return ProjectEdit::move(p, row, static_cast<int32_t>(random() % 800) - 100,
                                 static_cast<int32_t>(random() % 600) - 100);
    case 3:
        return ProjectEdit::deleteSelected(p);
    case 4: {
        ProjectSettings s = p.settings;
        s.scrIN = static_cast<int32_t>(random() % 999) + 1;
        s.fDefMenu = "Font" + std::to_string(random() % 10);
        s.cDefCap = random() & 0xFFFFFF;
        return ProjectEdit::replaceSettings(p, s);
    }
    default:
        return ProjectEdit::setCell(p, row, MenuColumn::MTM,
                                    std::string(random() % 40, 'x') + "\r\n<BR>");
    }
}

} // namespace

TEST(ProjectEdit, RandomSequencesUndoToTheStartAndRedoToTheEnd) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        auto p = projectWith(static_cast<int>(seed % 4));
        std::unique_ptr<Project> start;
        std::vector<ProjectEdit> done;
        for (int step = 0; step < 400; ++step) {
            // The user clicks around between edits; undo brings back the selection each edit
            // found, so the start is the project as the first edit found it.
            if (p->table.MenuCount > 0)
                p->table.SelectedMenu = static_cast<int32_t>(random() % p->table.MenuCount);
            if (!start)
                start = std::make_unique<Project>(*p);
            ProjectEdit e = randomEdit(*p, random);
            if (e.apply(*p))
                done.push_back(std::move(e));
        }
        ASSERT_GT(done.size(), 300u);
        const auto end = std::make_unique<Project>(*p);
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            it->revert(*p);
        EXPECT_TRUE(p->table.sameContent(start->table)) << "seed " << seed;
        EXPECT_EQ(p->settings, start->settings);
        for (const auto& e : done)
            ASSERT_TRUE(e.apply(*p));
        EXPECT_TRUE(p->table.sameContent(end->table)) << "seed " << seed;
        EXPECT_EQ(p->settings, end->settings);
    }
}

TEST(ProjectEdit, DeleteUndoPutsTheRowBackAndSelectsIt) {
    auto p = projectWith(3);
    p->table.MTC[1] = "Second";
    p->table.SelectedMenu = 1;
    const auto del = ProjectEdit::deleteSelected(*p);
    ASSERT_TRUE(del.apply(*p));
    EXPECT_EQ(p->table.MenuCount, 2);
    EXPECT_EQ(p->table.MTC[1], "Caption");
    p->table.SelectedMenu = 0;
    del.revert(*p);
    EXPECT_EQ(p->table.MenuCount, 3);
    EXPECT_EQ(p->table.MTC[1], "Second");
    EXPECT_EQ(p->table.SelectedMenu, 1);

    // The last row: the selection moves back one, and undo returns it.
    p->table.SelectedMenu = 2;
    const auto last = ProjectEdit::deleteSelected(*p);
    EXPECT_EQ(last.selectionAfter(), 1);
    ASSERT_TRUE(last.apply(*p));
    EXPECT_EQ(p->table.SelectedMenu, 1);
    last.revert(*p);
    EXPECT_EQ(p->table.SelectedMenu, 2);

    auto empty = projectWith(0);
    EXPECT_FALSE(ProjectEdit::deleteSelected(*empty).apply(*empty));
}

TEST(ProjectEdit, TypingMergesIntoOneStepPerField) {
    auto p = projectWith(2);
    const auto start = std::make_unique<Project>(*p);
    auto typed = ProjectEdit::setCell(*p, 1, MenuColumn::MTC, std::string("H"));
    ASSERT_TRUE(typed.apply(*p));
    for (std::string text : {"Ho", "Hom", "Home"}) {
        auto next = ProjectEdit::setCell(*p, 1, MenuColumn::MTC, text);
        ASSERT_TRUE(next.apply(*p));
        EXPECT_TRUE(typed.mergeWith(next));
    }
    // Another field, another row or another kind is a new step.
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::setCell(*p, 1, MenuColumn::MTM, std::string())));
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::setCell(*p, 0, MenuColumn::MTC, std::string())));
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::move(*p, 1, 0, 0)));
    EXPECT_EQ(p->table.MTC[1], "Home");
    typed.revert(*p);
    EXPECT_TRUE(p->table.sameContent(start->table));

    // Typing back to where it started leaves a step that changes nothing.
    auto back = ProjectEdit::setCell(*p, 1, MenuColumn::MW, 200);
    ASSERT_TRUE(back.apply(*p));
    auto again = ProjectEdit::setCell(*p, 1, MenuColumn::MW, 150);
    ASSERT_TRUE(again.apply(*p));
    ASSERT_TRUE(back.mergeWith(again));
    EXPECT_TRUE(back.changesNothing());
    // A number where a text belongs is refused.
    EXPECT_FALSE(ProjectEdit::setCell(*p, 1, MenuColumn::CC, 5).apply(*p));
}

TEST(ProjectEdit, AddMenuOnAFullTableChangesNothing) {
    auto p = projectWith(MenuTable::kCapacity);
    const auto add = ProjectEdit::addMenu(*p);
    EXPECT_FALSE(add.apply(*p));
    EXPECT_EQ(p->table.MenuCount, MenuTable::kCapacity);
    // Re-inserting a deleted row into a full table is refused the same way.
    EXPECT_FALSE(InsertMenuRow(p->table, 0, ReadMenuRow(p->table, 5)));
}
