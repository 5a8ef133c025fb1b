#include "gui/common/UpDownControl.h"

#include "gui/common/TextConv.h"
#include "model/Messages.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qloom::gui {

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus); // the bound box keeps the focus; arrows work there
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(toQ(msg::Format(msg::kIncreaseArrow, "")).trimmed());
    down_->setAccessibleName(toQ(msg::Format(msg::kDecreaseArrow, "")).trimmed());
    connect(up_, &QToolButton::clicked, this, [this] { Q_EMIT stepRequested(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Q_EMIT stepRequested(-1); });
}

void UpDownControl::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    setPosition(position_);
}

void UpDownControl::setPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

QSize UpDownControl::sizeHint() const {
    return {17, 21};
}

void UpDownControl::setBoxName(const QString& name) {
    up_->setAccessibleName(toQ(msg::Format(msg::kIncreaseArrow, fromQ(name))));
    down_->setAccessibleName(toQ(msg::Format(msg::kDecreaseArrow, fromQ(name))));
}

} // namespace qloom::gui
