#include "gui/shell/ProgramIcon.h"

#include <QPainter>

namespace qloom::gui {

QPixmap ProgramLogo() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(2, 4, 28, 7), QColor(0, 0, 0));
    painter.fillRect(QRect(2, 12, 28, 16), QColor(0, 128, 128));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(6, 17, 26, 17);
    painter.drawLine(6, 22, 20, 22);
    painter.end();
    return picture;
}

} // namespace qloom::gui
