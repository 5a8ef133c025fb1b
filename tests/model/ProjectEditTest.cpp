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
        EXPECT_TRUE(AddMenu(*p).ok());
    return p;
}

// One random edit that the project can take as it stands.
ProjectEdit randomEdit(const Project& p, std::mt19937& random) {
    const int32_t count = p.menuCount();
    const int kind = count == 0 ? 0 : static_cast<int>(random() % 6);
    const int32_t row = count == 0 ? 0 : static_cast<int32_t>(random() % count);
    switch (kind) {
    case 0:
        return ProjectEdit::addMenu(p);
    case 1: {
        const MenuColumn& column = kMenuColumns[random() % kMenuColumnCount];
        if (!column.isNumber())
            return ProjectEdit::setCell(p, row, column.text, "t" + std::to_string(random() % 1000));
        return ProjectEdit::setCell(p, row, column.number, static_cast<int32_t>(random() % 900));
    }
    case 2:
        return ProjectEdit::move(p, row, static_cast<int32_t>(random() % 800) - 100,
                                 static_cast<int32_t>(random() % 600) - 100);
    case 3:
        return ProjectEdit::deleteSelected(p);
    case 4: {
        ProjectSettings s = p.settings;
        s.closeStep = static_cast<int32_t>(random() % 999) + 1;
        s.bodyFont = "Font" + std::to_string(random() % 10);
        s.captionTextColor = random() & 0xFFFFFF;
        return ProjectEdit::replaceSettings(p, s);
    }
    default:
        return ProjectEdit::setCell(p, row, &Menu::bodyHtml,
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
            if (p->menuCount() > 0)
                p->selected = static_cast<int32_t>(random() % p->menuCount());
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
        EXPECT_TRUE(p->sameMenus(*start)) << "seed " << seed;
        EXPECT_EQ(p->settings, start->settings);
        for (const auto& e : done)
            ASSERT_TRUE(e.apply(*p));
        EXPECT_TRUE(p->sameMenus(*end)) << "seed " << seed;
        EXPECT_EQ(p->settings, end->settings);
    }
}

TEST(ProjectEdit, DeleteUndoPutsTheRowBackAndSelectsIt) {
    auto p = projectWith(3);
    p->menus[1].captionHtml = "Second";
    p->selected = 1;
    const auto del = ProjectEdit::deleteSelected(*p);
    ASSERT_TRUE(del.apply(*p));
    EXPECT_EQ(p->menuCount(), 2);
    EXPECT_EQ(p->menus[1].captionHtml, "Caption");
    p->selected = 0;
    del.revert(*p);
    EXPECT_EQ(p->menuCount(), 3);
    EXPECT_EQ(p->menus[1].captionHtml, "Second");
    EXPECT_EQ(p->selected, 1);

    // The last row: the selection moves back one, and undo returns it.
    p->selected = 2;
    const auto last = ProjectEdit::deleteSelected(*p);
    EXPECT_EQ(last.selectionAfter(), 1);
    ASSERT_TRUE(last.apply(*p));
    EXPECT_EQ(p->selected, 1);
    last.revert(*p);
    EXPECT_EQ(p->selected, 2);

    auto empty = projectWith(0);
    EXPECT_FALSE(ProjectEdit::deleteSelected(*empty).apply(*empty));
}

TEST(ProjectEdit, TypingMergesIntoOneStepPerField) {
    auto p = projectWith(2);
    const auto start = std::make_unique<Project>(*p);
    auto typed = ProjectEdit::setCell(*p, 1, &Menu::captionHtml, std::string("H"));
    ASSERT_TRUE(typed.apply(*p));
    for (std::string text : {"Ho", "Hom", "Home"}) {
        auto next = ProjectEdit::setCell(*p, 1, &Menu::captionHtml, text);
        ASSERT_TRUE(next.apply(*p));
        EXPECT_TRUE(typed.mergeWith(next));
    }
    // Another field, another row or another kind is a new step.
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::setCell(*p, 1, &Menu::bodyHtml, std::string())));
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::setCell(*p, 0, &Menu::captionHtml, std::string())));
    EXPECT_FALSE(typed.mergeWith(ProjectEdit::move(*p, 1, 0, 0)));
    EXPECT_EQ(p->menus[1].captionHtml, "Home");
    typed.revert(*p);
    EXPECT_TRUE(p->sameMenus(*start));

    // Typing back to where it started leaves a step that changes nothing.
    auto back = ProjectEdit::setCell(*p, 1, &Menu::width, 200);
    ASSERT_TRUE(back.apply(*p));
    auto again = ProjectEdit::setCell(*p, 1, &Menu::width, 150);
    ASSERT_TRUE(again.apply(*p));
    ASSERT_TRUE(back.mergeWith(again));
    EXPECT_TRUE(back.changesNothing());
    EXPECT_EQ(&back.column(), &ColumnOf(&Menu::width));
    // A row no longer in use is refused.
    EXPECT_FALSE(ProjectEdit::setCell(*p, 2, &Menu::captionColor, "#FFFFFF").apply(*p));
}

// Every column of the table, set and undone through an edit, reaches exactly its own field: a
// column whose member pointer names the wrong field, or a field missing from the table, shows
// here as a field that did not change or one that changed behind the edit's back.
TEST(ProjectEdit, EveryColumnEditsItsOwnFieldOnly) {
    ASSERT_EQ(kMenuColumns.size(), 12u);
    for (const MenuColumn& column : kMenuColumns) {
        auto p = projectWith(1);
        const Menu before = p->menus[0];
        const ProjectEdit edit =
            column.isNumber() ? ProjectEdit::setCell(*p, 0, column.number, 4321)
                              : ProjectEdit::setCell(*p, 0, column.text, std::string("#ABCDEF"));
        ASSERT_TRUE(edit.apply(*p)) << column.fileName;
        int changed = 0;
        const Menu& after = p->menus[0];
        changed += after.captionHtml != before.captionHtml;
        changed += after.captionHeight != before.captionHeight;
        changed += after.bodyHtml != before.bodyHtml;
        changed += after.left != before.left;
        changed += after.top != before.top;
        changed += after.width != before.width;
        changed += after.bottomColor != before.bottomColor;
        changed += after.captionColor != before.captionColor;
        changed += after.bodyColor != before.bodyColor;
        changed += after.activation != before.activation;
        changed += after.floating != before.floating;
        changed += after.orientation != before.orientation;
        EXPECT_EQ(changed, 1) << column.fileName;
        edit.revert(*p);
        EXPECT_EQ(p->menus[0], before) << column.fileName;
    }
}

TEST(ProjectEdit, AddMenuOnAFullTableChangesNothing) {
    auto p = projectWith(Project::kCapacity);
    const auto add = ProjectEdit::addMenu(*p);
    EXPECT_FALSE(add.apply(*p));
    EXPECT_EQ(p->menuCount(), Project::kCapacity);
    // Re-inserting a deleted row into a full project is refused the same way.
    EXPECT_FALSE(InsertMenu(*p, 0, p->menus[5]));
}
