#pragma once

#include <QAbstractButton>
#include <QColor>

namespace qloom::gui {

// A small bordered colour panel that can be clicked (or activated from the keyboard) to pick a
// new colour. It only shows a colour; the property editor decides what a click does.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return color_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::white;
};

} // namespace qloom::gui
