#include "gui/common/HelpKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace qloom::gui {

HelpKeyFilter::HelpKeyFilter(QWidget* dialog, std::function<void()> onHelp)
    : QObject(dialog), onHelp_(std::move(onHelp)) {
    dialog->installEventFilter(this);
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children)
        child->installEventFilter(this);
}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    // Act on the release, once, however long the key was held.
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat()) {
            if (onHelp_)
                onHelp_();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qloom::gui
