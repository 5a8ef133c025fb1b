#pragma once

// The application object: an exception that escapes an event handler ends that handler only and
// is shown in the general error report; the program goes on with the state the handler reached.

#include <QApplication>

namespace qloom::gui {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace qloom::gui
