// A new user's first session, driven through the program's own windows: start, new project,
// three menus, a caption, a colour, an orientation, Update Preview, a drag in the preview, new
// speeds and a new template page in the project settings, Finalize. The finished page is then
// opened in headless Chromium, where hovering each caption must slide its body out.
//
// With QLOOM_E2E_SHOTS set to a folder, every window is saved there as a PNG along the way.

#include "RecordingPrompter.h"
#include "gui/common/DesktopShell.h"
#include "gui/common/TextConv.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/internal/AddTextDialog.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/FinalizedDialog.h"
#include "gui/shell/internal/FolderChooser.h"
#include "gui/shell/internal/ProjectSettingsDialog.h"
#include "gui/shell/internal/StartDialog.h"
#include "model/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <unistd.h>

using namespace qloom;
using namespace qloom::gui;

namespace {

// Runs `action` as soon as `dialog` is the active modal window (inside its exec()).
void WhenModal(QWidget* dialog, std::function<void()> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [dialog, timer, action] {
        if (QApplication::activeModalWidget() != dialog)
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

// As WhenModal, for a modal window the program creates on the spot (the colour dialog).
template <class Window> void WhenModalOfType(std::function<void(Window*)> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer->stop();
        timer->deleteLater();
        action(window);
    });
    timer->start();
}

template <class T> T* Child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void Click(QWidget* parent, const char* name) {
    QAbstractButton* button = Child<QAbstractButton>(parent, name);
    QVERIFY2(button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class NewUserTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString shots_;
    int shotNumber_ = 0;
    QStringList opened_;

    void shot(QWidget* window, const QString& name) {
        if (shots_.isEmpty() || !window)
            return;
        QApplication::processEvents();
        window->grab().save(QDir(shots_).filePath(
            QStringLiteral("%1-%2.png").arg(++shotNumber_, 2, 10, QLatin1Char('0')).arg(name)));
    }

    QVariant js(PreviewWindow* browser, const QString& code) {
        QVariant result;
        bool done = false;
        browser->webView()->page()->runJavaScript(code, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 10000))
            qWarning("script did not finish: %s", qPrintable(code));
        return result;
    }

    void selectMenu(MainWindow& main, int row) {
        auto* list = Child<QListWidget>(&main, "menuList");
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_COMPARE(main.session()->projectForTest().selected, row);
    }

private Q_SLOTS:
    void initTestCase() {
        shots_ = qEnvironmentVariable("QLOOM_E2E_SHOTS");
        if (!shots_.isEmpty())
            QDir().mkpath(shots_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           dir_.filePath(QStringLiteral("settings")));
        DesktopShell::setOpener([this](const QString& path) { opened_ << path; });
    }

    void aNewUsersFirstSession() {
        const QString programFolder = dir_.filePath(QStringLiteral("program"));
        const QString projectFolder = dir_.filePath(QStringLiteral("My Menus"));
        QVERIFY(QDir().mkpath(programFolder));

        // Start-up, as the program's main routine does it.
        // The user's folders inside the test's own folder, not the real home.
        QStandardPaths::setTestModeEnabled(true);
        MainWindow main(programFolder, dir_.filePath(QStringLiteral("Documents/qLoom Projects")));
        // Every message box is recorded and answered with its default button; a first session
        // without mistakes shows none until "Finalize".
        auto* boxes = new RecordingPrompter;
        main.session()->setPrompter(std::unique_ptr<Prompter>(boxes));
        main.show();
        QVERIFY(main.checkBrowserVersion());
        main.createOtherWindows();
        QVERIFY(main.startDialog()->isVisible());
        QVERIFY(!main.isEnabled());
        shot(main.startDialog(), QStringLiteral("start"));

        // "New Menu Project" in a folder of the user's choosing.
        FolderChooser* chooser = main.folderChooser();
        WhenModal(chooser, [&] {
            shot(chooser, QStringLiteral("folder-chooser"));
            chooser->setPath(projectFolder);
            Click(chooser, "okButton");
        });
        Click(main.startDialog(), "newProjectButton");
        QTRY_VERIFY(main.isEnabled());
        QVERIFY(!main.startDialog()->isVisible());
        QCOMPARE(toQ(main.session()->projectForTest().settings.projectFolder), projectFolder);
        QVERIFY(QFile::exists(QDir(projectFolder).filePath(QStringLiteral("Temp.html"))));

        // Three menus.
        for (int i = 0; i < 3; ++i)
            Click(&main, "addMenuButton");
        Project& table = main.session()->projectForTest();
        QCOMPARE(table.menuCount(), 3);
        QCOMPARE(Child<QListWidget>(&main, "menuList")->count(), 3);

        // A caption for the third menu, typed into "Caption HTML".
        auto* tabs = Child<QTabWidget>(&main, "propertyTabs");
        QCOMPARE(table.selected, 2);
        tabs->setCurrentIndex(1);
        auto* caption = Child<QPlainTextEdit>(&main, "captionHtmlEdit");
        caption->selectAll();
        QTest::keyClicks(caption, QStringLiteral("Products"));
        QCOMPARE(table.menus[2].captionHtml, std::string("Products"));
        shot(&main, QStringLiteral("main-caption"));

        // Some formatted text for its body, through "Add Text".
        tabs->setCurrentIndex(2);
        auto* body = Child<QPlainTextEdit>(&main, "bodyHtmlEdit");
        body->selectAll();
        QTest::keyClick(body, Qt::Key_Delete);
        AddTextDialog* addText = main.htmlTools()->addTextDialog();
        WhenModal(addText, [&] {
            QTest::keyClicks(Child<QPlainTextEdit>(addText, "textEdit"), QStringLiteral("Hello"));
            shot(addText, QStringLiteral("add-text"));
            Click(addText, "addButton");
        });
        Click(&main, "addTextButton");
        QCOMPARE(table.menus[2].bodyHtml,
                 std::string("<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FFFFFF\">"
                             "Hello\r\n</FONT>\r\n"));

        // The second menu: another body colour and the vertical orientation.
        selectMenu(main, 1);
        tabs->setCurrentIndex(3);
        WhenModalOfType<QColorDialog>([&](QColorDialog* picker) {
            picker->setCurrentColor(QColor(0x33, 0x66, 0x99));
            shot(picker, QStringLiteral("colour"));
            picker->accept();
        });
        Click(&main, "bodyColorSwatch");
        QCOMPARE(table.menus[1].bodyColor, std::string("#336699"));
        tabs->setCurrentIndex(0);
        Click(&main, "verticalRadio");
        QCOMPARE(table.menus[1].orientation, 1);

        // "Update Preview" and wait for the page to show the three menus as edited.
        Click(&main, "updatePreviewButton");
        PreviewWindow* browser = main.previewWindow();
        QVERIFY(browser && browser->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(
            js(browser, QStringLiteral("typeof numOfMenus != 'undefined' && numOfMenus == 3 && "
                                       "OO[1] == 1 && !!document.getElementById('cap2')"))
                .toBool(),
            15000);
        QCOMPARE(
            js(browser, QStringLiteral("document.getElementById('cap2').innerText")).toString(),
            QStringLiteral("Products"));
        shot(browser, QStringLiteral("preview"));

        // Drag the first menu 40 px right and 20 px down by its caption.
        const int startX = table.menus[0].left;
        const int startY = table.menus[0].top;
        const QVariantList box =
            js(browser, QStringLiteral("(function(){var r=document.getElementById('cap0')"
                                       ".getBoundingClientRect();return [r.left,r.top];})()"))
                .toList();
        QCOMPARE(box.size(), 2);
        QWidget* proxy = browser->webView()->focusProxy();
        QVERIFY(proxy);
        const QPoint grab(int(box[0].toDouble()) + 10, int(box[1].toDouble()) + 5);
        QTest::mouseMove(proxy, grab);
        QTest::qWait(30);
        QTest::mousePress(proxy, Qt::LeftButton, {}, grab);
        QTRY_COMPARE(table.selected, 0);
        for (int step = 1; step <= 4; ++step) {
            QTest::qWait(30);
            QTest::mouseMove(proxy, grab + QPoint(10 * step, 5 * step));
        }
        QTest::qWait(30);
        QTest::mouseRelease(proxy, Qt::LeftButton, {}, grab + QPoint(40, 20));
        QTRY_COMPARE(table.menus[0].left, startX + 40);
        QCOMPARE(table.menus[0].top, startY + 20);

        // New speeds in the project settings.
        ProjectSettingsDialog* settings = main.projectSettingsDialog();
        WhenModal(settings, [&] {
            QVERIFY(!Child<QAbstractButton>(&main, "helpButton")->isEnabled());
            auto* out = Child<QLineEdit>(settings, "scrollOutEdit");
            out->selectAll();
            QTest::keyClicks(out, QStringLiteral("25"));
            auto* in = Child<QLineEdit>(settings, "scrollInEdit");
            in->selectAll();
            QTest::keyClicks(in, QStringLiteral("35"));
            auto* name = Child<QLineEdit>(settings, "templateNameEdit");
            name->selectAll();
            QTest::keyClicks(name, QStringLiteral("index.html"));
            shot(settings, QStringLiteral("settings"));
            Click(settings, "okButton");
        });
        Click(&main, "projectSettingsButton");
        QVERIFY(!settings->isVisible());
        QVERIFY(Child<QAbstractButton>(&main, "helpButton")->isEnabled());
        QCOMPARE(main.session()->projectForTest().settings.openStep, 25);
        QCOMPARE(main.session()->projectForTest().settings.closeStep, 35);
        // A template page that did not exist yet is written and shown.
        const QDir project(projectFolder);
        QVERIFY(QFile::exists(project.filePath(QStringLiteral("index.html"))));
        QTRY_COMPARE_WITH_TIMEOUT(
            js(browser, QStringLiteral("location.pathname.split('/').pop() + ',' + scrOUT + ',' + "
                                       "scrIN"))
                .toString(),
            QStringLiteral("index.html,25,35"), 15000);

        // Finalize.
        FinalizedDialog* finalized = main.finalizedDialog();
        WhenModal(finalized, [&] {
            shot(finalized, QStringLiteral("finalized"));
            finalized->accept();
        });
        shot(&main, QStringLiteral("main"));
        Click(&main, "finalizeButton");
        QVERIFY(boxes->all.isEmpty());
        QVERIFY(QFile::exists(project.filePath(QStringLiteral("ReadMe.txt"))));
        const QByteArray script = ReadFile(project.filePath(QStringLiteral("Qloomscript.js")));
        QVERIFY(!script.contains("/* IDE! */"));

        // The finished page in a browser of its own.
        const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
        const QString puppeteer =
            QStringLiteral(QLOOM_E2E_DIR "/../page/node_modules/puppeteer-core/package.json");
        if (node.isEmpty() || !QFile::exists(puppeteer))
            QSKIP("node or puppeteer-core is missing: the page was not checked in Chromium");
        QProcess hover;
        hover.start(node, {QStringLiteral(QLOOM_E2E_DIR "/hover.js"),
                           project.filePath(QStringLiteral("index.html"))});
        QVERIFY(hover.waitForFinished(120000));
        const QByteArray out = hover.readAllStandardOutput().trimmed();
        const QJsonObject result = QJsonDocument::fromJson(out.split('\n').last()).object();
        QVERIFY2(result.value(QStringLiteral("ok")).toBool(), out.constData());
        const QJsonArray menus = result.value(QStringLiteral("menus")).toArray();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus.at(2).toObject().value(QStringLiteral("caption")).toString(),
                 QStringLiteral("Products"));
    }
};

int main(int argc, char* argv[]) {
    // Qt WebEngine refuses to run as root with its sandbox on.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(toQ(msg::kAppTitle));
    NewUserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NewUserTest.moc"
