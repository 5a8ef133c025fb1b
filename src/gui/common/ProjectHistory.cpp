#include "gui/common/ProjectHistory.h"

#include "gui/common/internal/EditCommand.h"

namespace qloom::gui {

ProjectHistory::ProjectHistory(Project& project, QObject* parent)
    : QObject(parent), project_(project) {}

ProjectHistory::~ProjectHistory() = default;

EditCommand* ProjectHistory::top() const {
    // Only EditCommands are ever pushed.
    return const_cast<EditCommand*>(
        static_cast<const EditCommand*>(stack_.command(stack_.index() - 1)));
}

bool ProjectHistory::record(ProjectEdit edit, bool mergeable) {
    if (edit.changesNothing())
        return true;
    if (!edit.apply(project_))
        return false;
    const ProjectEdit made = edit;
    stack_.push(new EditCommand(project_, std::move(edit), mergeable,
                                [this](const ProjectEdit& e) { restored(e); }));
    Q_EMIT changed(made);
    return true;
}

void ProjectHistory::closeStep() {
    if (EditCommand* command = top())
        command->close();
}

void ProjectHistory::undo() {
    closeStep();
    stack_.undo();
    // Whatever is typed next starts a new step rather than joining one that was undone past.
    closeStep();
}

void ProjectHistory::redo() {
    closeStep();
    stack_.redo();
    closeStep();
}

void ProjectHistory::clear() {
    stack_.clear();
}

void ProjectHistory::restored(const ProjectEdit& edit) {
    if (restored_)
        restored_(edit);
    Q_EMIT changed(edit);
}

} // namespace qloom::gui
