#include "model/ProjectEdit.h"

#include <utility>

namespace qloom {

ProjectEdit::ProjectEdit(Kind kind, const Project& project)
    : kind_(kind), selectedBefore_(project.selected), selectedAfter_(project.selected) {}

ProjectEdit ProjectEdit::setColumn(const Project& project, int32_t row, const MenuColumn& column,
                                   const Menu& value) {
    ProjectEdit e(Kind::SetCell, project);
    e.row_ = row;
    e.column_ = ColumnIndex(column);
    if (project.isRow(row))
        CopyColumn(project.menus[static_cast<size_t>(row)], e.before_, column);
    CopyColumn(value, e.after_, column);
    e.selectedAfter_ = row;
    return e;
}

ProjectEdit ProjectEdit::setCell(const Project& project, int32_t row, int32_t Menu::*field,
                                 int32_t value) {
    Menu holder;
    holder.*field = value;
    return setColumn(project, row, ColumnOf(field), holder);
}

ProjectEdit ProjectEdit::setCell(const Project& project, int32_t row, std::string Menu::*field,
                                 std::string value) {
    Menu holder;
    holder.*field = std::move(value);
    return setColumn(project, row, ColumnOf(field), holder);
}

ProjectEdit ProjectEdit::move(const Project& project, int32_t row, int32_t x, int32_t y) {
    ProjectEdit e(Kind::Move, project);
    e.row_ = row;
    if (project.isRow(row)) {
        e.fromX_ = project.menus[static_cast<size_t>(row)].left;
        e.fromY_ = project.menus[static_cast<size_t>(row)].top;
    }
    e.toX_ = x;
    e.toY_ = y;
    e.selectedAfter_ = row;
    return e;
}

ProjectEdit ProjectEdit::addMenu(const Project& project) {
    ProjectEdit e(Kind::AddMenu, project);
    e.row_ = project.menuCount();
    e.selectedAfter_ = e.row_;
    return e;
}

ProjectEdit ProjectEdit::deleteSelected(const Project& project) {
    ProjectEdit e(Kind::DeleteMenu, project);
    e.row_ = project.selected;
    if (project.isRow(e.row_)) {
        e.removed_ = project.menus[static_cast<size_t>(e.row_)];
        const int32_t left = project.menuCount() - 1;
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
    switch (kind_) {
    case Kind::SetCell:
        if (!project.isRow(row_))
            return false;
        CopyColumn(after_, project.menus[static_cast<size_t>(row_)], column());
        break;
    case Kind::Move:
        if (!MoveMenu(project, row_, toX_, toY_))
            return false;
        break;
    case Kind::AddMenu:
        if (project.menuCount() != row_ || !AddMenu(project).ok())
            return false;
        break;
    case Kind::DeleteMenu:
        if (!project.isRow(row_))
            return false;
        project.selected = row_;
        DeleteSelectedMenu(project);
        break;
    case Kind::ReplaceSettings:
        project.settings = settingsAfter_;
        return true;
    }
    project.selected = selectedAfter_;
    return true;
}

void ProjectEdit::revert(Project& project) const {
    switch (kind_) {
    case Kind::SetCell:
        if (project.isRow(row_))
            CopyColumn(before_, project.menus[static_cast<size_t>(row_)], column());
        break;
    case Kind::Move:
        MoveMenu(project, row_, fromX_, fromY_);
        break;
    case Kind::AddMenu:
        // The added row is the last one; deleting it leaves every other row where it was.
        if (project.isRow(row_) && row_ == project.menuCount() - 1) {
            project.selected = row_;
            DeleteSelectedMenu(project);
        }
        break;
    case Kind::DeleteMenu:
        InsertMenu(project, row_, removed_);
        break;
    case Kind::ReplaceSettings:
        project.settings = settingsBefore_;
        return;
    }
    project.selected = selectedBefore_;
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
        return SameInColumn(before_, after_, column()) && selectedBefore_ == selectedAfter_;
    case Kind::Move:
        return fromX_ == toX_ && fromY_ == toY_ && selectedBefore_ == selectedAfter_;
    case Kind::ReplaceSettings:
        return settingsBefore_ == settingsAfter_;
    default:
        return false;
    }
}

} // namespace qloom
