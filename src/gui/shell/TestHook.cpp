#include "gui/shell/TestHook.h"

#include "gui/preview/PreviewController.h"
#include "gui/shell/FolderChooser.h"
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
        main.folderChooser()->setPath(folder);
        if (!main.startDialog()->openProjectFolder())
            return;
        if (!title.isEmpty() && main.previewController())
            main.previewController()->handleIdeCommand(title.toStdString());
        std::fputs("qloom-test: ready\n", stdout);
        std::fflush(stdout);
        if (next.isEmpty())
            return;
        QTimer::singleShot(nextAfterMs, &main, [&main, next] {
            main.folderChooser()->setPath(next);
            if (main.startDialog()->openProjectFolder()) {
                std::fputs("qloom-test: next ready\n", stdout);
                std::fflush(stdout);
            }
        });
    });
}

} // namespace qloom::gui
