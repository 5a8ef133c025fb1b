#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace qloom::gui {

class ProjectHistory;

// Ctrl+Z undoes and Ctrl+Shift+Z or Ctrl+Y redo the project history anywhere in `window`, even
// in a text box or the preview's page, which would otherwise take the keys for their own undo.
// Watches the application's key presses, so it also sees the browser view's inner widgets.
class UndoKeyFilter final : public QObject {
    Q_OBJECT
public:
    UndoKeyFilter(QWidget* window, ProjectHistory& history);
    ~UndoKeyFilter() override;

    enum class Action { None, Undo, Redo };
    static Action actionFor(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    ProjectHistory& history_;
};

} // namespace qloom::gui
