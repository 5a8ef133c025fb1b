#include "gui/shell/GuardedApplication.h"

#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/shell/ProjectSession.h"
#include "model/Messages.h"

#include <exception>

namespace qloom::gui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void GuardedApplication::reportErrorsThrough(ProjectSession* session) {
    session_ = session;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    QString text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = uiText(msg::kUnexpectedError);
    }
    Prompter& prompter = session_ ? session_->prompter() : static_cast<Prompter&>(boxes_);
    prompter.error(activeWindow(), text);
    return false;
}

} // namespace qloom::gui
