#pragma once

// Every message box and question of the program goes through here, so GUI tests can pre-answer
// them (setNextAnswer) and read what was shown (shown()) without a person at the screen.

#include <QMessageBox>
#include <QString>
#include <QStringList>

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
    // Yes/No question; returns Yes or No.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& caption,
                                                const QString& text, QMessageBox::Icon icon,
                                                QMessageBox::StandardButton defaultButton);

    // Test seam: answer the next boxes without showing them. Each queued answer is used once;
    // an OK-only box consumes an answer too. With an empty queue and test mode on, messages are
    // recorded and answered with their default button.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setTestMode(bool on);
    static QStringList shown(); // texts shown since the last clearShown()
    static void clearShown();
};

} // namespace qloom::gui
