#pragma once

#include "model/ProjectEdit.h"

#include <QObject>
#include <QUndoStack>
#include <functional>

namespace qloom::gui {

class EditCommand;

// The undo history of the project: every change a person makes goes through record(), which
// makes the edit on the project and keeps it as one undoable step. Owned by the project session and
// reached by the editor and the preview through ProjectSessionApi.
class ProjectHistory final : public QObject {
    Q_OBJECT
public:
    // How a step is shown once undo or redo changed the project.
    using Restored = std::function<void(const ProjectEdit& edit)>;

    explicit ProjectHistory(Project& project, QObject* parent = nullptr);
    ~ProjectHistory() override;

    void setRestoredHandler(Restored handler) { restored_ = std::move(handler); }

    // Makes the edit and keeps it. With `mergeable`, it folds into the step before it when both
    // edit the same field (or move the same menu) and that step is still open. False, changing
    // nothing, when the edit cannot be made; true without a step when it changes nothing.
    bool record(ProjectEdit edit, bool mergeable = false);
    // Closes the open step (a field lost the focus, a burst of nudges ended).
    void closeStep();

    void undo();
    void redo();
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // Opening or creating a project starts a history of its own.
    void clear();

    QUndoStack& stack() { return stack_; }

Q_SIGNALS:
    // The project changed through this history: recorded, undone or redone.
    void changed(const qloom::ProjectEdit& edit);

private:
    EditCommand* top() const;
    void restored(const ProjectEdit& edit);

    Project& project_;
    QUndoStack stack_;
    Restored restored_;
};

} // namespace qloom::gui
