#include "gui/shell/TestHook.h"

#include "gui/preview/PreviewController.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/StartDialog.h"

#include <QTimer>
#include <cstdio>

namespace qloom::gui {

void RunTestHookFromEnvironment(MainWindow& main) {
    const QString folder = qEnvironmentVariable("QLOOM_TEST_OPEN");
    const QByteArray title = qgetenv("QLOOM_TEST_TITLE");
    if (folder.isEmpty())
        return;
    const QString next = qEnvironmentVariable("QLOOM_TEST_THEN_OPEN");
    const int nextAfterMs = qEnvironmentVariableIntValue("QLOOM_TEST_THEN_AFTER_MS");
    QTimer::singleShot(0, &main, [&main, folder, title, next, nextAfterMs] {
        if (!main.onStartChoice({StartChoice::Kind::OpenLastEdited, folder.toStdString()}))
            return;
        if (!title.isEmpty() && main.previewController())
            main.previewController()->handleIdeCommand(title.toStdString());
        std::fputs("qloom-test: ready\n", stdout);
        std::fflush(stdout);
        if (next.isEmpty())
            return;
        QTimer::singleShot(nextAfterMs, &main, [&main, next] {
            if (main.onStartChoice({StartChoice::Kind::OpenLastEdited, next.toStdString()})) {
                std::fputs("qloom-test: next ready\n", stdout);
                std::fflush(stdout);
            }
        });
    });
}

} // namespace qloom::gui
