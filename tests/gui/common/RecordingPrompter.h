#pragma once

// A prompter for tests: records every text it is asked to show and answers from a queue, or with
// the box's default button (a choice: its default index) when the queue is empty; no box comes
// up. With `onRealBox` set, boxes that no queued answer takes come up for real, as the program
// shows them, and `onRealBox` is called with each from inside its own event loop, so the test can
// press keys on it or close it.

#include "gui/common/BoxPrompter.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace qloom::gui {

class RecordingPrompter final : public Prompter {
public:
    QStringList all;    // every text, in the order shown
    QStringList shown;  // messages, questions and choices
    QStringList errors; // general error reports
    QList<QMessageBox::StandardButton> answers;
    QList<int> choices;
    std::function<void(QMessageBox&)> onRealBox;

    void clear() {
        all.clear();
        shown.clear();
        errors.clear();
    }
    // As new: nothing recorded, no answer waiting, no real box.
    void reset() {
        clear();
        answers.clear();
        choices.clear();
        onRealBox = nullptr;
    }

    QMessageBox::StandardButton ask(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override {
        all << text;
        (icon == QMessageBox::Critical ? errors : shown) << text;
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (!onRealBox)
            return defaultButton;
        handleNextBox();
        return real_.ask(parent, caption, text, icon, buttons, defaultButton);
    }

    int choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
               const QStringList& buttons, int defaultIndex) override {
        all << text;
        shown << text;
        if (!choices.isEmpty())
            return choices.takeFirst();
        if (!onRealBox)
            return defaultIndex;
        handleNextBox();
        return real_.choose(parent, text, icon, buttons, defaultIndex);
    }

private:
    // The box is modal: the timer fires in its event loop, once it is up.
    void handleNextBox() {
        const auto handler = onRealBox;
        QTimer::singleShot(0, [handler] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QWidget* window : QApplication::topLevelWidgets())
                if (!box && window->isVisible())
                    box = qobject_cast<QMessageBox*>(window);
            if (box)
                handler(*box);
        });
    }

    BoxPrompter real_;
};

} // namespace qloom::gui
