#pragma once

#include "model/MenuColumns.h"
#include "model/Project.h"
#include "model/ProjectSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qloom {

// One reversible change to a project, made through the table's own operations. An undo command
// of the GUI holds one and calls apply() for redo and revert() for undo. Each edit remembers
// the selection before and after it, so undoing shows the menu that changed.
//
// Edits must be applied and reverted in stack order: revert() expects the project exactly as
// apply() left it.
class ProjectEdit {
public:
    enum class Kind { SetCell, Move, AddMenu, DeleteMenu, ReplaceSettings };

    // The factories read the "before" side from the project as it stands; nothing changes until
    // apply().
    // One field of one menu, by the field's column of the table.
    static ProjectEdit setCell(const Project& project, int32_t row, int32_t Menu::*field,
                               int32_t value);
    static ProjectEdit setCell(const Project& project, int32_t row, std::string Menu::*field,
                               std::string value);
    static ProjectEdit move(const Project& project, int32_t row, int32_t x, int32_t y);
    static ProjectEdit addMenu(const Project& project);
    static ProjectEdit deleteSelected(const Project& project);
    static ProjectEdit replaceSettings(const Project& project, ProjectSettings settings);

    // False, changing nothing, when the edit cannot be made: a row no longer in use, a full
    // project, nothing to delete.
    bool apply(Project& project) const;
    void revert(Project& project) const;

    // Folds a later edit of the same cell (or a later move of the same menu) into this one, so
    // typing or nudging becomes one step; false when the two do not combine.
    bool mergeWith(const ProjectEdit& later);
    // True when applying changes nothing (a cell set to the value it has); such a step need not
    // be kept.
    bool changesNothing() const;

    Kind kind() const { return kind_; }
    int32_t row() const { return row_; }
    // The column a SetCell edit changes.
    const MenuColumn& column() const { return kMenuColumns[column_]; }
    int32_t selectionAfter() const { return selectedAfter_; }

private:
    ProjectEdit(Kind kind, const Project& project);
    static ProjectEdit setColumn(const Project& project, int32_t row, const MenuColumn& column,
                                 const Menu& value);

    Kind kind_;
    int32_t row_ = 0;
    size_t column_ = 0;                                 // SetCell: index in kMenuColumns
    Menu before_, after_;                               // SetCell: only the column's field is set
    int32_t fromX_ = 0, fromY_ = 0, toX_ = 0, toY_ = 0; // Move
    Menu removed_;                                      // DeleteMenu
    ProjectSettings settingsBefore_, settingsAfter_;    // ReplaceSettings
    int32_t selectedBefore_ = 0, selectedAfter_ = 0;
};

} // namespace qloom
