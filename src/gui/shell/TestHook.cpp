#include "gui/shell/TestHook.h"

#include "gui/common/MessageBox.h"
#include "gui/preview/PreviewController.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/StartDialog.h"

#include <QTimer>
#include <cstdio>

namespace qloom::gui {

void PrepareTestAnswersFromEnvironment() {
    const QString answers = qEnvironmentVariable("QLOOM_TEST_ANSWERS");
    if (answers.isNull())
        return;
    MessageBox::setTestMode(true);
    MessageBox::setShownHandler([](const QString& text) {
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(stdout, "qloom-test: box: %s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    });
    for (const QString& answer : answers.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString word = answer.trimmed().toLower();
        bool number = false;
        const int index = word.toInt(&number);
        if (number)
            MessageBox::setNextChoice(index);
        else if (word == QStringLiteral("yes"))
            MessageBox::setNextAnswer(QMessageBox::Yes);
        else if (word == QStringLiteral("no"))
            MessageBox::setNextAnswer(QMessageBox::No);
        else if (word == QStringLiteral("cancel"))
            MessageBox::setNextAnswer(QMessageBox::Cancel);
        else
            MessageBox::setNextAnswer(QMessageBox::Ok);
    }
}

void RunTestHookFromEnvironment(MainWindow& main) {
    if (qEnvironmentVariableIsSet("QLOOM_TEST_ANSWERS")) {
        QObject::connect(main.session()->instanceChannel(), &InstanceChannel::raiseRequested, &main,
                         [] {
                             std::fputs("qloom-test: raised\n", stdout);
                             std::fflush(stdout);
                         });
    }
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
