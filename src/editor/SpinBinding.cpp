#include "editor/SpinBinding.h"

#include "editor/UpDownControl.h"
#include "model/Conversions.h"
#include "project/TextConv.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace qloom::gui {

SpinBinding::SpinBinding(QLineEdit* box, UpDownControl* arrows, SpinRange range,
                         const QString& boxName)
    : QObject(box), box_(box), arrows_(arrows), range_(range) {
    arrows_->setRange(range.minimum, range.maximum);
    arrows_->setFixedSize(17, box->sizeHint().height());
    arrows_->setBoxName(boxName);
    connect(arrows_, &UpDownControl::stepRequested, this, &SpinBinding::step);
    box_->installEventFilter(this);
}

void SpinBinding::show(const QString& text, int32_t fallback) {
    box_->setText(text);
    arrows_->setPosition(ParseIntOr(fromQ(text), fallback));
}

void SpinBinding::step(int delta) {
    const int32_t next = SpinStep(fromQ(box_->text()), arrows_->position(), delta, range_);
    arrows_->setPosition(next);
    box_->setText(QString::number(next));
}

bool SpinBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qloom::gui
