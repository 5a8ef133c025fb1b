#pragma once

// What the editor, the preview and the dialogs see of the open project. The shell's
// ProjectSession is the one implementation: it owns the project, its history, the autosave and
// the save state, and it is the only object that writes the project to disk. The layers below
// the shell read the project through this interface, change it only through edit() and
// select(), ask it to save, and follow it through its signals, so they never call each other
// through the shell.
//
// Only the shell may derive from this class (the layering test checks it): a second
// implementation in a lower layer would be a second owner of the project.

#include "model/Project.h"
#include "model/ProjectEdit.h"
#include "model/Result.h"

#include <QObject>
#include <QString>
#include <cstdint>

class QWidget;

namespace qloom::gui {

class ProjectHistory;
class Prompter;

// Who moved the selection: the page need not be told of a choice it made itself, and a choice
// the program makes (a menu added, a project opened) is shown by whoever made it.
enum class SelectionSource { Editor, Page, Program };

class ProjectSessionApi : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ProjectSessionApi() override;

    virtual const Project& project() const = 0;
    // Every change a person makes is recorded here, so it can be undone.
    virtual ProjectHistory& history() = 0;
    // The window boxes and dialogs of the project belong to.
    virtual QWidget* window() const = 0;
    // Every message box of the project goes through here.
    virtual Prompter& prompter() = 0;

    // Makes the edit through the history (with `mergeable`, typing folds into one step) and
    // emits menusChanged. False, changing nothing, when the edit cannot be made.
    virtual bool edit(ProjectEdit edit, bool mergeable = false) = 0;
    // Makes `row` the selected menu and emits selectionChanged; a row that is not one of the
    // table changes nothing.
    virtual void select(int32_t row, SelectionSource source) = 0;

    // Writes the preview variant now; a failure is reported to the user. True on success.
    virtual bool savePreview() = 0;
    // Whether the preview shows an older state of the project than the table.
    virtual bool previewStale() const = 0;
    // Marking stale does nothing while no project is active.
    virtual void setPreviewStale(bool stale) = 0;

    // Shows the general error report for a failed status; returns status.ok.
    virtual bool report(const Status& status) = 0;
    // Greys the main window's help button while a dialog is up.
    virtual void setHelpAvailable(bool available) = 0;
    virtual void showHelp() = 0;

Q_SIGNALS:
    // Another project was created or opened: everything shown of the old one is stale.
    void projectReplaced();
    // The menus or settings changed: recorded, undone or redone. The edit names the row and the
    // field (a whole-table kind for add, delete and settings).
    void menusChanged(const qloom::ProjectEdit& edit);
    // Undo or redo put back an earlier state (after menusChanged for the same edit).
    void restored(const qloom::ProjectEdit& edit);
    void selectionChanged(int32_t row, qloom::gui::SelectionSource source);
    // Composing swapped the default caption of `row` for its orientation.
    void captionSwapped(int32_t row);
    void saved(bool forPreview);
    void saveFailed(const QString& reason);
    void previewStaleChanged(bool stale);
};

} // namespace qloom::gui
