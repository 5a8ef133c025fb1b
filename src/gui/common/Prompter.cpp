#include "gui/common/Prompter.h"

#include "gui/common/ErrorText.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "model/Messages.h"

namespace qloom::gui {

Prompter::~Prompter() = default;

void Prompter::message(QWidget* parent, const QString& text) {
    ask(parent, uiText(msg::kAppTitle), text, QMessageBox::NoIcon, QMessageBox::Ok,
        QMessageBox::Ok);
}

void Prompter::error(QWidget* parent, const QString& text) {
    ask(parent, uiText(msg::kAppTitle), toQ(ErrorReportText(fromQ(text))), QMessageBox::Critical,
        QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton Prompter::question(QWidget* parent, const QString& caption,
                                               const QString& text, QMessageBox::Icon icon,
                                               QMessageBox::StandardButton defaultButton) {
    return ask(parent, caption, text, icon, QMessageBox::Yes | QMessageBox::No, defaultButton);
}

} // namespace qloom::gui
