#include "gui/shell/internal/MainMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

namespace qloom::gui {

MainMenuBar::MainMenuBar(QUndoStack& history, const Handlers& h, QWidget* parent)
    : QMenuBar(parent) {
    setObjectName(QStringLiteral("mainMenuBar"));

    QMenu* project = addMenu(tr("&Project"));
    add(project, tr("&New or Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), h.projects);
    project->addSeparator();
    projectActions_ << add(project, tr("&Finalize"), QKeySequence(Qt::CTRL | Qt::Key_E),
                           h.finalize);
    projectActions_ << add(project, tr("&Browse Project Folder"),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), h.browseFolder);
    projectActions_ << add(project, tr("Project &Settings..."),
                           QKeySequence(Qt::CTRL | Qt::Key_Comma), h.settings);
    project->addSeparator();
    QAction* quit = add(project, tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), h.quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = addMenu(tr("&Edit"));
    // The history's own actions follow its steps: "Undo Move Menu 3", greyed when there is none.
    // Their keys are taken by the window's undo filter, which also works inside text boxes.
    undo_ = history.createUndoAction(this, tr("&Undo"));
    undo_->setShortcut(QKeySequence::Undo);
    undo_->setShortcutContext(Qt::WidgetShortcut);
    redo_ = history.createRedoAction(this, tr("&Redo"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redo_->setShortcutContext(Qt::WidgetShortcut);
    edit->addAction(undo_);
    edit->addAction(redo_);
    edit->addSeparator();
    projectActions_ << add(edit, tr("&Add Menu"), QKeySequence(Qt::Key_Insert), h.addMenu, true);
    projectActions_ << add(edit, tr("&Delete Menu"), QKeySequence(Qt::Key_Delete), h.deleteMenu,
                           true);

    QMenu* view = addMenu(tr("&View"));
    projectActions_ << add(view, tr("&Preview"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                           h.showPreview);
    projectActions_ << add(view, tr("&Update Preview"), QKeySequence(Qt::Key_F5), h.updatePreview,
                           true);
    view->addSeparator();
    onTop_ = add(view, tr("Keep on &Top"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), h.onTop);
    onTop_->setCheckable(true);

    QMenu* help = addMenu(tr("&Help"));
    add(help, tr("&Contents"), QKeySequence(Qt::Key_F1), h.help, true);
    QAction* about = add(help, tr("&About qLoom"), QKeySequence(), h.about);
    about->setMenuRole(QAction::AboutRole);
}

QAction* MainMenuBar::add(QMenu* menu, const QString& text, const QKeySequence& keys,
                          const Handler& handler, bool handledElsewhere) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    // Keys the window already answers everywhere (Insert, F5, F1; Delete only in the menu
    // list, where it must not take a text box's Delete) are shown here but not taken twice.
    if (handledElsewhere)
        action->setShortcutContext(Qt::WidgetShortcut);
    else
        action->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        connect(action, &QAction::triggered, this, [handler] { handler(); });
    return action;
}

void MainMenuBar::setProjectActionsEnabled(bool enabled) {
    for (QAction* action : projectActions_)
        action->setEnabled(enabled);
}

} // namespace qloom::gui
