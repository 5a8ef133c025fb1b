#pragma once

#include "model/ProjectEdit.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <functional>

namespace qloom::gui {

// One step of the project history: a reversible edit of the core, made before the command is
// pushed (the first redo() does nothing), undone and redone on the same project afterwards.
// Typing into one field, or nudging one menu, folds into the step while it is open.
class EditCommand final : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(EditCommand)
public:
    // What the step is called in "Undo ..." and "Redo ...": "Move Menu 3", "Add Menu". Menus
    // are named by their list label, which counts from 1.
    static QString stepName(const ProjectEdit& edit);

    // Called after an undo or a later redo changed the project, so the windows can show it.
    using Restored = std::function<void(const ProjectEdit& edit)>;

    EditCommand(Project& project, ProjectEdit edit, bool open, Restored restored);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    // Ends the step: later edits of the same field start a new one.
    void close() { open_ = false; }
    const ProjectEdit& edit() const { return edit_; }

private:
    Project& project_;
    ProjectEdit edit_;
    bool open_;
    bool pushing_ = true; // the edit was made before the push; the push's redo() skips it
    Restored restored_;
};

} // namespace qloom::gui
