#pragma once

#include <QWidget>

class QToolButton;

namespace qloom::gui {

// A pair of spin arrows beside a number box. It keeps a position within [minimum, maximum]
// (no wrap-around) and reports each arrow step; the property editor writes the new number into
// the bound box, which then counts as a typed change.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Clamped into the range; does not emit stepRequested.
    void setPosition(int position);
    int position() const { return position_; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    QSize sizeHint() const override;

    // Names the arrows after the bound box ("Increase Left"), for assistive technology.
    void setBoxName(const QString& name);

Q_SIGNALS:
    // +1 for the up arrow, -1 for the down arrow (also from the keyboard in the bound box).
    void stepRequested(int delta);

private:
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

} // namespace qloom::gui
