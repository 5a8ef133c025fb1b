#include "gui/common/ColorSwatch.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace qloom::gui {

ColorSwatch::ColorSwatch(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setColor(const QColor& color) {
    if (color_ == color)
        return;
    color_ = color;
    update();
}

QSize ColorSwatch::sizeHint() const {
    return {20, 20};
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, isEnabled() ? color_ : palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawRect(box);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace qloom::gui
