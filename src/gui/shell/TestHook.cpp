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
    QTimer::singleShot(0, &main, [&main, folder, title] {
        if (!main.onStartChoice({StartChoice::Kind::OpenLastEdited, folder.toStdString()}))
            return;
        if (!title.isEmpty() && main.previewController())
            main.previewController()->handleIdeCommand(title.toStdString());
        std::fputs("qloom-test: ready\n", stdout);
        std::fflush(stdout);
    });
}

} // namespace qloom::gui
