#pragma once

#include "gui/common/EditorRules.h"

#include <QObject>

class QLineEdit;

namespace qloom::gui {

class UpDownControl;

// Ties a number box of a dialog to its spin arrows: the arrows and the Up/Down keys in the box
// step the number the box shows, within the range and without wrapping. The arrows take no
// focus, so the keys are what makes the spinner usable from the keyboard. The user can type at
// most `maxTyped` characters, but a longer number the program shows (read from a script) is
// shown whole, so that OK clamps it rather than taking its first digits.
class SpinBinding : public QObject {
    Q_OBJECT
public:
    SpinBinding(QLineEdit* box, UpDownControl* arrows, SpinRange range, const QString& boxName,
                int maxTyped = 3);

    // Shows `text` in the box and moves the arrows to the number it holds (`fallback` when it
    // holds none).
    void show(const QString& text, int32_t fallback);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* box_;
    UpDownControl* arrows_;
    SpinRange range_;
};

} // namespace qloom::gui
