#pragma once

// A prompter for tests: records every text it is asked to show (error reports apart from the
// other boxes) and answers from a queue, or with the box's default button when the queue is
// empty. No box comes up.

#include "gui/common/Prompter.h"

#include <QList>
#include <QStringList>

namespace qloom::gui {

class RecordingPrompter final : public Prompter {
public:
    QStringList shown;  // messages and questions
    QStringList errors; // general error reports
    QList<QMessageBox::StandardButton> answers;

    QMessageBox::StandardButton ask(QWidget*, const QString&, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton defaultButton) override {
        (icon == QMessageBox::Critical ? errors : shown) << text;
        return answers.isEmpty() ? defaultButton : answers.takeFirst();
    }
};

} // namespace qloom::gui
