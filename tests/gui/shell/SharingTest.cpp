// The real program sharing its project folder with other programs: a second qLoom, qloom-cli,
// an editor, a full disk, a folder renamed under it, a crash's leftovers and a read-only script.
// Whatever either side made must still be on disk afterwards, or kept beside it, and nothing is
// written over silently. The program is driven through its test hook: it opens the project,
// takes a drag of the first menu as the preview page reports one, and answers its boxes from a
// list, printing each box's text.

#include "model/Project.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qloom;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

Project projectOf(int menus, const std::string& folder) {
    Project project;
    project.settings.projectFolder = folder;
    for (int i = 0; i < menus; ++i)
        (void)AddMenu(project);
    return project;
}

// The script of a project with `menus` menus, as another program would write it.
QByteArray scriptWith(int menus) {
    const Project project = projectOf(menus, "/nowhere");
    const std::string text = AssembleScript(project, false);
    return QByteArray(text.data(), static_cast<int>(text.size()));
}

int menusIn(const QString& script) {
    Project project;
    if (LoadProject(script.toStdString(), project).outcome != LoadOutcome::Loaded)
        return -1;
    return project.menuCount();
}

// A started program and what it printed so far.
struct Running {
    std::unique_ptr<QProcess> process;
    QByteArray output;

    bool waitFor(const QByteArray& line, int ms = 60000) {
        QElapsedTimer waited;
        waited.start();
        while (!output.contains(line) && waited.elapsed() < ms) {
            if (process->state() != QProcess::Running && !process->waitForReadyRead(0))
                break;
            process->waitForReadyRead(200);
            output += process->readAllStandardOutput();
        }
        output += process->readAllStandardOutput();
        return output.contains(line);
    }
    void endWith(int signal) {
        if (process->state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(process->processId()), signal);
            process->waitForFinished(20000);
        }
        output += process->readAllStandardOutput();
    }
};

} // namespace

class SharingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::vector<std::unique_ptr<Running>> running_;
    QString runAs_; // a user name for setpriv, or empty to run as ourselves

    QString projectFolder() const { return dir_->path() + QStringLiteral("/project"); }
    QString scriptPath() const { return projectFolder() + QStringLiteral("/Qloomscript.js"); }

    void makeProject(int menus) {
        QVERIFY(QDir().mkpath(projectFolder()));
        Project project = projectOf(menus, projectFolder().toStdString());
        QVERIFY(SaveScript(project, false).ok);
    }

    // Starts the program for a user session named `session` (its own runtime folder, so two
    // sessions do not find each other's windows), opening `folder` through the test hook (or as
    // `qloom FOLDER` when `asArgument`), with a drag of the first menu when `drag`.
    Running& start(const QString& session, const QString& answers, bool drag = false,
                   bool asArgument = false) {
        const QString home = dir_->path() + QStringLiteral("/home-") + session;
        QDir().mkpath(home + QStringLiteral("/run"));
        QFile::setPermissions(home + QStringLiteral("/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        env.insert(QStringLiteral("QLOOM_TEST_ANSWERS"), answers);
        if (!asArgument)
            env.insert(QStringLiteral("QLOOM_TEST_OPEN"), projectFolder());
        if (drag)
            env.insert(QStringLiteral("QLOOM_TEST_TITLE"),
                       QStringLiteral("!qLoomIDE:docMouseMove(0,68,111)"));
        auto run = std::make_unique<Running>();
        run->process = std::make_unique<QProcess>();
        run->process->setProcessEnvironment(env);
        run->process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments;
        if (asArgument)
            arguments << projectFolder();
        if (runAs_.isEmpty()) {
            run->process->start(QStringLiteral(QLOOM_PROGRAM), arguments);
        } else {
            if (::geteuid() == 0)
                QProcess::execute(
                    QStringLiteral("chown"),
                    {QStringLiteral("-R"), runAs_ + QLatin1Char(':') + runAs_, dir_->path()});
            run->process->start(QStringLiteral("setpriv"),
                                QStringList{QStringLiteral("--reuid=") + runAs_,
                                            QStringLiteral("--regid=") + runAs_,
                                            QStringLiteral("--clear-groups"),
                                            QStringLiteral(QLOOM_PROGRAM)} +
                                    arguments);
        }
        run->process->waitForStarted(10000);
        running_.push_back(std::move(run));
        return *running_.back();
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        runAs_.clear();
    }
    void cleanup() {
        for (auto& run : running_)
            run->endWith(SIGKILL);
        running_.clear();
        if (dir_)
            ::umount2((dir_->path() + QStringLiteral("/project")).toLocal8Bit().constData(),
                      MNT_DETACH);
        dir_.reset();
    }

    // One editor per project: a second program (another session) is told who holds it and
    // leaves it alone; `qloom FOLDER` in the same session brings the holder to the front.
    void aSecondQloomIsToldWhoHoldsTheProject() {
        makeProject(1);
        Running& first = start(QStringLiteral("a"), QString());
        QVERIFY2(first.waitFor("qloom-test: ready"), first.output.constData());

        Running& second = start(QStringLiteral("b"), QStringLiteral("-1"));
        QVERIFY2(second.waitFor("qloom-test: box: This project is open in qloom (process " +
                                QByteArray::number(first.process->processId())),
                 second.output.constData());
        QVERIFY(!second.waitFor("qloom-test: ready", 2000));
        second.endWith(SIGTERM);
        QCOMPARE(menusIn(scriptPath()), 1);

        Running& again = start(QStringLiteral("a"), QString(), false, true);
        QVERIFY(again.process->waitForFinished(20000));
        QCOMPARE(again.process->exitCode(), 0);
        QVERIFY2(first.waitFor("qloom-test: raised", 5000), first.output.constData());

        // Taken over after the warning: the lock names the new holder.
        Running& taker = start(QStringLiteral("c"), QStringLiteral("0,yes"));
        QVERIFY2(taker.waitFor("qloom-test: ready"), taker.output.constData());
        QVERIFY2(taker.output.contains("qloom-test: box: Take the project over?"),
                 taker.output.constData());
        QByteArray holder("pid=");
        holder += QByteArray::number(taker.process->processId());
        QVERIFY(readFile(projectFolder() + QStringLiteral("/.qloom.lock")).contains(holder));
    }

    // Another program writes the script while the window, with nothing of its own unsaved, is
    // open: the window takes their version, and closing it keeps it.
    void anotherProgramsChangeIsTakenAndKept_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("qloom-cli write --force") << QStringLiteral("cli");
        QTest::newRow("editor: temporary file renamed") << QStringLiteral("rename");
        QTest::newRow("editor: rewritten in place") << QStringLiteral("inplace");
    }
    void anotherProgramsChangeIsTakenAndKept() {
        QFETCH(QString, how);
        makeProject(1);
        Running& window = start(QStringLiteral("a"), QString());
        QVERIFY2(window.waitFor("qloom-test: ready"), window.output.constData());
        QTest::qWait(500);
        if (how == QStringLiteral("cli")) {
            const QString menus = QStringLiteral("{\"menus\":[{},{},{},{},{}]}");
            QProcess cli;
            cli.start(QStringLiteral(QLOOM_CLI_PROGRAM),
                      {QStringLiteral("write"), projectFolder()});
            cli.write(menus.toUtf8());
            cli.closeWriteChannel();
            QVERIFY(cli.waitForFinished(10000));
            QCOMPARE(cli.exitCode(), 3); // refused: the project is open
            cli.start(QStringLiteral(QLOOM_CLI_PROGRAM),
                      {QStringLiteral("write"), projectFolder(), QStringLiteral("--force")});
            cli.write(menus.toUtf8());
            cli.closeWriteChannel();
            QVERIFY(cli.waitForFinished(10000));
            QCOMPARE(cli.exitCode(), 0);
        } else if (how == QStringLiteral("rename")) {
            writeFile(projectFolder() + QStringLiteral("/.edit.tmp"), scriptWith(5));
            QVERIFY(::rename((projectFolder() + QStringLiteral("/.edit.tmp")).toLocal8Bit(),
                             scriptPath().toLocal8Bit()) == 0);
        } else {
            writeFile(scriptPath(), scriptWith(5));
        }
        QTest::qWait(3500); // longer than an autosave takes
        QCOMPARE(menusIn(scriptPath()), 5);
        window.endWith(SIGTERM); // closes as the close button does: the final save
        QCOMPARE(menusIn(scriptPath()), 5);
    }

    // A full disk: the edit is not lost and not marked saved; once there is room it is written
    // within seconds, without another edit.
    void aSaveThatFailsOnAFullDiskIsRetried() {
        QVERIFY(QDir().mkpath(projectFolder()));
        if (::geteuid() != 0 || ::mount("tmpfs", projectFolder().toLocal8Bit().constData(), "tmpfs",
                                        0, "size=512k") != 0)
            QSKIP("mounting a small tmpfs needs root");
        makeProject(1);
        const QString filler = projectFolder() + QStringLiteral("/filler");
        {
            QFile fill(filler);
            QVERIFY(fill.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (fill.write(block) == block.size() && fill.flush()) {
            }
        }
        const QByteArray before = readFile(scriptPath());
        Running& window = start(QStringLiteral("a"), QString(), true);
        QVERIFY2(window.waitFor("qloom-test: ready"), window.output.constData());
        QTest::qWait(3000);
        QCOMPARE(readFile(scriptPath()), before); // nothing fit

        QVERIFY(QFile::remove(filler));
        QTest::qWait(6000); // a retry comes within a few seconds
        Project saved;
        QVERIFY(LoadProject(scriptPath().toStdString(), saved).outcome == LoadOutcome::Loaded);
        QCOMPARE(saved.menus[0].left, 68);
        QCOMPARE(saved.menus[0].top, 111);
        window.endWith(SIGKILL);
    }

    // The project folder renamed while open: no half project appears at the old place; saved
    // there on request, it is whole: the page and the pictures come from where they went.
    void aRenamedFolderIsSavedWhole() {
        makeProject(1);
        const QByteArray page = "<HTML><HEAD><SCRIPT LANGUAGE=\"JavaScript\" "
                                "SRC=\"Qloomscript.js\"></SCRIPT></HEAD><BODY>mine</BODY></HTML>";
        writeFile(projectFolder() + QStringLiteral("/Temp.html"), page);
        QDir().mkpath(projectFolder() + QStringLiteral("/img"));
        writeFile(projectFolder() + QStringLiteral("/img/logo.gif"), "GIF89a-picture");
        Running& window = start(QStringLiteral("a"), QStringLiteral("0"), true);
        QVERIFY2(window.waitFor("qloom-test: ready"), window.output.constData());
        QTest::qWait(3000);
        const QString moved = dir_->path() + QStringLiteral("/moved");
        QVERIFY(QDir().rename(projectFolder(), moved));
        QVERIFY2(window.waitFor("qloom-test: box: The project folder " +
                                projectFolder().toLocal8Bit() + " was renamed"),
                 window.output.constData());
        QTest::qWait(1500);
        QCOMPARE(readFile(projectFolder() + QStringLiteral("/Temp.html")), page);
        QCOMPARE(readFile(projectFolder() + QStringLiteral("/img/logo.gif")),
                 QByteArray("GIF89a-picture"));
        Project saved;
        QVERIFY(LoadProject(scriptPath().toStdString(), saved).outcome == LoadOutcome::Loaded);
        QCOMPARE(saved.menus[0].left, 68);
        window.endWith(SIGTERM);
    }

    // A crash during a save leaves a hidden temporary file; opening the project removes it.
    void aCrashLeftoverIsRemovedOnOpening() {
        makeProject(1);
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        const QString leftover =
            projectFolder() + QStringLiteral("/.Qloomscript.js.saving-%1-1").arg(child);
        writeFile(leftover, QByteArray(300000, 'x'));
        Running& window = start(QStringLiteral("a"), QString());
        QVERIFY2(window.waitFor("qloom-test: ready"), window.output.constData());
        QVERIFY(!QFile::exists(leftover));
        window.endWith(SIGTERM);
    }

    // A script its user may not write: a clear note, and it stays as it was, edits or not.
    void aReadOnlyScriptIsNotReplaced() {
        if (::geteuid() == 0) {
            if (QProcess::execute(QStringLiteral("setpriv"),
                                  {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                   QStringLiteral("--clear-groups"), QStringLiteral("test"),
                                   QStringLiteral("-x"), QStringLiteral(QLOOM_PROGRAM)}) != 0)
                QSKIP("no normal user can run the program here (setpriv, or a private build "
                      "folder)");
            runAs_ = QStringLiteral("65534"); // nobody
        }
        makeProject(1);
        QFile::setPermissions(scriptPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther);
        const QByteArray before = readFile(scriptPath());
        Running& window = start(QStringLiteral("a"), QString(), true);
        QVERIFY2(window.waitFor("qloom-test: ready"), window.output.constData());
        QVERIFY2(window.output.contains("is read-only: qLoom shows the project"),
                 window.output.constData());
        QTest::qWait(3000);
        window.endWith(SIGTERM);
        QCOMPARE(readFile(scriptPath()), before);
    }
};

QTEST_GUILESS_MAIN(SharingTest)
#include "SharingTest.moc"
