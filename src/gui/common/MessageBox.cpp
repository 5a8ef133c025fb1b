#include "gui/common/MessageBox.h"

#include "gui/common/ErrorText.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "model/Messages.h"

#include <QList>
#include <QPushButton>
#include <QTimer>

namespace qloom::gui {

namespace {
QList<QMessageBox::StandardButton> g_answers;
QStringList g_shown;
bool g_testMode = false;
std::function<void(QMessageBox&)> g_realBoxHandler;
std::function<void(const QString&)> g_shownHandler;
QList<int> g_choices;

void noteShown(const QString& text) {
    g_shown << text;
    if (g_shownHandler)
        g_shownHandler(text);
}

QString appTitle() {
    return uiText(msg::kAppTitle);
}

QMessageBox::StandardButton run(QWidget* parent, const QString& caption, const QString& text,
                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    noteShown(text);
    if (!g_answers.isEmpty())
        return g_answers.takeFirst();
    if (g_testMode && !g_realBoxHandler)
        return defaultButton;
    // The texts keep the CR LF pairs of the files they describe; a label wants bare LFs.
    QString shownText = text;
    shownText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, caption, shownText, buttons, parent);
    box.setTextFormat(Qt::PlainText); // paths and file names are never HTML
    box.setDefaultButton(defaultButton);
    if (buttons.testFlag(QMessageBox::No)) {
        // Left alone, Qt lets Escape and the close button pick "No", which in some questions
        // is the answer that overwrites. They get an answer of their own, on a button that is
        // never shown.
        QPushButton* escape = box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(escape);
        escape->hide();
    }
    if (g_realBoxHandler) {
        const auto handler = g_realBoxHandler;
        QTimer::singleShot(0, &box, [&box, handler] { handler(box); });
    }
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

void MessageBox::message(QWidget* parent, const QString& text) {
    run(parent, appTitle(), text, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::message(QWidget* parent, const QString& caption, const QString& text,
                         QMessageBox::Icon icon) {
    run(parent, caption, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::error(QWidget* parent, const QString& text) {
    run(parent, appTitle(), toQ(ErrorReportText(fromQ(text))), QMessageBox::Critical,
        QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& caption,
                                                 const QString& text, QMessageBox::Icon icon,
                                                 QMessageBox::StandardButton defaultButton) {
    return run(parent, caption, text, icon, QMessageBox::Yes | QMessageBox::No, defaultButton);
}

int MessageBox::choice(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                       const QStringList& buttons, int defaultIndex) {
    noteShown(text);
    if (!g_choices.isEmpty())
        return g_choices.takeFirst();
    if (g_testMode && !g_realBoxHandler)
        return defaultIndex;
    QString shownText = text;
    shownText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, appTitle(), shownText, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton*> pushButtons;
    for (const QString& label : buttons)
        pushButtons << box.addButton(label, QMessageBox::ActionRole);
    if (defaultIndex >= 0 && defaultIndex < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultIndex]);
    QPushButton* escape = box.addButton(QMessageBox::Cancel);
    box.setEscapeButton(escape);
    if (g_realBoxHandler) {
        const auto handler = g_realBoxHandler;
        QTimer::singleShot(0, &box, [&box, handler] { handler(box); });
    }
    box.exec();
    const int index = pushButtons.indexOf(static_cast<QPushButton*>(box.clickedButton()));
    return index;
}

void MessageBox::setNextChoice(int index) {
    g_choices << index;
}
void MessageBox::setShownHandler(std::function<void(const QString&)> onShown) {
    g_shownHandler = std::move(onShown);
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) {
    g_answers << answer;
}
void MessageBox::setTestMode(bool on) {
    g_testMode = on;
}
void MessageBox::setRealBoxHandler(std::function<void(QMessageBox&)> onShown) {
    g_realBoxHandler = std::move(onShown);
}
QStringList MessageBox::shown() {
    return g_shown;
}
void MessageBox::clearShown() {
    g_shown.clear();
}

} // namespace qloom::gui
