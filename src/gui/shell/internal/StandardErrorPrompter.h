#pragma once

// The prompter of a program that is ending: nobody is left to read a box, so whoever ended the
// program reads the texts on its standard error. Questions get the answer that changes least:
// their default button, and no button of a choice (which, as Escape would, changes nothing).

#include "gui/common/Prompter.h"

namespace qloom::gui {

class StandardErrorPrompter final : public Prompter {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    int choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
               const QStringList& buttons, int defaultIndex) override;
};

} // namespace qloom::gui
