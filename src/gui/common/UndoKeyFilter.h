#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QKeyEvent;
class QWidget;

namespace qloom::gui {

class ProjectHistory;

// Ctrl+Z undoes and Ctrl+Shift+Z or Ctrl+Y redo the project history anywhere in the windows it
// watches, even in a text box or the preview's page, which would otherwise take the keys for
// their own undo.
//
// This is the program's one application-wide event filter, and it must be: the keys have to be
// seen before any widget of those windows, including the browser view's inner widgets that the
// engine creates and replaces behind our back, and as shortcut overrides, which the focused text
// box would otherwise claim. Only the application sees all of those first.
class UndoKeyFilter final : public QObject {
    Q_OBJECT
public:
    UndoKeyFilter(QWidget* window, ProjectHistory& history);
    ~UndoKeyFilter() override;

    // Another window whose keys undo and redo the same history (the preview).
    void watch(QWidget* window);

    enum class Action { None, Undo, Redo };
    static Action actionFor(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> windows_;
    ProjectHistory& history_;
};

} // namespace qloom::gui
