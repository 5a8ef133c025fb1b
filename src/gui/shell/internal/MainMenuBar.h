#pragma once

// The main window's menu bar: every command of the window in one place a newcomer looks for,
// each with its shortcut shown. Undo and Redo name the step they take back or make again.

#include <QMenuBar>
#include <functional>

class QAction;
class QUndoStack;

namespace qloom::gui {

class MainMenuBar final : public QMenuBar {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    // What each entry does; the window that owns the bar decides.
    struct Handlers {
        Handler projects; // New or Open (the start dialog)
        Handler finalize;
        Handler browseFolder; // the project folder in the file manager
        Handler settings;     // Project Settings...
        Handler quit;
        Handler addMenu;
        Handler deleteMenu;
        Handler showPreview;
        Handler updatePreview;
        Handler onTop; // after the entry's check mark changed
        Handler help;
        Handler about;
    };

    MainMenuBar(QUndoStack& history, const Handlers& handlers, QWidget* parent);

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* onTopAction() const { return onTop_; }
    // Entries that need an open project.
    QList<QAction*> projectActions() const { return projectActions_; }
    void setProjectActionsEnabled(bool enabled);

private:
    QAction* add(QMenu* menu, const QString& text, const QKeySequence& keys, const Handler& handler,
                 bool handledElsewhere = false);

    QAction* undo_;
    QAction* redo_;
    QAction* onTop_;
    QList<QAction*> projectActions_;
};

} // namespace qloom::gui
