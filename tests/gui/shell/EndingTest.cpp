// The real program, started as a desktop starts it, ended from outside: by the signals a logout,
// a terminal or `kill` sends, and by SIGKILL, which nothing can catch. Whatever the user had done
// must be in the project file afterwards. The program is driven through its test hook: it opens
// a project and takes a drag of the first menu, as the preview page reports one.

#include "model/Project.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

using namespace qloom;

namespace {
const QByteArray kEditingLayerMark = "/* IDE! */";

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class EndingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> program_;

    QString projectFolder() const { return dir_->path() + QStringLiteral("/project"); }
    QString scriptPath() const { return projectFolder() + QStringLiteral("/Qloomscript.js"); }
    QString configFolder() const { return dir_->path() + QStringLiteral("/home/.config"); }

    // A fresh user (HOME and XDG folders of its own) with a one-menu project at 10,10, saved as
    // the program leaves a project when it closes.
    void makeProject() {
        Project project;
        project.settings.projectFolder = projectFolder().toStdString();
        QVERIFY(QDir().mkpath(projectFolder()));
        QVERIFY(AddMenu(project).ok());
        QCOMPARE(project.menus[0].left, 10);
        QVERIFY(SaveScript(project, false).ok);
    }

    // Starts the program, which opens the project and moves the first menu to 68,111; returns
    // once it has done so.
    void startAndDrag() {
        const QString home = dir_->path() + QStringLiteral("/home");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_->path() + QStringLiteral("/run"));
        QVERIFY(QDir().mkpath(dir_->path() + QStringLiteral("/run")));
        QFile::setPermissions(dir_->path() + QStringLiteral("/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        env.insert(QStringLiteral("QLOOM_TEST_OPEN"), projectFolder());
        env.insert(QStringLiteral("QLOOM_TEST_TITLE"),
                   QStringLiteral("!qLoomIDE:docMouseMove(0,68,111)"));
        program_ = std::make_unique<QProcess>();
        program_->setProcessEnvironment(env);
        program_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program_->start(QStringLiteral(QLOOM_PROGRAM), {});
        QVERIFY(program_->waitForStarted(10000));
        QByteArray output;
        QElapsedTimer waited;
        waited.start();
        while (!output.contains("qloom-test: ready") && program_->state() == QProcess::Running &&
               waited.elapsed() < 60000) {
            program_->waitForReadyRead(200);
            output += program_->readAllStandardOutput();
        }
        QVERIFY2(output.contains("qloom-test: ready"), output.constData());
    }

    Project reread() {
        Project project;
        (void)LoadProject(scriptPath().toStdString(), project);
        return project;
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        makeProject();
    }
    void cleanup() {
        if (program_ && program_->state() != QProcess::NotRunning) {
            program_->kill();
            program_->waitForFinished(10000);
        }
        program_.reset();
        dir_.reset();
    }

    void aSignalEndsTheProgramAsItsCloseButtonDoes_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void aSignalEndsTheProgramAsItsCloseButtonDoes() {
        QFETCH(int, signal);
        startAndDrag();
        ::kill(static_cast<pid_t>(program_->processId()), signal);
        QVERIFY(program_->waitForFinished(20000));
        QCOMPARE(program_->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program_->exitCode(), 0);

        const Project saved = reread();
        QCOMPARE(saved.menuCount(), 1);
        QCOMPARE(saved.menus[0].left, 68);
        QCOMPARE(saved.menus[0].top, 111);
        QVERIFY(!readFile(scriptPath()).contains(kEditingLayerMark)); // the final variant
        const QSettings store(configFolder() + QStringLiteral("/Norvex/qLoom.conf"),
                              QSettings::IniFormat);
        QCOMPARE(store.value(QStringLiteral("LastEdited")).toString(), projectFolder());
    }

    void anEditReachesTheDiskBeforeAKillThreeSecondsLater() {
        startAndDrag();
        QTest::qWait(3000);
        program_->kill();
        QVERIFY(program_->waitForFinished(10000));

        const Project saved = reread();
        QCOMPARE(saved.menus[0].left, 68);
        QCOMPARE(saved.menus[0].top, 111);
        QVERIFY(readFile(scriptPath()).contains(kEditingLayerMark)); // the preview variant
    }
};

QTEST_GUILESS_MAIN(EndingTest)
#include "EndingTest.moc"
