#include "gui/common/internal/EditCommand.h"

namespace qloom::gui {

namespace {

// The field's name as the property editor shows it, by the column's name in the script.
QString FieldName(const MenuColumn& column) {
    static const struct {
        std::string_view column;
        const char* name;
    } kNames[] = {
        {"MX", QT_TRANSLATE_NOOP("EditCommand", "Left")},
        {"MY", QT_TRANSLATE_NOOP("EditCommand", "Top")},
        {"MW", QT_TRANSLATE_NOOP("EditCommand", "Width")},
        {"MTCH", QT_TRANSLATE_NOOP("EditCommand", "Caption Height")},
        {"MTC", QT_TRANSLATE_NOOP("EditCommand", "Caption HTML")},
        {"MTM", QT_TRANSLATE_NOOP("EditCommand", "Menu HTML")},
        {"CO", QT_TRANSLATE_NOOP("EditCommand", "Bottom Colour")},
        {"CC", QT_TRANSLATE_NOOP("EditCommand", "Caption Colour")},
        {"CM", QT_TRANSLATE_NOOP("EditCommand", "Menu Colour")},
        {"MA", QT_TRANSLATE_NOOP("EditCommand", "Activation")},
        {"FL", QT_TRANSLATE_NOOP("EditCommand", "Floating")},
        {"OO", QT_TRANSLATE_NOOP("EditCommand", "Orientation")},
    };
    for (const auto& entry : kNames)
        if (entry.column == column.fileName)
            return EditCommand::tr(entry.name);
    return EditCommand::tr("Property");
}

// QUndoStack offers a merge only between commands of one id; the edit decides the rest.
constexpr int kMergeableId = 1;
} // namespace

QString EditCommand::stepName(const ProjectEdit& edit) {
    const int label = edit.row() + 1;
    switch (edit.kind()) {
    case ProjectEdit::Kind::SetCell:
        return tr("Change %1 of Menu %2").arg(FieldName(edit.column())).arg(label);
    case ProjectEdit::Kind::Move:
        return tr("Move Menu %1").arg(label);
    case ProjectEdit::Kind::AddMenu:
        return tr("Add Menu");
    case ProjectEdit::Kind::DeleteMenu:
        return tr("Delete Menu %1").arg(label);
    case ProjectEdit::Kind::ReplaceSettings:
        return tr("Project Settings");
    }
    return {};
}

EditCommand::EditCommand(Project& project, ProjectEdit edit, bool open, Restored restored)
    : project_(project), edit_(std::move(edit)), open_(open), restored_(std::move(restored)) {
    setText(stepName(edit_));
}

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
