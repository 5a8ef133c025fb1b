#include "gui/common/BoxPrompter.h"

#include "gui/common/UiText.h"
#include "model/Messages.h"

#include <QList>
#include <QPushButton>

namespace qloom::gui {

namespace {

// The texts keep the CR LF pairs of the files they describe; a label wants bare LFs. Paths and
// file names are never HTML, so the text is shown as it is.
void setPlainText(QMessageBox& box, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
}

// Escape and the close button get an answer of their own, neither of the question's: left
// alone, Qt lets them pick "No" (or the one button of a choice), which in some questions is the
// answer that overwrites.
QPushButton* addNeitherButton(QMessageBox& box) {
    QPushButton* escape = box.addButton(QMessageBox::Cancel);
    box.setEscapeButton(escape);
    return escape;
}

} // namespace

QMessageBox::StandardButton BoxPrompter::ask(QWidget* parent, const QString& caption,
                                             const QString& text, QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, QString(), buttons, parent);
    setPlainText(box, text);
    box.setDefaultButton(defaultButton);
    if (buttons.testFlag(QMessageBox::No))
        addNeitherButton(box)->hide(); // a Yes/No question shows only its two answers
    return QMessageBox::StandardButton(box.exec());
}

int BoxPrompter::choose(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                        const QStringList& buttons, int defaultIndex) {
    QMessageBox box(icon, uiText(msg::kAppTitle), QString(), QMessageBox::NoButton, parent);
    setPlainText(box, text);
    QList<QPushButton*> pushButtons;
    for (const QString& label : buttons)
        pushButtons << box.addButton(label, QMessageBox::ActionRole);
    if (defaultIndex >= 0 && defaultIndex < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultIndex]);
    addNeitherButton(box);
    box.exec();
    return int(pushButtons.indexOf(static_cast<QPushButton*>(box.clickedButton())));
}

} // namespace qloom::gui
