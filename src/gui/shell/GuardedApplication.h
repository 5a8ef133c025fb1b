#pragma once

// The application object: an exception that escapes an event handler ends that handler only and
// is shown in the general error report; the program goes on with the state the handler reached.

#include "gui/common/BoxPrompter.h"

#include <QApplication>
#include <QPointer>

namespace qloom::gui {

class ProjectSession;

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The report goes through the session's prompter while there is a session, like every other
    // box of the program; before and after, through a real box.
    void reportErrorsThrough(ProjectSession* session);

private:
    QPointer<ProjectSession> session_;
    BoxPrompter boxes_;
};

} // namespace qloom::gui
