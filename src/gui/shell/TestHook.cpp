#include "gui/shell/TestHook.h"

#include "gui/common/Prompter.h"
#include "gui/preview/PreviewController.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/StartDialog.h"

#include <QList>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace qloom::gui {

namespace {

// Answers every box from QLOOM_TEST_ANSWERS, or with its default when the answers run out, and
// prints its text as one line for the test that reads the program's output.
class ScriptedPrompter final : public Prompter {
public:
    explicit ScriptedPrompter(const QString& answers) {
        for (const QString& answer : answers.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString word = answer.trimmed().toLower();
            bool number = false;
            const int index = word.toInt(&number);
            if (number)
                choices_ << index;
            else if (word == QStringLiteral("yes"))
                answers_ << QMessageBox::Yes;
            else if (word == QStringLiteral("no"))
                answers_ << QMessageBox::No;
            else if (word == QStringLiteral("cancel"))
                answers_ << QMessageBox::Cancel;
            else
                answers_ << QMessageBox::Ok;
        }
    }

    QMessageBox::StandardButton ask(QWidget*, const QString&, const QString& text,
                                    QMessageBox::Icon, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton defaultButton) override {
        print(text);
        return answers_.isEmpty() ? defaultButton : answers_.takeFirst();
    }
    int choose(QWidget*, const QString& text, QMessageBox::Icon, const QStringList&,
               int defaultIndex) override {
        print(text);
        return choices_.isEmpty() ? defaultIndex : choices_.takeFirst();
    }

private:
    static void print(const QString& text) {
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(stdout, "qloom-test: box: %s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    }

    QList<QMessageBox::StandardButton> answers_;
    QList<int> choices_;
};

} // namespace

void PrepareTestAnswersFromEnvironment(MainWindow& main) {
    const QString answers = qEnvironmentVariable("QLOOM_TEST_ANSWERS");
    if (!answers.isNull())
        main.session()->setPrompter(std::make_unique<ScriptedPrompter>(answers));
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
