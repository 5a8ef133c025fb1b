#include "gui/common/SpinBinding.h"

#include "gui/common/TextConv.h"
#include "gui/common/UpDownControl.h"
#include "model/Conversions.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace qloom::gui {

namespace {

// Unlike the box's maxLength, which also cuts texts the program sets, this only refuses edits.
class TypedLengthValidator : public QValidator {
public:
    TypedLengthValidator(int maxTyped, QObject* parent) : QValidator(parent), max_(maxTyped) {}
    State validate(QString& input, int&) const override {
        return input.size() <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

} // namespace

SpinBinding::SpinBinding(QLineEdit* box, UpDownControl* arrows, SpinRange range,
                         const QString& boxName, int maxTyped)
    : QObject(box), box_(box), arrows_(arrows), range_(range) {
    box_->setValidator(new TypedLengthValidator(maxTyped, box_));
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
