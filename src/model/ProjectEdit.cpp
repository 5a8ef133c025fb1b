#include "model/ProjectEdit.h"

#include <utility>

namespace qloom {

ProjectEdit::ProjectEdit(Kind kind, const Project& project)
    : kind_(kind), selectedBefore_(project.table.SelectedMenu),
      selectedAfter_(project.table.SelectedMenu) {}

ProjectEdit ProjectEdit::setCell(const Project& project, int32_t row, MenuColumn column,
                                 CellValue value) {
    ProjectEdit e(Kind::SetCell, project);
    e.row_ = row;
    e.column_ = column;
    if (project.table.isRow(row))
        e.before_ = ReadCell(project.table, row, column);
    e.after_ = std::move(value);
    e.selectedAfter_ = row;
    return e;
}

ProjectEdit ProjectEdit::move(const Project& project, int32_t row, int32_t x, int32_t y) {
    ProjectEdit e(Kind::Move, project);
    e.row_ = row;
    if (project.table.isRow(row)) {
        e.fromX_ = project.table.MX[row];
        e.fromY_ = project.table.MY[row];
    }
    e.toX_ = x;
    e.toY_ = y;
    e.selectedAfter_ = row;
    return e;
}

ProjectEdit ProjectEdit::addMenu(const Project& project) {
    ProjectEdit e(Kind::AddMenu, project);
    e.row_ = project.table.MenuCount;
    e.selectedAfter_ = e.row_;
    return e;
}

ProjectEdit ProjectEdit::deleteSelected(const Project& project) {
    ProjectEdit e(Kind::DeleteMenu, project);
    const MenuTable& t = project.table;
    e.row_ = t.SelectedMenu;
    if (t.isRow(e.row_)) {
        e.removed_ = ReadMenuRow(t, e.row_);
        const int32_t left = t.MenuCount - 1;
        e.selectedAfter_ = (left > 0 && e.row_ >= left) ? e.row_ - 1 : e.row_;
    }
    return e;
}

ProjectEdit ProjectEdit::replaceSettings(const Project& project, ProjectSettings settings) {
    ProjectEdit e(Kind::ReplaceSettings, project);
    e.settingsBefore_ = project.settings;
    e.settingsAfter_ = std::move(settings);
    return e;
}

bool ProjectEdit::apply(Project& project) const {
    MenuTable& t = project.table;
    switch (kind_) {
    case Kind::SetCell:
        if (!t.isRow(row_) || before_.index() != after_.index() ||
            !WriteCell(t, row_, column_, after_))
            return false;
        break;
    case Kind::Move:
        if (!MoveMenu(t, row_, toX_, toY_))
            return false;
        break;
    case Kind::AddMenu:
        if (t.MenuCount != row_ || !AddMenu(t).ok)
            return false;
        break;
    case Kind::DeleteMenu:
        if (!t.isRow(row_))
            return false;
        t.SelectedMenu = row_;
        DeleteSelectedMenu(t);
        break;
    case Kind::ReplaceSettings:
        project.settings = settingsAfter_;
        return true;
    }
    t.SelectedMenu = selectedAfter_;
    return true;
}

void ProjectEdit::revert(Project& project) const {
    MenuTable& t = project.table;
    switch (kind_) {
    case Kind::SetCell:
        WriteCell(t, row_, column_, before_);
        break;
    case Kind::Move:
        MoveMenu(t, row_, fromX_, fromY_);
        break;
    case Kind::AddMenu:
        // The added row is the last one; deleting it leaves every other row where it was.
        if (t.isRow(row_) && row_ == t.MenuCount - 1) {
            t.SelectedMenu = row_;
            DeleteSelectedMenu(t);
        }
        break;
    case Kind::DeleteMenu:
        InsertMenuRow(t, row_, removed_);
        break;
    case Kind::ReplaceSettings:
        project.settings = settingsBefore_;
        return;
    }
    t.SelectedMenu = selectedBefore_;
}

bool ProjectEdit::mergeWith(const ProjectEdit& later) {
    if (later.kind_ != kind_ || later.row_ != row_)
        return false;
    if (kind_ == Kind::SetCell && later.column_ == column_) {
        after_ = later.after_;
    } else if (kind_ == Kind::Move) {
        toX_ = later.toX_;
        toY_ = later.toY_;
    } else {
        return false;
    }
    selectedAfter_ = later.selectedAfter_;
    return true;
}

bool ProjectEdit::changesNothing() const {
    switch (kind_) {
    case Kind::SetCell:
        return before_ == after_ && selectedBefore_ == selectedAfter_;
    case Kind::Move:
        return fromX_ == toX_ && fromY_ == toY_ && selectedBefore_ == selectedAfter_;
    case Kind::ReplaceSettings:
        return settingsBefore_ == settingsAfter_;
    default:
        return false;
    }
}

} // namespace qloom
