#include "gui/common/EditCommand.h"

namespace qloom::gui {

namespace {
// QUndoStack offers a merge only between commands of one id; the edit decides the rest.
constexpr int kMergeableId = 1;
} // namespace

EditCommand::EditCommand(Project& project, ProjectEdit edit, bool open, Restored restored)
    : project_(project), edit_(std::move(edit)), open_(open), restored_(std::move(restored)) {}

void EditCommand::undo() {
    edit_.revert(project_);
    if (restored_)
        restored_(edit_);
}

void EditCommand::redo() {
    if (pushing_) {
        pushing_ = false;
        return;
    }
    edit_.apply(project_);
    if (restored_)
        restored_(edit_);
}

int EditCommand::id() const {
    return open_ ? kMergeableId : -1;
}

bool EditCommand::mergeWith(const QUndoCommand* other) {
    const auto* later = static_cast<const EditCommand*>(other);
    if (!open_ || !later->open_ || !edit_.mergeWith(later->edit_))
        return false;
    // Typing a field back to what it was leaves nothing to undo.
    setObsolete(edit_.changesNothing());
    return true;
}

} // namespace qloom::gui
