// The shell end to end, offscreen: start dialog, folder chooser, main window frame.

#include "LentPrompter.h"
#include "RecordingPrompter.h"
#include "gui/common/BoxPrompter.h"
#include "gui/common/DesktopShell.h"
#include "gui/common/HelpWindow.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/preview/PreviewController.h"
#include "gui/shell/CommandLine.h"
#include "gui/shell/GuardedApplication.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/CheckListModel.h"
#include "gui/shell/internal/FinalizedDialog.h"
#include "gui/shell/internal/FolderChooser.h"
#include "gui/shell/internal/MainMenuBar.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "gui/shell/internal/StartDialog.h"
#include "gui/shell/internal/StatusIndicators.h"
#include "model/Messages.h"
#include "script/FixedTexts.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace qloom;
using namespace qloom::gui;

namespace {
QString q(std::string_view text) {
    return toQ(text);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs `action` on the dialog as soon as it is up modally (exec() blocks the caller), then
// makes sure the dialog is gone.
void whenModal(QDialog* dialog, std::function<void()> action) {
    auto* timer = new QTimer(dialog);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, timer, action] {
        if (QApplication::activeModalWidget() != dialog)
            return;
        timer->stop();
        timer->deleteLater();
        action();
        // A failed check inside `action` returns early; never leave the test hanging in exec().
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}
} // namespace

class ShellGuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    RecordingPrompter boxes_; // outlives every program the test starts
    std::unique_ptr<MainWindow> main_;
    QStringList opened_;

    QString programFolder() const { return dir_->path() + QStringLiteral("/bin/"); }
    // Not there at start: the program makes it on first use.
    QString projectsFolder() const {
        return dir_->path() + QStringLiteral("/Documents/qLoom Projects/");
    }
    template <class T> T* child(QWidget* in, const char* name) {
        T* found = in->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QPushButton* startButton(const char* name) {
        return child<QPushButton>(main_->startDialog(), name);
    }
    void click(QWidget* in, const char* name) {
        QTest::mouseClick(child<QPushButton>(in, name), Qt::LeftButton);
    }
    QListWidget* menuList() { return child<QListWidget>(main_.get(), "menuList"); }
    void startProgram() { startProgramWith(QString()); }
    void startProgramWith(const QString& commandLineFolder) {
        main_ = std::make_unique<MainWindow>(programFolder(), projectsFolder());
        main_->session()->setPrompter(std::make_unique<LentPrompter>(boxes_));
        // As the program's main routine does: main() below makes the application a guarded one.
        static_cast<GuardedApplication*>(QCoreApplication::instance())
            ->reportErrorsThrough(main_->session());
        main_->show();
        main_->createOtherWindows(commandLineFolder);
    }
    // "New Menu Project", accepting the chooser after `adjust` has worked on it.
    void newProject(std::function<void(FolderChooser*)> adjust = {}) {
        FolderChooser* chooser = main_->folderChooser();
        whenModal(chooser, [this, chooser, adjust] {
            if (adjust)
                adjust(chooser);
            click(chooser, "okButton");
        });
        click(main_->startDialog(), "newProjectButton");
    }
    void openProject(const QString& folder) {
        FolderChooser* chooser = main_->folderChooser();
        whenModal(chooser, [this, chooser, folder] {
            chooser->setPath(folder);
            click(chooser, "okButton");
        });
        click(main_->startDialog(), "openProjectButton");
    }
    // share/qloom/help beside the program's bin folder.
    QString helpIndex() const {
        return dir_->path() + QStringLiteral("/share/qloom/help/index.htm");
    }
    QString lastEdited() { return UserSettings::value(UserSettings::kLastEdited).toString(); }

private Q_SLOTS:
    void initTestCase() {
        DesktopShell::setOpener([this](const QString& path) { opened_ << path; });
        QStandardPaths::setTestModeEnabled(true); // js.log's folder stays out of the real home
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(programFolder()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           dir_->path() + QStringLiteral("/settings"));
        boxes_.reset();
        opened_.clear();
        startProgram();
    }

    void cleanup() {
        main_.reset();
        dir_.reset();
    }

    void startsInTheStartDialogWithTheMainWindowDisabled() {
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->isEnabled());
        QVERIFY(!child<QPushButton>(main_.get(), "helpButton")->isEnabled());
        QCOMPARE(startButton("quitOrCancelButton")->text(), q(msg::kQuitCaption));
        QVERIFY(!startButton("openLastEditedButton")->isEnabled());
        // The window manager's close and Esc leave it up; closing the disabled main window (task
        // bar, Alt+F4) does nothing either.
        QSignalSpy quit(main_.get(), &MainWindow::quitRequested);
        main_->startDialog()->close();
        QTest::keyClick(main_->startDialog(), Qt::Key_Escape);
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->close());
        QVERIFY(main_->isVisible());
        QCOMPARE(quit.count(), 0);
        QVERIFY(!QFileInfo::exists(projectsFolder())); // made on first use, not at start
        click(main_->startDialog(), "quitOrCancelButton");
        QCOMPARE(quit.count(), 1);
        main_.reset();
        QVERIFY(lastEdited().isEmpty()); // no project was ever active
    }

    void newProjectInTheProposedFolder() {
        QString shownPath;
        QString firstProposal;
        FolderChooser* chooser = main_->folderChooser();
        whenModal(chooser, [&] {
            firstProposal = chooser->path();
            click(chooser, "cancelButton");
        });
        click(main_->startDialog(), "newProjectButton");
        QCOMPARE(firstProposal, projectsFolder() + QStringLiteral("NewProject_01"));
        // Looking and cancelling leaves the documents folder as it was.
        QVERIFY(!QFileInfo::exists(projectsFolder()));
        QVERIFY(QDir().mkpath(projectsFolder() + QStringLiteral("NewProject_01")));
        QString selected;
        newProject([&](FolderChooser* chooser) {
            shownPath = chooser->path();
            selected = child<QLineEdit>(chooser, "pathEdit")->selectedText();
        });
        QCOMPARE(shownPath, projectsFolder() + QStringLiteral("NewProject_02"));
        QCOMPARE(selected, shownPath); // typing replaces the proposal
        const QString folder = projectsFolder() + QStringLiteral("NewProject_02");
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);
        QVERIFY(QFile::exists(folder + QStringLiteral("/Qloomscript.js")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/Temp.html")));
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
        QVERIFY(child<QPushButton>(main_.get(), "helpButton")->isEnabled());
        QCOMPARE(child<QLabel>(main_.get(), "activeProjectLabel")->toolTip(), folder);
        QCOMPARE(menuList()->count(), 0);
    }

    void newProjectInAFolderPickedInTheList() {
        const QString picked = dir_->path() + QStringLiteral("/picked");
        QVERIFY(QDir().mkpath(picked));
        newProject([&picked](FolderChooser* chooser) {
            chooser->setCurrentFolder(picked);
            QCOMPARE(chooser->path(), picked); // the proposed name is dropped
            QVERIFY(chooser->listedFolders().contains(picked));
        });
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), picked);
        QVERIFY(QFile::exists(picked + QStringLiteral("/Qloomscript.js")));
    }

    void chooserBrowsesWithoutAcceptingAndCancelChangesNothing() {
        QVERIFY(QDir().mkpath(projectsFolder() + QStringLiteral("sub/inner")));
        FolderChooser* chooser = main_->folderChooser();
        QString openingPath;
        QStringList listed;
        bool upAfterEnter = false;
        whenModal(chooser, [&] {
            openingPath = chooser->path();
            auto* list = child<QListWidget>(chooser, "folderList");
            const QString sub = projectsFolder() + QStringLiteral("sub");
            const auto items = list->findItems(QStringLiteral("sub"), Qt::MatchEndsWith);
            QCOMPARE(items.size(), 1);
            list->setCurrentItem(items.first());
            QTest::keyClick(list, Qt::Key_Return);
            upAfterEnter = chooser->isVisible();
            listed = chooser->listedFolders();
            QCOMPARE(chooser->path(), sub);
            click(chooser, "cancelButton");
        });
        click(main_->startDialog(), "openProjectButton");
        QCOMPARE(openingPath, projectsFolder()); // no proposed name: ends in the separator
        QVERIFY(upAfterEnter);
        QCOMPARE(listed.first(), QStringLiteral("/"));
        QCOMPARE(listed.last(), projectsFolder() + QStringLiteral("sub/inner"));
        QVERIFY(!chooser->accepted());
        QVERIFY(boxes_.all.isEmpty());
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(main_->session()->projectForTest().settings.projectFolder.empty());
    }

    void newProjectOverAnExistingOneAnsweredNoKeepsTheTemplate() {
        const QString folder = dir_->path() + QStringLiteral("/existing");
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        click(main_.get(), "addMenuButton");
        click(main_.get(), "addMenuButton");
        writeFile(folder + QStringLiteral("/Temp.html"), "my own page\n");
        click(main_.get(), "projectsButton");

        boxes_.answers << QMessageBox::No;
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        QVERIFY(boxes_.all.contains(q(msg::kScriptExistsQuestion)));
        QCOMPARE(menuList()->count(), 0);
        QCOMPARE(readFile(folder + QStringLiteral("/Temp.html")), QByteArray("my own page\n"));
        Project reread;
        const LoadResult loaded =
            LoadProject(fromQ(folder + QStringLiteral("/Qloomscript.js")), reread);
        QVERIFY(loaded.outcome == LoadOutcome::Loaded);
        QCOMPARE(reread.menuCount(), 0);

        // Yes opens the project that is there instead.
        click(main_.get(), "addMenuButton");
        click(main_.get(), "projectsButton");
        boxes_.answers << QMessageBox::Yes;
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        QCOMPARE(menuList()->count(), 1);
        QCOMPARE(menuList()->item(0)->text(), QStringLiteral("Menu 1"));
    }

    // The real box, as a user meets it: Escape and the close button must call the New off and
    // leave the project that is there as it was, byte for byte.
    void leavingTheWarningWithoutAnAnswerKeepsTheExistingProject_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close button") << false;
    }
    void leavingTheWarningWithoutAnAnswerKeepsTheExistingProject() {
        QFETCH(bool, escape);
        const QString folder = dir_->path() + QStringLiteral("/existing");
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        click(main_.get(), "addMenuButton");
        click(main_.get(), "projectsButton");
        const QString script = folder + QStringLiteral("/Qloomscript.js");
        const QByteArray before = readFile(script);
        const QStringList filesBefore = QDir(folder).entryList(QDir::Files);
        QVERIFY(!before.isEmpty());

        QString caption;
        QStringList buttons;
        boxes_.onRealBox = [&](QMessageBox& box) {
            caption = box.windowTitle();
            for (QAbstractButton* button : box.buttons())
                if (button->isVisible())
                    buttons << button->text();
            if (escape)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.close();
        };
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        boxes_.onRealBox = nullptr;

        QCOMPARE(caption, q(msg::kScriptExistsCaption));
        QCOMPARE(buttons, (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));
        QCOMPARE(readFile(script), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), filesBefore);
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->isEnabled());
        QCOMPARE(menuList()->count(), 1);

        // The other questions answer Escape and the close button with the harmless choice too.
        click(main_->startDialog(), "quitOrCancelButton");
        boxes_.onRealBox = [escape](QMessageBox& box) {
            if (escape)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.close();
        };
        click(main_.get(), "deleteButton");
        boxes_.onRealBox = nullptr;
        QCOMPARE(main_->session()->projectForTest().menuCount(), 1);
    }

    void newProjectWithAMissingParentIsRefused() {
        const QString path = dir_->path() + QStringLiteral("/no/such");
        newProject([&path](FolderChooser* chooser) { chooser->setPath(path); });
        // The name is fine: the message gives the system's reason instead of blaming it.
        QCOMPARE(boxes_.all.value(0), q(msg::kCannotCreateFolderHead) + path +
                                          QStringLiteral("\r\n\r\n") +
                                          QString::fromLocal8Bit(std::strerror(ENOENT)));
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->isEnabled());
        QVERIFY(main_->session()->projectForTest().settings.projectFolder.empty());
    }

    void openingAFolderWithoutScriptOrWithAForeignFileStaysInTheStartDialog() {
        const QString folder = dir_->path() + QStringLiteral("/plain");
        QVERIFY(QDir().mkpath(folder));
        openProject(folder);
        QCOMPARE(boxes_.all, QStringList{q(msg::kScriptNotFound)});
        QVERIFY(main_->startDialog()->isVisible());

        boxes_.clear();
        writeFile(folder + QStringLiteral("/Qloomscript.js"), "alert('not a menu script');\n");
        openProject(folder);
        QVERIFY(!boxes_.all.isEmpty());
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->isEnabled());
        QVERIFY(main_->session()->projectForTest().settings.projectFolder.empty());
    }

    void lastEditedIsOfferedOnlyAtStartUpAndOnlyForAnExistingFolder() {
        const QString folder = dir_->path() + QStringLiteral("/last");
        QVERIFY(UserSettings::setValue(UserSettings::kLastEdited,
                                       QString(dir_->path() + QStringLiteral("/gone")))
                    .ok);
        main_.reset();
        startProgram();
        QVERIFY(!startButton("openLastEditedButton")->isEnabled());

        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        click(main_.get(), "addMenuButton");
        QVERIFY(main_->close());
        main_.reset();
        QCOMPARE(lastEdited(), folder);

        startProgram();
        QPushButton* last = startButton("openLastEditedButton");
        QVERIFY(last->isEnabled());
        QCOMPARE(last->toolTip(), folder);
        QTest::mouseClick(last, Qt::LeftButton);
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);
        QCOMPARE(menuList()->count(), 1);

        // After "Projects..." the dialog is in editor mode for good.
        click(main_.get(), "projectsButton");
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!last->isEnabled());
        QCOMPARE(startButton("quitOrCancelButton")->text(), q(msg::kCancelCaption));
        click(main_->startDialog(), "quitOrCancelButton");
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);

        // In editor mode Escape is that Cancel, as in any dialog offering one.
        click(main_.get(), "projectsButton");
        QVERIFY(main_->startDialog()->isVisible());
        QTest::keyClick(main_->startDialog(), Qt::Key_Escape);
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);
    }

    void aLastEditedThatCannotBeRecordedIsReported() {
        newProject();
        const QString blocker = dir_->path() + QStringLiteral("/settings-file");
        writeFile(blocker, "x");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker);
        boxes_.clear();
        main_.reset();
        QCOMPARE(boxes_.all.size(), 1);
        QVERIFY(boxes_.all.value(0).startsWith(QStringLiteral("Cannot create file ") + blocker));
    }

    void enterPressesTheFocusedButtonNotTheDefaultOne() {
        // Tabbing to Cancel in the folder chooser and pressing Enter must not accept it.
        FolderChooser* chooser = main_->folderChooser();
        whenModal(chooser, [this, chooser] {
            auto* cancel = child<QPushButton>(chooser, "cancelButton");
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
        });
        click(main_->startDialog(), "newProjectButton");
        QVERIFY(!chooser->accepted());
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(main_->session()->projectForTest().settings.projectFolder.empty());

        // In the finalize dialog Enter on "Browse Project Folder" browses and keeps it open.
        newProject();
        FinalizedDialog* dialog = main_->finalizedDialog();
        bool upAfterEnter = false;
        whenModal(dialog, [&] {
            auto* browse = child<QPushButton>(dialog, "browseButton");
            browse->setFocus();
            QTest::keyClick(browse, Qt::Key_Return);
            upAfterEnter = dialog->isVisible();
        });
        click(main_.get(), "finalizeButton");
        QVERIFY(upAfterEnter);
        QCOMPARE(opened_,
                 QStringList{q(main_->session()->projectForTest().settings.projectFolder)});

        // In the start dialog Enter on a focused button presses it.
        click(main_.get(), "projectsButton");
        QPushButton* cancel = startButton("quitOrCancelButton");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
    }

    void aFolderNameThatLooksLikeHtmlIsShownAsItIs() {
        // Shown the way Qt shows a tool tip: as HTML when it looks like HTML.
        auto shownTip = [](const QString& tip) {
            QTextDocument document;
            if (Qt::mightBeRichText(tip))
                document.setHtml(tip);
            else
                document.setPlainText(tip);
            return document.toPlainText();
        };
        const QString folder = dir_->path() + QStringLiteral("/a<b>c &amp; d");
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);
        auto* label = child<QLabel>(main_.get(), "activeProjectLabel");
        QCOMPARE(shownTip(label->toolTip()), folder);
        // Drawn as HTML the label would be narrower than its text.
        QVERIFY(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(label->text()));

        QVERIFY(main_->close());
        main_.reset();
        startProgram();
        QPushButton* last = startButton("openLastEditedButton");
        QCOMPARE(shownTip(last->toolTip()), folder);
        QTest::mouseClick(last, Qt::LeftButton);
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);

        // Message boxes, too, show such a path as it is.
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&format] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                format = box->textFormat();
                box->accept();
            }
        });
        BoxPrompter().message(main_.get(), folder);
        QCOMPARE(format, Qt::PlainText);
    }

    // A choice of the real boxes (taking a project over, a file changed on disk): Return gives the
    // default button, Escape and the close button neither of the offered ones.
    void aRealChoiceAnswersEscapeAndCloseWithNeither_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("Return") << int(Qt::Key_Return) << 1;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << -1;
        QTest::newRow("close button") << 0 << -1;
    }
    void aRealChoiceAnswersEscapeAndCloseWithNeither() {
        QFETCH(int, key);
        QFETCH(int, expected);
        QStringList buttons;
        QTimer::singleShot(0, [&buttons, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->close();
        });
        const int answer =
            BoxPrompter().choose(main_.get(), QStringLiteral("Which one?"), QMessageBox::Warning,
                                 {QStringLiteral("Theirs"), QStringLiteral("Mine")}, 1);
        QCOMPARE(answer, expected);
        QVERIFY(buttons.contains(QStringLiteral("Theirs")) &&
                buttons.contains(QStringLiteral("Mine")));
    }

    void addAndDeleteFollowTheTableAndAskFirst() {
        newProject();
        click(main_.get(), "deleteButton");
        QCOMPARE(boxes_.all, QStringList{q(msg::kNothingToDelete)});

        for (int i = 0; i < 3; ++i)
            click(main_.get(), "addMenuButton");
        QCOMPARE(menuList()->count(), 3);
        QCOMPARE(menuList()->item(2)->text(), QStringLiteral("Menu 3"));
        Project& table = main_->session()->projectForTest();
        QCOMPARE(table.selected, 2);
        QCOMPARE(table.menus[1].left, 162);

        table.selected = 1;
        boxes_.clear();
        click(main_.get(), "deleteButton"); // unanswered: "No" is the default
        QCOMPARE(boxes_.all, QStringList{QStringLiteral("        Delete Menu 2 ?")});
        QCOMPARE(table.menuCount(), 3);

        boxes_.answers << QMessageBox::Yes;
        click(main_.get(), "deleteButton");
        QCOMPARE(table.menuCount(), 2);
        QCOMPARE(table.menus[1].left, 314); // the former third menu moved up
        QCOMPARE(menuList()->count(), 2);
        QCOMPARE(menuList()->item(1)->text(), QStringLiteral("Menu 2"));
        QCOMPARE(menuList()->currentRow(), 1);

        // A selection beyond the table (a page may report any index) deletes nothing, and the
        // list keeps naming every row.
        table.selected = 7;
        boxes_.answers << QMessageBox::Yes;
        click(main_.get(), "deleteButton");
        QCOMPARE(table.menuCount(), 2);
        QCOMPARE(menuList()->count(), 2);
        table.selected = 1;

        boxes_.answers << QMessageBox::Yes;
        click(main_.get(), "deleteButton");
        boxes_.answers << QMessageBox::Yes;
        click(main_.get(), "deleteButton");
        QCOMPARE(table.menuCount(), 0);
        QCOMPARE(menuList()->count(), 0);
        Project reread;
        (void)LoadProject(
            main_->session()->projectForTest().settings.projectFolder + "/Qloomscript.js", reread);
        QCOMPARE(reread.menuCount(), 0); // every change reached the file
    }

    void closingSavesTheFinalVariantWithoutAsking() {
        newProject();
        click(main_.get(), "addMenuButton");
        const QString script = q(main_->session()->projectForTest().settings.projectFolder) +
                               QStringLiteral("/Qloomscript.js");
        QVERIFY(readFile(script).contains("/* IDE! */"));
        main_->session()->projectForTest().menus[0].left = 77; // an edit the preview has not seen
        QVERIFY(main_->close());
        QVERIFY(boxes_.all.isEmpty());
        const QByteArray saved = readFile(script);
        QVERIFY(!saved.contains("/* IDE! */"));
        Project reread;
        (void)LoadProject(fromQ(script), reread);
        QCOMPARE(reread.menus[0].left, 77);
    }

    // A menu chosen in the list goes through the session: the editor shows it, and the autosave,
    // which no timer drives without a change, writes the new selection within two seconds.
    void aMenuChosenInTheListIsShownAndSaved() {
        newProject();
        click(main_.get(), "addMenuButton");
        click(main_.get(), "addMenuButton");
        const Project& table = main_->session()->project();
        QCOMPARE(table.selected, 1);
        QVERIFY(table.menus[0].left != table.menus[1].left);
        const QString script = q(main_->session()->project().settings.projectFolder) +
                               QStringLiteral("/Qloomscript.js");
        QVERIFY(readFile(script).contains("iSelectedMenu=1"));
        auto* left = child<QLineEdit>(main_.get(), "leftEdit");
        QCOMPARE(left->text(), QString::number(table.menus[1].left));
        QList<int32_t> selections;
        connect(main_->session(), &ProjectSession::selectionChanged, this,
                [&selections](int32_t row) { selections << row; });

        QListWidget* list = menuList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(selections, QList<int32_t>{0});
        QCOMPARE(table.selected, 0);
        QCOMPARE(left->text(), QString::number(table.menus[0].left));
        QTRY_VERIFY_WITH_TIMEOUT(readFile(script).contains("iSelectedMenu=0"), 2000);
        QVERIFY(!main_->previewController()->previewMarkedStale()); // a choice is no edit
    }

    // An edit no save has seen reaches the file within two seconds, as the preview variant, and
    // nothing the user sees moves: the caption swap happens in the file only, the caption editor
    // keeps its text and "Update Preview" its stale mark. A final variant stays until an edit.
    void editsReachTheFileOnTheirOwnWithoutTouchingWhatTheUserSees() {
        newProject();
        click(main_.get(), "addMenuButton");
        const QString script = q(main_->session()->projectForTest().settings.projectFolder) +
                               QStringLiteral("/Qloomscript.js");
        auto* caption = child<QPlainTextEdit>(main_.get(), "captionHtmlEdit");
        QCOMPARE(caption->toPlainText(), QStringLiteral("Caption"));
        QTest::mouseClick(child<QRadioButton>(main_.get(), "verticalRadio"), Qt::LeftButton);
        main_->previewController()->handleIdeCommand("!qLoomIDE:docMouseMove(0,68,111)");
        QVERIFY(main_->previewController()->previewMarkedStale());

        Project reread;
        QTRY_VERIFY_WITH_TIMEOUT(
            ((void)LoadProject(fromQ(script), reread), reread.menus[0].left == 68), 2000);
        QCOMPARE(reread.menus[0].orientation, 1);
        QCOMPARE(reread.menus[0].captionHtml, std::string(kVerticalDefaultCaption));
        QVERIFY(readFile(script).contains("/* IDE! */"));
        QCOMPARE(main_->session()->projectForTest().menus[0].captionHtml,
                 std::string(kDefaultCaption));
        QCOMPARE(caption->toPlainText(), QStringLiteral("Caption"));
        QVERIFY(main_->previewController()->previewMarkedStale());

        whenModal(main_->finalizedDialog(),
                  [this] { click(main_->finalizedDialog(), "okButton"); });
        click(main_.get(), "finalizeButton");
        const QByteArray final = readFile(script);
        QVERIFY(!final.contains("/* IDE! */"));
        QCOMPARE(main_->session()->autosave(), SaveTracker::Outcome::Unchanged);
        QCOMPARE(readFile(script), final);
    }

    void aFailedSaveKeepsTheWindowAndTheProject() {
        newProject();
        const QString blocker = dir_->path() + QStringLiteral("/file");
        writeFile(blocker, "x");
        main_->session()->projectForTest().settings.projectFolder =
            fromQ(blocker + QStringLiteral("/sub"));
        click(main_.get(), "projectsButton");
        QCOMPARE(boxes_.all.size(), 1);
        QVERIFY(boxes_.all.value(0).startsWith(QStringLiteral("Cannot create file")));
        QVERIFY(boxes_.all.value(0).endsWith(QLatin1Char('.')));
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
        // Closing reports the failure and asks before giving up the unsaved state.
        boxes_.clear();
        QVERIFY(!main_->close()); // "No" is the default
        QCOMPARE(boxes_.all.size(), 2);
        QCOMPARE(boxes_.all.value(1), q(msg::kCloseWithoutSaving));
        QVERIFY(main_->isVisible());
        boxes_.answers << QMessageBox::Ok;
        boxes_.answers << QMessageBox::Yes;
        QSignalSpy quit(main_.get(), &MainWindow::quitRequested);
        QVERIFY(main_->close());
        QCOMPARE(quit.count(), 1);
    }

    void finalizeShowsTheLinesAndKeepsTheDialogForBrowsing() {
        newProject();
        const QString folder = q(main_->session()->projectForTest().settings.projectFolder);
        FinalizedDialog* dialog = main_->finalizedDialog();
        bool helpWhileUp = true;
        QWidget* helpOwner = nullptr;
        whenModal(dialog, [&] {
            helpWhileUp = child<QPushButton>(main_.get(), "helpButton")->isEnabled();
            click(dialog, "browseButton");
            QVERIFY(dialog->isVisible());
            QTest::keyClick(dialog, Qt::Key_F1);
            // Owned by the modal dialog, or the dialog would block it.
            helpOwner = main_->helpWindow()->parentWidget();
            click(dialog, "okButton");
        });
        click(main_.get(), "finalizeButton");
        QVERIFY(!helpWhileUp);
        QVERIFY(child<QPushButton>(main_.get(), "helpButton")->isEnabled());
        QCOMPARE(opened_, QStringList{folder});
        QCOMPARE(helpOwner, dialog);
        // The dialog is gone; the help it opened stays.
        QVERIFY(main_->helpWindow()->isVisible());
        QCOMPARE(main_->helpWindow()->parentWidget(), main_.get());
        const QByteArray readMe = readFile(folder + QStringLiteral("/ReadMe.txt"));
        // Every line of the text, with the line ends Windows editors show.
        QCOMPARE(readMe.count("\r\n"),
                 qsizetype(std::count(ReadMeText().begin(), ReadMeText().end(), '\n')));
        QVERIFY(dialog->infoText().contains(
            QStringLiteral("<SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>")));
        QVERIFY(!readFile(folder + QStringLiteral("/Qloomscript.js")).contains("/* IDE! */"));
    }

    void statusLineShortensALongFolderWithinItsWidth() {
        const QString folder =
            QStringLiteral("/") + QString(300, QLatin1Char('w')) + QStringLiteral("/end");
        main_->setActiveProject(folder);
        auto* label = child<QLabel>(main_.get(), "activeProjectLabel");
        // Within the room the status row gives it, which follows the window's width.
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <=
                std::max(label->width(), 120));
        QVERIFY(label->text().startsWith(QStringLiteral("Active Project: /w")));
        QVERIFY(label->text().contains(QStringLiteral("...")));
        QVERIFY(label->text().endsWith(QStringLiteral("/end")));
        QCOMPARE(label->toolTip(), folder);
        main_->setActiveProject(QStringLiteral("/short"));
        QCOMPARE(label->text(), QStringLiteral("Active Project: /short"));

        // Minimising and restoring rebuild the line from the active project, with the same result.
        main_->session()->projectForTest().settings.projectFolder = fromQ(folder);
        main_->showMinimized();
        const QString shortened = label->text();
        QVERIFY(shortened.contains(QStringLiteral("...")));
        main_->showNormal();
        QCOMPARE(label->text(), shortened);
        // The first "Saved" beside it takes room from the label after the layout was done: the
        // text is shortened again rather than clipped.
        main_->statusIndicators()->showSaved(QDateTime::currentDateTime());
        QTRY_VERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QVERIFY(label->text().endsWith(QStringLiteral("/end")));
        main_->session()->projectForTest().settings.projectFolder.clear();
    }

    void stayOnTopFollowsTheBox() {
        newProject();
        auto* onTop = child<QCheckBox>(main_.get(), "stayOnTopBox");
        QTest::mouseClick(onTop, Qt::LeftButton);
        QVERIFY(main_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(main_->isVisible());
        QTest::mouseClick(onTop, Qt::LeftButton);
        QVERIFY(!main_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void tabWalksTheWindowInItsFixedOrder() {
        newProject();
        click(main_.get(), "addMenuButton");
        auto* tabs = child<QTabWidget>(main_.get(), "propertyTabs");
        // The editor's controls come between "on Top" and "Update Preview", the HTML tools
        // right after their text box; the Checks list is last.
        const auto chainOn = [&](int page) {
            tabs->setCurrentIndex(page);
            QStringList chain;
            QWidget* first = child<QPushButton>(main_.get(), "addMenuButton");
            QWidget* widget = first;
            do {
                if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(main_.get()) &&
                    widget->isEnabled())
                    chain << widget->objectName();
                widget = widget->nextInFocusChain();
            } while (widget != first);
            return chain.join(QLatin1Char(' '));
        };
        const QString head =
            QStringLiteral("addMenuButton deleteButton finalizeButton showPreviewButton "
                           "stayOnTopBox menuList propertyTabs qt_tabwidget_tabbar ");
        const QString tail = QStringLiteral(
            " updatePreviewButton projectsButton projectSettingsButton helpButton checksList");
        QCOMPARE(chainOn(0), head +
                                 QStringLiteral("leftEdit topEdit widthEdit captionHeightEdit "
                                                "mouseOverRadio mouseClickRadio floatingCheck "
                                                "horizontalRadio verticalRadio") +
                                 tail);
        QCOMPARE(
            chainOn(1),
            head +
                QStringLiteral("captionHtmlEdit addLineBreakButton addTextButton addLinkButton "
                               "addImageButton") +
                tail);
        // A new menu's bottom colour is transparent, so its swatch is hidden.
        QCOMPARE(chainOn(3),
                 head +
                     QStringLiteral("captionColorSwatch captionTransparentCheck bodyColorSwatch "
                                    "bodyTransparentCheck bottomTransparentCheck") +
                     tail);
        // The list stands left of the tabs; the HTML tools below the box of the shown tab.
        tabs->setCurrentIndex(1);
        const auto placed = [&](const char* name) {
            QWidget* widget = child<QWidget>(main_.get(), name);
            return QRect(widget->mapTo(main_.get(), QPoint(0, 0)), widget->size());
        };
        QVERIFY(placed("menuList").right() < placed("propertyTabs").left());
        QVERIFY(placed("propertyTabs").contains(placed("htmlToolsPanel")));
        QVERIFY(placed("captionHtmlEdit").bottom() <= placed("htmlToolsPanel").top());
    }

    void shortcutsTriggerTheirButtonsAndEveryStepUndoes() {
        newProject();
        const QString folder = q(main_->session()->projectForTest().settings.projectFolder);
        const Project& table = main_->session()->projectForTest();
        // Shortcuts belong to the active window.
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QSignalSpy added(child<QPushButton>(main_.get(), "addMenuButton"), &QPushButton::clicked);
        QTest::keyClick(main_.get(), Qt::Key_Insert);
        QTest::keyClick(main_.get(), Qt::Key_Insert);
        QCOMPARE(added.count(), 2);
        QCOMPARE(menuList()->count(), 2);

        // Delete in the menu list asks first, as the button does.
        menuList()->setFocus();
        QTest::keyClick(menuList(), Qt::Key_Delete); // the question's default answer is No
        QCOMPARE(boxes_.all.size(), 1);
        QCOMPARE(table.menuCount(), 2);
        boxes_.answers << QMessageBox::Yes;
        QTest::keyClick(menuList(), Qt::Key_Delete);
        QCOMPARE(table.menuCount(), 1);
        QCOMPARE(menuList()->count(), 1);

        // Ctrl+Z brings the deleted menu back, then takes the added ones away.
        QTest::keyClick(menuList(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table.menuCount(), 2);
        QCOMPARE(menuList()->count(), 2);
        QCOMPARE(menuList()->currentRow(), table.selected);
        QTest::keyClick(menuList(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(menuList(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table.menuCount(), 0);
        QCOMPARE(menuList()->count(), 0);
        QVERIFY(!child<QLineEdit>(main_.get(), "leftEdit")->isEnabled());
        QTest::keyClick(main_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(table.menuCount(), 1);
        QVERIFY(child<QLineEdit>(main_.get(), "leftEdit")->isEnabled());

        QSignalSpy updated(child<QPushButton>(main_.get(), "updatePreviewButton"),
                           &QPushButton::clicked);
        QTest::keyClick(main_.get(), Qt::Key_F5);
        QCOMPARE(updated.count(), 1);

        // Ctrl+S writes the script at once.
        const QString script = folder + QStringLiteral("/Qloomscript.js");
        QVERIFY(QFile::remove(script));
        QTest::keyClick(main_.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(script));

        // Opening a project starts its own history.
        QVERIFY(main_->session()->history().canUndo());
        click(main_.get(), "projectsButton");
        openProject(folder);
        QCOMPARE(table.menuCount(), 1);
        QVERIFY(!main_->session()->history().canUndo());
    }

    void mnemonicsDoNotClashAndTooltipsNameTheShortcuts() {
        QStringList texts;
        for (QAbstractButton* button : main_->findChildren<QAbstractButton*>()) {
            if (button->window() == main_.get())
                texts << button->text();
        }
        auto* tabs = child<QTabWidget>(main_.get(), "propertyTabs");
        for (int page = 0; page < tabs->count(); ++page)
            texts << tabs->tabText(page);
        texts << child<QLabel>(main_.get(), "checksLabel")->text();
        QMap<QKeySequence, QString> seen;
        for (const QString& text : texts) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (key.isEmpty())
                continue;
            QVERIFY2(!seen.contains(key), qPrintable(text + QStringLiteral(" / ") + seen[key]));
            seen.insert(key, text);
        }
        QVERIFY(seen.size() >= 17);
        QVERIFY(child<QPushButton>(main_.get(), "addMenuButton")
                    ->toolTip()
                    .contains(QStringLiteral("Insert")));
        QVERIFY(child<QPushButton>(main_.get(), "deleteButton")
                    ->toolTip()
                    .contains(QStringLiteral("Del")));
        QVERIFY(child<QPushButton>(main_.get(), "updatePreviewButton")
                    ->toolTip()
                    .contains(QStringLiteral("F5")));
    }

    void checksFollowTheProjectAndLeadToTheField() {
        newProject();
        click(main_.get(), "addMenuButton");
        click(main_.get(), "addMenuButton");
        const Project& table = main_->session()->projectForTest();
        QCOMPARE(table.selected, 1);
        auto* view = child<QListView>(main_.get(), "checksList");
        CheckListModel* model = main_->checkList();
        const auto targetFinding = [model] {
            const auto& found = model->findings();
            for (size_t i = 0; i < found.size(); ++i) {
                if (found[i].row == 1 && found[i].kind == CheckKind::TargetTooSmall)
                    return int(i);
            }
            return -1;
        };
        QCOMPARE(targetFinding(), -1);
        auto* height = child<QLineEdit>(main_.get(), "captionHeightEdit");
        height->setFocus();
        height->selectAll();
        QTest::keyClicks(height, QStringLiteral("20"));
        QTRY_VERIFY(targetFinding() >= 0);
        const QModelIndex index = model->index(targetFinding());
        QVERIFY(model->data(index, Qt::DisplayRole).toString().contains(QStringLiteral("20")));

        // From another menu and another tab, a click on the line goes to the field.
        main_->session()->select(0, SelectionSource::Editor);
        auto* tabs = child<QTabWidget>(main_.get(), "propertyTabs");
        tabs->setCurrentIndex(3);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        QCOMPARE(table.selected, 1);
        QCOMPARE(menuList()->currentRow(), 1);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(main_->focusWidget(), height);

        // The checks never stop a save; fixing the height takes the line away.
        QVERIFY(main_->session()->save(false));
        QTest::keyClicks(height, QStringLiteral("30"));
        QCOMPARE(table.menus[1].captionHeight, 30);
        QTRY_COMPARE(targetFinding(), -1);
    }

    void aGluedLineBreakIsReportedAndLeadsToTheBreak() {
        newProject();
        click(main_.get(), "addMenuButton");
        click(main_.get(), "addMenuButton");
        CheckListModel* model = main_->checkList();
        const auto gluedFinding = [model] {
            const auto& found = model->findings();
            for (size_t i = 0; i < found.size(); ++i) {
                if (found[i].row == 1 && found[i].kind == CheckKind::GluedWords)
                    return int(i);
            }
            return -1;
        };
        auto* tabs = child<QTabWidget>(main_.get(), "propertyTabs");
        tabs->setCurrentIndex(2);
        auto* body = child<QPlainTextEdit>(main_.get(), "bodyHtmlEdit");
        body->setFocus();
        body->selectAll();
        QTest::keyClicks(body, QStringLiteral("<B>Start page</B>"));
        QTest::keyClick(body, Qt::Key_Return);
        QTest::keyClicks(body, QStringLiteral("News"));
        QCOMPARE(main_->session()->projectForTest().menus[1].bodyHtml,
                 std::string("<B>Start page</B>\r\nNews"));
        QTRY_VERIFY(gluedFinding() >= 0);
        const QModelIndex index = model->index(gluedFinding());
        QCOMPARE(model->data(index, Qt::DisplayRole).toString(),
                 QStringLiteral("Menu 2: a line break in the menu HTML joins \"page\" and "
                                "\"News\": the page shows \"pageNews\". Put a space or <BR> "
                                "there."));

        // From another menu and tab, the click selects the menu and puts the cursor at the break.
        main_->session()->select(0, SelectionSource::Editor);
        tabs->setCurrentIndex(0);
        auto* view = child<QListView>(main_.get(), "checksList");
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        QCOMPARE(main_->session()->projectForTest().selected, 1);
        QCOMPARE(main_->focusWidget(), body);
        QCOMPARE(body->textCursor().position(), 17); // after "</B>", before the line break
        QCOMPARE(body->toPlainText().mid(17, 1), QStringLiteral("\n"));

        // A blank before the break fixes it.
        QTest::keyClick(body, Qt::Key_Space);
        QTRY_COMPARE(gluedFinding(), -1);
    }

    void finalizeListsTheFilesTheMenusReferTo() {
        newProject();
        click(main_.get(), "addMenuButton");
        const QString folder = q(main_->session()->projectForTest().settings.projectFolder);
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/pics")));
        writeFile(folder + QStringLiteral("/pics/logo 1.png"), "png");
        child<QTabWidget>(main_.get(), "propertyTabs")->setCurrentIndex(1);
        child<QPlainTextEdit>(main_.get(), "captionHtmlEdit")
            ->setPlainText(QStringLiteral("<IMG SRC=\"pics/logo%201.png\" ALT=\"Home\">"));
        child<QTabWidget>(main_.get(), "propertyTabs")->setCurrentIndex(2);
        child<QPlainTextEdit>(main_.get(), "bodyHtmlEdit")
            ->setPlainText(QStringLiteral("<A HREF=\"https://example.org/\">Out</A><BR>\n"
                                          "<A HREF=\"news.htm?p=1#top\">News</A><BR>\n"
                                          "<A HREF=\"mailto:me@example.org\">Mail</A>"));

        // While editing the Checks list already knows the page that is not there.
        CheckListModel* model = main_->checkList();
        const auto missingFiles = [model] {
            QStringList out;
            for (const AccessibilityFinding& f : model->findings())
                if (f.kind == CheckKind::MissingFile)
                    out << q(f.detail);
            return out;
        };
        QTRY_COMPARE(missingFiles(), QStringList{QStringLiteral("news.htm?p=1#top")});

        FinalizedDialog* dialog = main_->finalizedDialog();
        QStringList listed;
        bool linesWhole = false;
        QString copied;
        whenModal(dialog, [&] {
            for (int i = 0; i < dialog->fileList()->count(); ++i)
                listed << dialog->fileList()->item(i)->text();
            auto* info = child<QPlainTextEdit>(dialog, "readMeText");
            linesWhole = info->horizontalScrollBar()->maximum() == 0 &&
                         info->verticalScrollBar()->maximum() == 0;
            click(dialog, "copyButton");
            copied = QGuiApplication::clipboard()->text();
            click(dialog, "okButton");
        });
        click(main_.get(), "finalizeButton");
        QCOMPARE(listed, (QStringList{QStringLiteral("Temp.html (the template page)"),
                                      QStringLiteral("pics/logo 1.png"),
                                      QStringLiteral("news.htm: missing")}));
        QVERIFY(linesWhole);
        QCOMPARE(copied,
                 QStringLiteral("<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Qloomscript.js\"></SCRIPT>\n"
                                "<SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>\n"));

        // Making the page takes it off both lists.
        writeFile(folder + QStringLiteral("/news.htm"), "<HTML></HTML>");
        dialog->refreshFiles();
        QCOMPARE(dialog->fileList()->item(2)->text(), QStringLiteral("news.htm"));
        model->recheckAll(main_->session()->projectForTest());
        QCOMPARE(missingFiles(), QStringList{});
    }

    // CI runs as root, where browsers refuse to start: the pages must need no other program.
    void helpOpensInItsOwnWindowWithoutAnyOtherProgram() {
        HelpWindow* help = nullptr;
        QVERIFY(!main_->helpWindow());
        // Not installed: the window says where it looked instead of staying shut.
        QTest::keyClick(main_->startDialog(), Qt::Key_F1);
        help = main_->helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser()->toPlainText().contains(helpIndex()));
        help->close();

        const QString second = QFileInfo(helpIndex()).path() + QStringLiteral("/second.htm");
        QVERIFY(QDir().mkpath(QFileInfo(helpIndex()).path()));
        writeFile(helpIndex(), "<html><head><title>Contents</title></head><body><p>Index page "
                               "<a href=\"second.htm\">Second</a> "
                               "<a href=\"https://example.org/qloom\">Web</a></p></body></html>");
        writeFile(second, "<html><head><title>Second</title></head><body>Page two</body></html>");
        QList<QUrl> web;
        DesktopShell::setUrlOpener([&web](const QUrl& url) { web << url; });
        const auto clickLink = [help](const QString& text) {
            const QTextCursor at = help->browser()->document()->find(text);
            QVERIFY(!at.isNull());
            QTest::mouseClick(help->browser()->viewport(), Qt::LeftButton, {},
                              help->browser()->cursorRect(at).center() - QPoint(2, 0));
        };

        // The start dialog holds the main window disabled: the window must still take input.
        QTest::keyClick(main_->startDialog(), Qt::Key_F1);
        QVERIFY(help->isVisible());
        QVERIFY(help->isEnabled());
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(helpIndex()));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Index page")));
        QVERIFY(help->windowTitle().startsWith(QStringLiteral("Contents")));
        QVERIFY(!help->backButton()->isEnabled());

        clickLink(QStringLiteral("Second"));
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(second));
        QVERIFY(help->backButton()->isEnabled());
        help->backButton()->click();
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(helpIndex()));
        help->forwardButton()->click();
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(second));
        help->homeButton()->click();
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(helpIndex()));

        clickLink(QStringLiteral("Web"));
        QCOMPARE(web, QList<QUrl>{QUrl(QStringLiteral("https://example.org/qloom"))});
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(helpIndex()));
        QVERIFY(opened_.isEmpty());
        DesktopShell::setUrlOpener({});

        // Opening a project hides the start dialog; the help stays up, back with the main window.
        newProject();
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(help->isVisible());
        QCOMPARE(help->parentWidget(), main_.get());
        click(main_.get(), "helpButton");
        QCOMPARE(main_->helpWindow(), help);
    }

    void aFolderOnTheCommandLineIsOpenedWithoutTheStartDialog() {
        const QString folder = dir_->path() + QStringLiteral("/given");
        newProject([&folder](FolderChooser* chooser) { chooser->setPath(folder); });
        click(main_.get(), "addMenuButton");
        click(main_.get(), "addMenuButton");
        main_.reset(); // saves

        // As a file manager's "Open with" hands it over: the script itself, or its address.
        const QString script = folder + QStringLiteral("/Qloomscript.js");
        QCOMPARE(CommandLine(
                     QStringList{QStringLiteral("qloom"), QUrl::fromLocalFile(script).toString()})
                     .folder(),
                 folder);
        startProgramWith(CommandLine(QStringList{QStringLiteral("qloom"), script}).folder());
        QVERIFY(!main_->startDialog()->isVisible());
        QVERIFY(main_->isEnabled());
        QCOMPARE(q(main_->session()->projectForTest().settings.projectFolder), folder);
        QCOMPARE(menuList()->count(), 2);
        QVERIFY(boxes_.all.isEmpty());
        // "Projects..." then brings the dialog in editor mode, as after any other opening.
        click(main_.get(), "projectsButton");
        QVERIFY(main_->startDialog()->isVisible());
        QCOMPARE(startButton("quitOrCancelButton")->text(), q(msg::kCancelCaption));

        // A folder without a project: the not-found message, then the start dialog as usual.
        // Another file is not taken for its folder's project, even beside one.
        main_.reset();
        const QString other = folder + QStringLiteral("/other.js");
        writeFile(other, "var x;");
        QCOMPARE(CommandLine(QStringList{QStringLiteral("qloom"), other}).folder(), other);
        const QString empty = dir_->path() + QStringLiteral("/empty");
        QVERIFY(QDir().mkpath(empty));
        startProgramWith(empty);
        QCOMPARE(boxes_.all, QStringList{q(msg::kScriptNotFound)});
        QVERIFY(main_->startDialog()->isVisible());
        QVERIFY(!main_->isEnabled());
        QCOMPARE(startButton("quitOrCancelButton")->text(), q(msg::kQuitCaption));
        QVERIFY(main_->session()->projectForTest().settings.projectFolder.empty());
    }

    void commandLineTakesOneFolderBesideTheToolkitsOptions() {
        const QString here = QDir::currentPath();
        const CommandLine plain(QStringList{QStringLiteral("qloom"), QStringLiteral("-platform"),
                                            QStringLiteral("xcb"), QStringLiteral("menus/")});
        QVERIFY(!plain.answersAtOnce());
        QCOMPARE(plain.folder(), here + QStringLiteral("/menus"));
        QVERIFY(CommandLine(QStringList{QStringLiteral("qloom")}).folder().isEmpty());
        QVERIFY(CommandLine(QStringList{QStringLiteral("qloom"), QStringLiteral("--version")})
                    .answersAtOnce());
        // Two folders or an unknown option are usage errors: nothing opens.
        QVERIFY(CommandLine(
                    QStringList{QStringLiteral("qloom"), QStringLiteral("a"), QStringLiteral("b")})
                    .answersAtOnce());
        QVERIFY(CommandLine(QStringList{QStringLiteral("qloom"), QStringLiteral("--frobnicate")})
                    .answersAtOnce());
    }

    void menuBarUndoAndRedoNameTheStep() {
        newProject();
        MainMenuBar* bar = main_->menuBar();
        QVERIFY(bar);
        QAction* undo = bar->undoAction();
        QAction* redo = bar->redoAction();
        QVERIFY(!undo->isEnabled()); // a new project has nothing to undo
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
        click(main_.get(), "addMenuButton");
        QCOMPARE(undo->text(), QStringLiteral("&Undo Add Menu"));
        const int32_t placed = main_->session()->projectForTest().menus[0].left;
        QVERIFY(main_->session()->edit(
            ProjectEdit::move(main_->session()->projectForTest(), 0, 40, 50)));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Move Menu 1"));
        undo->trigger();
        QCOMPARE(main_->session()->projectForTest().menus[0].left, placed);
        QCOMPARE(redo->text(), QStringLiteral("&Redo Move Menu 1"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Add Menu"));
        redo->trigger();
        QCOMPARE(main_->session()->projectForTest().menus[0].left, 40);
        // A field's step names the field as the property editor does.
        QVERIFY(main_->session()->edit(
            ProjectEdit::setCell(main_->session()->projectForTest(), 0, &Menu::captionHeight, 30)));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Change Caption Height of Menu 1"));
        // Every entry of the bar shows its shortcut, where it has one; the project's entries
        // follow whether a project is open.
        for (QAction* action : bar->projectActions()) {
            QVERIFY(action->isEnabled());
            QVERIFY2(!action->shortcut().isEmpty(), qPrintable(action->text()));
        }
    }

    void statusLineSaysWhenSavedAndShowsAFailureUntilItClears() {
        newProject();
        StatusIndicators* status = main_->statusIndicators();
        const QString folder = q(main_->session()->projectForTest().settings.projectFolder);
        // Creating the project wrote it.
        QVERIFY(status->savedLabel()->text().startsWith(QStringLiteral("Saved ")));
        // The project folder's name taken by a file: the autosave of the next edit fails for
        // any user, root included, and says so until a save succeeds.
        QVERIFY(QDir(folder).removeRecursively());
        writeFile(folder, "not a folder");
        click(main_.get(), "addMenuButton"); // the preview's own save fails at once
        QVERIFY(status->showingFailure());
        QCOMPARE(status->savedLabel()->text(), QStringLiteral("Not saved"));
        QVERIFY(!status->savedLabel()->toolTip().isEmpty());
        QVERIFY(QFile::remove(folder));
        // The next save succeeds and clears it.
        click(main_.get(), "updatePreviewButton");
        QVERIFY(!status->showingFailure());
        QVERIFY(QFile::exists(folder + QStringLiteral("/Qloomscript.js")));
        const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm"));
        QCOMPARE(status->savedLabel()->text(), QStringLiteral("Saved ") + now);
    }

    void scriptErrorCountShowsTheErrors() {
        newProject();
        QToolButton* count = main_->statusIndicators()->errorButton();
        QVERIFY(count->isHidden());
        const std::string first = "!qLoomIDE:ERROR(x is not defined@file:///t.html@3)";
        main_->previewController()->handleIdeCommand(first);
        QVERIFY(!count->isHidden());
        QCOMPARE(count->text(), QStringLiteral("1 script error"));
        main_->previewController()->handleIdeCommand("!qLoomIDE:ERROR(y@file:///t.html@4)");
        QCOMPARE(count->text(), QStringLiteral("2 script errors"));
        count->click();
        auto* list = main_->findChild<QPlainTextEdit*>(QStringLiteral("scriptErrorsList"));
        QVERIFY(list);
        QVERIFY(list->window()->isVisible());
        QVERIFY(list->toPlainText().startsWith(q(first)));
        QCOMPARE(list->document()->blockCount(), 2);
        list->window()->close();
    }

    void mainWindowGrowsAndTheChecksListAndHtmlBoxesWithIt() {
        newProject();
        main_->show();
        auto* checks = child<QListView>(main_.get(), "checksList");
        auto* html = child<QPlainTextEdit>(main_.get(), "captionHtmlEdit");
        QCOMPARE(main_->size(), QSize(392, 421).expandedTo(main_->minimumSizeHint()));
        QVERIFY(main_->minimumWidth() < 392 * 2); // not fixed
        QTest::qWait(50);
        const QSize checksBefore = checks->size();
        const QSize listBefore = menuList()->size();
        const QSize first = main_->size();
        child<QTabWidget>(main_.get(), "propertyTabs")->setCurrentIndex(1);
        QTest::qWait(50);
        // The HTML tools under the box had their room from the start: the window keeps its
        // size (a wider one would slide under the preview placed beside it).
        QCOMPARE(main_->size(), first);
        const QSize htmlBefore = html->size();
        main_->resize(900, 800);
        QTRY_VERIFY(checks->height() > checksBefore.height() + 100);
        QVERIFY(checks->width() > checksBefore.width() + 300);
        QVERIFY(menuList()->height() > listBefore.height() + 50);
        QVERIFY(html->height() > htmlBefore.height() + 50);
        QVERIFY(html->width() > htmlBefore.width() + 200);
    }

    void anExceptionEscapingAHandlerIsReported() {
        QPushButton button;
        QObject::connect(&button, &QPushButton::clicked,
                         [] { throw std::runtime_error("Cannot open file /x/y"); });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(boxes_.all, QStringList{QStringLiteral("Cannot open file /x/y.")});
    }
};

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    GuardedApplication app(argc, argv);
    ShellGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShellGuiTest.moc"
