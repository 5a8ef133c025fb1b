#include "gui/common/UndoKeyFilter.h"

#include "gui/common/ProjectHistory.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace qloom::gui {

UndoKeyFilter::UndoKeyFilter(QWidget* window, ProjectHistory& history)
    : QObject(window), windows_{window}, history_(history) {
    QCoreApplication::instance()->installEventFilter(this);
}

void UndoKeyFilter::watch(QWidget* window) {
    windows_.emplace_back(window);
}

UndoKeyFilter::~UndoKeyFilter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

UndoKeyFilter::Action UndoKeyFilter::actionFor(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods =
        event.modifiers() &
        (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event.key() == Qt::Key_Z && mods == Qt::ControlModifier)
        return Action::Undo;
    if ((event.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)) ||
        (event.key() == Qt::Key_Y && mods == Qt::ControlModifier))
        return Action::Redo;
    return Action::None;
}

bool UndoKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    QWidget* window = widget->window();
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end() ||
        !window->isEnabled())
        return false;
    const Action action = actionFor(*static_cast<QKeyEvent*>(event));
    if (action == Action::None)
        return false;
    // The press itself does the work; a shortcut override is only claimed, so that no shortcut
    // of the focused control takes the key first.
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (action == Action::Undo)
        history_.undo();
    else
        history_.redo();
    return true;
}

} // namespace qloom::gui
