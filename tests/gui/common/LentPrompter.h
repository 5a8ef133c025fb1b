#pragma once

// Lends a prompter the test keeps to a session, which owns the prompter it is given: the test's
// record of the texts then outlives the session, so a box shown while the program ends, or by the
// session of a program started again, is still read.

#include "gui/common/Prompter.h"

namespace qloom::gui {

class LentPrompter final : public Prompter {
public:
    explicit LentPrompter(Prompter& owner) : owner_(owner) {}

    QMessageBox::StandardButton ask(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override {
        return owner_.ask(parent, caption, text, icon, buttons, defaultButton);
    }
    int choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
               const QStringList& buttons, int defaultIndex) override {
        return owner_.choose(parent, text, icon, buttons, defaultIndex);
    }

private:
    Prompter& owner_;
};

} // namespace qloom::gui
