#include "gui/shell/GuardedApplication.h"

#include "gui/common/MessageBox.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "model/Messages.h"

#include <exception>

namespace qloom::gui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        MessageBox::error(activeWindow(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MessageBox::error(activeWindow(), uiText(msg::kUnexpectedError));
    }
    return false;
}

} // namespace qloom::gui
