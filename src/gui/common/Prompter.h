#pragma once

// The boxes of an open project: messages, questions and the general error report. The session
// owns one and every window of the project asks it, so a test can put in its own (one that
// records the texts and gives prepared answers) without any global switch, or keep the real
// boxes and work on them.

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace qloom::gui {

class Prompter {
public:
    virtual ~Prompter();

    // Shows one box and returns the button that ended it; Cancel when a Yes/No question was left
    // with Escape or its close button. Cancel is neither answer: the caller must leave everything
    // as it was, since a key pressed by reflex is no consent to destroy anything.
    virtual QMessageBox::StandardButton ask(QWidget* parent, const QString& caption,
                                            const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) = 0;

    // A question with buttons of its own, `buttons[0]` first: the index of the button pressed, or
    // -1 when the box was left with Escape or its close button (which must change nothing).
    virtual int choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                       const QStringList& buttons, int defaultIndex) = 0;

    // Plain message: caption "qLoom", no icon, one OK button.
    void message(QWidget* parent, const QString& text);
    // General error report: caption "qLoom", error icon, OK, full-stop rule applied.
    void error(QWidget* parent, const QString& text);
    // Yes/No question; Yes, No, or Cancel for neither (the caller then changes nothing).
    QMessageBox::StandardButton question(QWidget* parent, const QString& caption,
                                         const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButton defaultButton);
};

} // namespace qloom::gui
