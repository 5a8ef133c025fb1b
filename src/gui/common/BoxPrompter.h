#pragma once

// The program's prompter: every box is a real, modal QMessageBox over its parent window.

#include "gui/common/Prompter.h"

namespace qloom::gui {

class BoxPrompter final : public Prompter {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    int choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
               const QStringList& buttons, int defaultIndex) override;
};

} // namespace qloom::gui
