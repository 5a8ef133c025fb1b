#pragma once

// Every message box and question of the program goes through here, so GUI tests can pre-answer
// them (setNextAnswer) and read what was shown (shown()) without a person at the screen, or let
// the real boxes come up and work on them (setRealBoxHandler).

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

namespace qloom::gui {

class MessageBox {
public:
    // Plain message: caption "qLoom", no icon, one OK button.
    static void message(QWidget* parent, const QString& text);
    // Message with its own caption and icon (e.g. the browser check).
    static void message(QWidget* parent, const QString& caption, const QString& text,
                        QMessageBox::Icon icon);
    // General error report: caption "qLoom", error icon, OK, full-stop rule applied.
    static void error(QWidget* parent, const QString& text);
    // Yes/No question; returns Yes or No, or Cancel when the box was left with Escape or its
    // close button. Cancel is neither answer: the caller must leave everything as it was, since
    // a key pressed by reflex is no consent to destroy anything.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& caption,
                                                const QString& text, QMessageBox::Icon icon,
                                                QMessageBox::StandardButton defaultButton);

    // A question with buttons of its own, `buttons[0]` first; returns the index of the button
    // pressed, or -1 when the box was left with Escape or its close button (which, as in every
    // question, must change nothing).
    static int choice(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                      const QStringList& buttons, int defaultIndex);

    // Test seam: the next choice() returns `index` without showing a box (-1: as Escape).
    static void setNextChoice(int index);
    // Test seam: called with the text of every box or question shown (or answered from a
    // queue); a test that starts the real program reads them from its output.
    static void setShownHandler(std::function<void(const QString&)> onShown);
    // Test seam: answer the next boxes without showing them. Each queued answer is used once;
    // an OK-only box consumes an answer too. With an empty queue and test mode on, messages are
    // recorded and answered with their default button.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setTestMode(bool on);
    // Test seam: while set, boxes that no queued answer takes are built and run for real, also
    // in test mode, and `onShown` is called with each one from inside its own event loop, so a
    // test can press keys on it or close it. An empty function ends this.
    static void setRealBoxHandler(std::function<void(QMessageBox&)> onShown);
    static QStringList shown(); // texts shown since the last clearShown()
    static void clearShown();
};

} // namespace qloom::gui
