#include "gui/common/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace qloom::gui {

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace qloom::gui
