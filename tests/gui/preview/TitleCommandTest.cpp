#include "gui/preview/internal/TitleCommand.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

using namespace qloom;
using Kind = TitleCommand::Kind;
using Action = TitleAction::Kind;

namespace {

Project TableWithMenus(int count) {
    Project table;
    for (int i = 0; i < count; ++i)
        (void)AddMenu(table);
    table.selected = 0;
    return table;
}

} // namespace

TEST(ParseTitleCommand, IgnoresTitlesWithoutACommand) {
    EXPECT_EQ(ParseTitleCommand("My page").kind, Kind::Ignore);
    EXPECT_EQ(ParseTitleCommand("ySetSel(1)").kind, Kind::Ignore);           // no prefix
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:").kind, Kind::Ignore);           // bare prefix
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:hello(1)").kind, Kind::Ignore);   // no command word
    EXPECT_EQ(ParseTitleCommand("!qloomide:ySetSel(1)").kind, Kind::Ignore); // case-sensitive
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:ySetSel(1").kind, Kind::Ignore);  // no ")"
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:docMouseMove(1,2,3").kind, Kind::Ignore);
}

TEST(ParseTitleCommand, ReadsSelectionAndMoveFields) {
    TitleCommand sel = ParseTitleCommand("!qLoomIDE:ySetSel(12)");
    EXPECT_EQ(sel.kind, Kind::Select);
    EXPECT_EQ(sel.index, 12);

    TitleCommand move = ParseTitleCommand("!qLoomIDE:docMouseMove(1,-5,300)");
    EXPECT_EQ(move.kind, Kind::Move);
    EXPECT_EQ(move.index, 1);
    EXPECT_EQ(move.x, -5);
    EXPECT_EQ(move.y, 300);

    // Fields past the third are ignored.
    TitleCommand extra = ParseTitleCommand("!qLoomIDE:docMouseMove(2,3,4,zz)");
    EXPECT_EQ(extra.kind, Kind::Move);
    EXPECT_EQ(extra.y, 4);

    // A page cannot store absurd positions: both coordinates are clamped, the index is not.
    TitleCommand far = ParseTitleCommand("!qLoomIDE:docMouseMove(1,2147483647,-2147483648)");
    EXPECT_EQ(far.kind, Kind::Move);
    EXPECT_EQ(far.x, kPageCoordinateLimit);
    EXPECT_EQ(far.y, -kPageCoordinateLimit);
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:docMouseMove(1,10000,-10000)").x, 10000);
}

TEST(ParseTitleCommand, ReportsTheFirstFieldThatDoesNotConvert) {
    TitleCommand twoFields = ParseTitleCommand("!qLoomIDE:docMouseMove(1,20)");
    EXPECT_EQ(twoFields.kind, Kind::BadInteger);
    EXPECT_EQ(twoFields.text, "");

    TitleCommand badX = ParseTitleCommand("!qLoomIDE:docMouseMove(1,2x,y)");
    EXPECT_EQ(badX.kind, Kind::BadInteger);
    EXPECT_EQ(badX.text, "2x");

    TitleCommand badSel = ParseTitleCommand("!qLoomIDE:ySetSel(abc)");
    EXPECT_EQ(badSel.kind, Kind::BadInteger);
    EXPECT_EQ(badSel.text, "abc");

    TitleCommand overflow = ParseTitleCommand("!qLoomIDE:ySetSel(99999999999)");
    EXPECT_EQ(overflow.kind, Kind::BadInteger);
}

TEST(ParseTitleCommand, DecidesMixedTitlesByTheOrderOfTheTests) {
    // A selection wins over an error word, when it follows the prefix.
    EXPECT_EQ(ParseTitleCommand("!qLoomIDE:ERROR(ySetSel(1)@x@2)").kind, Kind::Select);
    // Before the prefix it is not a selection; docMouseMove is searched in the whole title.
    EXPECT_EQ(ParseTitleCommand("ySetSel(1) !qLoomIDE:ERROR(a@b@1)").kind, Kind::Error);
    EXPECT_EQ(ParseTitleCommand("docMouseMove(1,2,3) !qLoomIDE:").kind, Kind::Move);
    // The error keeps the whole title unchanged.
    const char* title = "!qLoomIDE:ERROR(x is not defined@file:///p/Qloomscript.js@12)";
    TitleCommand err = ParseTitleCommand(title);
    EXPECT_EQ(err.kind, Kind::Error);
    EXPECT_EQ(err.text, title);
}

TEST(ApplyTitleCommand, SelectsAndMovesExistingRowsOnly) {
    Project table = TableWithMenus(3);

    TitleAction sel = ApplyTitleCommand(table, "!qLoomIDE:ySetSel(2)");
    EXPECT_EQ(sel.kind, Action::ShowRow);
    EXPECT_EQ(sel.row, 2);
    EXPECT_EQ(table.selected, 2);

    TitleAction move = ApplyTitleCommand(table, "!qLoomIDE:docMouseMove(1,-5,300)");
    EXPECT_EQ(move.kind, Action::ShowRow);
    EXPECT_EQ(move.row, 1);
    EXPECT_EQ(table.selected, 1);
    EXPECT_EQ(table.menus[1].left, -5);
    EXPECT_EQ(table.menus[1].top, 300);

    const Project before = table;
    EXPECT_EQ(ApplyTitleCommand(table, "!qLoomIDE:ySetSel(3)").kind, Action::None);
    EXPECT_EQ(ApplyTitleCommand(table, "!qLoomIDE:ySetSel(-1)").kind, Action::None);
    EXPECT_EQ(ApplyTitleCommand(table, "!qLoomIDE:docMouseMove(7,1,1)").kind, Action::None);
    EXPECT_TRUE(table.sameMenus(before));
}

TEST(ApplyTitleCommand, ChangesNothingWhenAFieldDoesNotConvert) {
    Project table = TableWithMenus(2);
    const Project before = table;
    TitleAction bad = ApplyTitleCommand(table, "!qLoomIDE:docMouseMove(1,20)");
    EXPECT_EQ(bad.kind, Action::ReportError);
    EXPECT_EQ(bad.text, msg::Format(msg::kNotValidInteger, ""));
    EXPECT_TRUE(table.sameMenus(before));

    TitleAction badSel = ApplyTitleCommand(table, "!qLoomIDE:ySetSel(1a)");
    EXPECT_EQ(badSel.text, "'1a' is not a valid integer value");
    EXPECT_TRUE(table.sameMenus(before));
}

TEST(ApplyTitleCommand, PassesErrorsOnAndIgnoresThemOnAnEmptyTable) {
    Project empty;
    EXPECT_EQ(ApplyTitleCommand(empty, "!qLoomIDE:ySetSel(0)").kind, Action::None);
    TitleAction err = ApplyTitleCommand(empty, "!qLoomIDE:ERROR(boom@u@1)");
    EXPECT_EQ(err.kind, Action::AppendError);
    EXPECT_EQ(err.text, "!qLoomIDE:ERROR(boom@u@1)");
}
