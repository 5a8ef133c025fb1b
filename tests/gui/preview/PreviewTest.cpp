// The preview of the real main window against a real browser view (offscreen): page selection
// and dragging through the title channel, js.log, "Back to Preview", scrolling and the freshness
// mark.

#include "LentPrompter.h"
#include "RecordingPrompter.h"
#include "gui/common/EditorRules.h"
#include "gui/common/TextConv.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/StartDialog.h"
#include "model/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <unistd.h>

using namespace qloom;
using namespace qloom::gui;

class PreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> projectDir;
    std::unique_ptr<QTemporaryDir> programDir;
    RecordingPrompter boxes; // every box of the program, answered with its default
    std::unique_ptr<MainWindow> main;

    Project& table() { return main->session()->projectForTest(); }
    PreviewController* preview() { return main->previewController(); }
    PreviewWindow* browser() { return preview()->browser(); }
    // What "Add Menu" leaves behind: `count` menus, `selected` shown in the editor.
    void addMenus(int count, int selected) {
        for (int i = 0; i < count; ++i)
            (void)AddMenu(table());
        table().selected = selected;
        Q_EMIT main->session()->projectReplaced(); // the editor shows the selected menu
    }
    QAbstractButton* updateButton() {
        return main->findChild<QAbstractButton*>(QStringLiteral("updatePreviewButton"));
    }
    // The page's error lines as a list box would show them.
    struct ErrorList {
        const ScriptErrorLog& log;
        QString toPlainText() const { return toQ(log.text()); }
        int blockCount() const { return int(log.size()); }
    };
    ErrorList errorList() { return {main->previewController()->scriptErrors()}; }
    QString logPath() { return programDir->filePath(QStringLiteral("js.log")); }
    QByteArray logText() {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Runs `code` in the page and waits for its result.
    QVariant js(const QString& code) {
        QVariant result;
        bool done = false;
        browser()->webView()->page()->runJavaScript(code, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 5000))
            qWarning("script did not finish: %s", qPrintable(code));
        return result;
    }

    bool waitForDocument(std::function<void()> start) {
        QSignalSpy completed(browser(), &PreviewWindow::documentCompleted);
        start();
        return completed.wait(10000);
    }

    void openProject(int menus) {
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir->path());
        addMenus(menus, 0);
        QVERIFY(waitForDocument([&] { main->refreshPreview(); }));
        QVERIFY(boxes.all.isEmpty());
        QTest::qWait(50); // first frame
    }

private Q_SLOTS:
    void init() {
        projectDir = std::make_unique<QTemporaryDir>();
        programDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           programDir->path() + QStringLiteral("/settings"));
        boxes.reset();
        main = std::make_unique<MainWindow>(programDir->path() + QLatin1Char('/'));
        main->session()->setPrompter(std::make_unique<LentPrompter>(boxes));
        main->show();
        main->createOtherWindows();
        // js.log goes to the test's own folder, not the user's data folder.
        preview()->setScriptErrorLogFolder(programDir->path() + QLatin1Char('/'));
        // Straight to the editor, as after "New Menu Project"; each test sets up its project.
        main->startDialog()->hide();
        main->setEnabled(true);
        main->setHelpButtonEnabled(true);
    }
    void cleanup() {
        main.reset();
        programDir.reset();
        projectDir.reset();
    }

    void previewWindowLooksAsExpected() {
        QCOMPARE(browser()->windowTitle(), toQ(msg::kPreviewCaption));
        // One version everywhere: the main window's caption is "qLoom" and the version.
        QCOMPARE(browser()->windowTitle(), QStringLiteral("Preview - ") + main->windowTitle());
        // At least the page area the editing page was designed for.
        QVERIFY(browser()->webView()->width() >= 820);
        QVERIFY(browser()->webView()->height() >= 620);
        QVERIFY(browser()->backToPreviewButton()->isHidden());
        browser()->show();
        browser()->close(); // only hides
        QVERIFY(browser()->isHidden());
        main->findChild<QCheckBox*>(QStringLiteral("stayOnTopBox"))->setChecked(true);
        browser()->showMinimized();
        main->findChild<QAbstractButton*>(QStringLiteral("showPreviewButton"))->click();
        QVERIFY(!browser()->isMinimized());
        QVERIFY(browser()->isVisible());
        QVERIFY(!main->findChild<QCheckBox*>(QStringLiteral("stayOnTopBox"))->isChecked());
    }

    void listSelectionFramesTheMenuEvenWhileThePageLoads() {
        openProject(3);
        auto* list = main->findChild<QListWidget*>(QStringLiteral("menuList"));
        // Ask for the frame right after a new load started: it must not be lost.
        preview()->navigatePreview();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(table().selected, 2);
        QTRY_VERIFY_WITH_TIMEOUT(!browser()->loading(), 10000);
        QTRY_COMPARE(
            js(QStringLiteral("document.getElementById('SEL_TOP').style.visibility")).toString(),
            QStringLiteral("visible"));
        const int frameLeft =
            js(QStringLiteral("parseInt(document.getElementById('SEL_TOP').style.left)")).toInt();
        const int ownerLeft =
            js(QStringLiteral("document.getElementById('owner2').offsetLeft")).toInt();
        QCOMPARE(frameLeft, ownerLeft - 3);
        QCOMPARE(js(QStringLiteral("iSelectedMenu")).toInt(), 2);
    }

    void draggingACaptionMovesTheMenuInTheTable() {
        openProject(2);
        const int startX = table().menus[1].left;
        const int startY = table().menus[1].top;
        preview()->scrollPreviewTo(1);
        QScrollArea* area = browser()->scrollArea();
        area->horizontalScrollBar()->setValue(0);
        area->verticalScrollBar()->setValue(0);
        QWidget* proxy = browser()->webView()->focusProxy();
        QVERIFY(proxy);
        const QPoint grab(startX + 10, startY + 5);
        QTest::mouseMove(proxy, grab);
        QTest::qWait(30);
        QTest::mousePress(proxy, Qt::LeftButton, {}, grab);
        QTRY_COMPARE(table().selected, 1);
        for (int step = 1; step <= 4; ++step) {
            QTest::qWait(30);
            QTest::mouseMove(proxy, grab + QPoint(10 * step, 5 * step));
        }
        QTest::qWait(30);
        QTest::mouseRelease(proxy, Qt::LeftButton, {}, grab + QPoint(40, 20));
        QTRY_COMPARE(table().menus[1].left, startX + 40);
        QCOMPARE(table().menus[1].top, startY + 20);
        QCOMPARE(main->findChild<QLineEdit*>(QStringLiteral("leftEdit"))->text(),
                 QString::number(startX + 40));
        QCOMPARE(main->findChild<QLineEdit*>(QStringLiteral("topEdit"))->text(),
                 QString::number(startY + 20));
        QVERIFY(!updateButton()->font().bold()); // a drag does not mark the preview stale

        // Ctrl+Z in the preview puts the menu back: in the table, in the editor and on the page.
        const QString ownerLeft = QStringLiteral("document.getElementById('owner1').offsetLeft");
        const QString ownerTop = QStringLiteral("document.getElementById('owner1').offsetTop");
        const int pageX = js(ownerLeft).toInt();
        const int pageY = js(ownerTop).toInt();
        QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table().menus[1].left, startX);
        QCOMPARE(table().menus[1].top, startY);
        QCOMPARE(main->findChild<QLineEdit*>(QStringLiteral("leftEdit"))->text(),
                 QString::number(startX));
        QTRY_COMPARE(js(ownerLeft).toInt(), pageX - 40);
        QCOMPARE(js(ownerTop).toInt(), pageY - 20);
        // Ctrl+Y (and Ctrl+Shift+Z) take the drag again.
        QTest::keyClick(proxy, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(table().menus[1].left, startX + 40);
        QTRY_COMPARE(js(ownerLeft).toInt(), pageX);
        QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(table().menus[1].top, startY + 20);
    }

    void arrowKeysNudgeTheSelectedMenuAndTabSelectsTheNext() {
        openProject(3);
        main->session()->select(1, SelectionSource::Editor);
        const int startX = table().menus[1].left;
        const int startY = table().menus[1].top;
        QWidget* proxy = browser()->webView()->focusProxy();
        QVERIFY(proxy);
        const QString ownerLeft = QStringLiteral("document.getElementById('owner1').offsetLeft");
        const QString ownerTop = QStringLiteral("document.getElementById('owner1').offsetTop");
        const int pageX = js(ownerLeft).toInt();
        const int pageY = js(ownerTop).toInt();

        QTest::keyClick(proxy, Qt::Key_Right);
        QTest::keyClick(proxy, Qt::Key_Right);
        QTest::keyClick(proxy, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(proxy, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(table().menus[1].left, startX + 2 - 10);
        QCOMPARE(table().menus[1].top, startY + 10);
        QCOMPARE(main->findChild<QLineEdit*>(QStringLiteral("topEdit"))->text(),
                 QString::number(startY + 10));
        QTRY_COMPARE(js(ownerLeft).toInt(), pageX - 8);
        QCOMPARE(js(ownerTop).toInt(), pageY + 10);
        QCOMPARE(table().menus[0].left, 10); // only the selected menu moves

        // The burst is one step.
        QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table().menus[1].left, startX);
        QCOMPARE(table().menus[1].top, startY);
        QTRY_COMPARE(js(ownerLeft).toInt(), pageX);

        QTest::keyClick(proxy, Qt::Key_Tab);
        QCOMPARE(table().selected, 2);
        QTest::keyClick(proxy, Qt::Key_Tab); // wraps around
        QCOMPARE(table().selected, 0);
        QTest::keyClick(proxy, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(table().selected, 2);
        QCOMPARE(main->findChild<QListWidget*>(QStringLiteral("menuList"))->currentRow(), 2);
        QTRY_COMPARE(js(QStringLiteral("iSelectedMenu")).toInt(), 2);

        // At the end of the range a press leaves the menu where it is.
        table().menus[2].left = INT32_MAX;
        table().menus[2].top = INT32_MIN;
        QTest::keyClick(proxy, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(proxy, Qt::Key_Up);
        QCOMPARE(table().menus[2].left, INT32_MAX);
        QCOMPARE(table().menus[2].top, INT32_MIN);
    }

    void equalTitleCommandsArriveEveryTime() {
        openProject(2);
        const QString error = QStringLiteral("!qLoomIDE:ERROR(boom@page@7)");
        js(QStringLiteral("document.title = '%1'; document.title = '%1'; 0").arg(error));
        QTRY_COMPARE(errorList().toPlainText(), error + QLatin1Char('\n') + error);
        QTRY_COMPARE(logText(),
                     (error + QStringLiteral("\r\n") + error + QStringLiteral("\r\n")).toUtf8());
        // A real script error of the page's own content goes the same way.
        js(QStringLiteral("var img = document.createElement('img');"
                          "img.setAttribute('onerror', 'noSuchFunction()');"
                          "img.src = 'missing.gif'; document.body.appendChild(img); 0"));
        QTRY_VERIFY2(errorList().toPlainText().contains(QStringLiteral("noSuchFunction")),
                     qPrintable(errorList().toPlainText()));
        // Equal selections (press, then release) both arrive: the second re-selects.
        js(QStringLiteral("document.title = '!qLoomIDE:ySetSel(1)'; 0"));
        QTRY_COMPARE(table().selected, 1);
        table().selected = 0;
        js(QStringLiteral("document.title = '!qLoomIDE:ySetSel(1)'; 0"));
        QTRY_COMPARE(table().selected, 1);
    }

    void errorListKeepsTheLatest200LinesAndLogsThemInOneWrite() {
        for (int i = 1; i <= 201; ++i)
            preview()->handleIdeCommand("!qLoomIDE:ERROR(e" + std::to_string(i) + "@u@1)");
        QCOMPARE(logText(), QByteArray("<missing>")); // not once per error
        preview()->flushScriptErrorLog();
        QByteArray expected;
        for (int i = 2; i <= 201; ++i)
            expected += "!qLoomIDE:ERROR(e" + QByteArray::number(i) + "@u@1)\r\n";
        QCOMPARE(logText(), expected);
        QCOMPARE(errorList().blockCount(), 200);
        QCOMPARE(preview()->scriptErrorLogBytes(), qint64(expected.size()));
        // Logged byte for byte, a non-breaking space included; the oldest line falls off.
        preview()->handleIdeCommand("!qLoomIDE:ERROR(e202\xC2\xA0x@u@1)");
        QTRY_VERIFY(logText().endsWith("!qLoomIDE:ERROR(e202\xC2\xA0x@u@1)\r\n"));
        QVERIFY(logText().startsWith("!qLoomIDE:ERROR(e3@u@1)\r\n"));
        QCOMPARE(logText().count("\r\n"), 200);
        QVERIFY(errorList().toPlainText().endsWith(
            QString::fromUtf8("!qLoomIDE:ERROR(e202\xC2\xA0x@u@1)")));
    }

    void unwritableLogIsNotedOnceAndRetriedWithTheNextError() {
        const QString missing = programDir->path() + QStringLiteral("/gone/");
        QSignalSpy notes(preview(), &PreviewController::statusNote);
        const QString failure =
            toQ(msg::Format(msg::kCannotCreateFile, fromQ(missing + QStringLiteral("js.log"))));
        preview()->setScriptErrorLogFolder(missing);
        preview()->handleIdeCommand("!qLoomIDE:ERROR(first@u@1)");
        preview()->flushScriptErrorLog();
        preview()->handleIdeCommand("!qLoomIDE:ERROR(second@u@1)");
        preview()->flushScriptErrorLog();
        QVERIFY(boxes.all.isEmpty()); // no box
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.at(0).at(0).toString(), failure);
        QCOMPARE(errorList().toPlainText(), QStringLiteral("!qLoomIDE:ERROR(first@u@1)\n") +
                                                failure +
                                                QStringLiteral("\n!qLoomIDE:ERROR(second@u@1)"));
        preview()->setScriptErrorLogFolder(programDir->path() + QLatin1Char('/'));
        preview()->handleIdeCommand("!qLoomIDE:ERROR(third@u@1)");
        QTRY_VERIFY(logText().endsWith("!qLoomIDE:ERROR(third@u@1)\r\n"));
        QVERIFY(logText().startsWith("!qLoomIDE:ERROR(first@u@1)\r\n"));
        QCOMPARE(notes.size(), 1);
    }

    void badNumbersGoToTheErrorListAndChangeNothing() {
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir->path());
        (void)AddMenu(table());
        (void)AddMenu(table());
        const Project before = table();
        preview()->handleIdeCommand("!qLoomIDE:docMouseMove(1,20)");
        QVERIFY(boxes.all.isEmpty());
        QCOMPARE(errorList().toPlainText(),
                 toQ(msg::Format(msg::kPreviewBadCommand, msg::Format(msg::kNotValidInteger, ""))));
        QVERIFY(table().sameMenus(before));
        preview()->handleIdeCommand("My page title");
        preview()->handleIdeCommand("!qLoomIDE:ySetSel(5)");
        QVERIFY(table().sameMenus(before));
        QCOMPARE(errorList().blockCount(), 1);
    }

    void backToPreviewAppearsAfterALinkAndReturns() {
        QFile other(projectDir->filePath(QStringLiteral("other page.html")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("<html><body><script>alert('blocking?');</script>Other</body></html>");
        other.close();
        openProject(1);
        QVERIFY(browser()->backToPreviewButton()->isHidden());

        // A fragment of the same page fires no completion and shows nothing.
        js(QStringLiteral("location.hash = 'part'; 0"));
        QTest::qWait(100);
        QVERIFY(browser()->backToPreviewButton()->isHidden());
        // The same page with a query is still the preview page.
        QVERIFY(waitForDocument([&] { js(QStringLiteral("location.search = '?a=1'; 0")); }));
        QVERIFY(browser()->backToPreviewButton()->isHidden());

        // Another page (with an alert, which must not block) shows the button at the corner.
        QVERIFY(
            waitForDocument([&] { js(QStringLiteral("location.href = 'other%20page.html'; 0")); }));
        QVERIFY(!browser()->backToPreviewButton()->isHidden());
        // At the page area's corner, below the width selector.
        QCOMPARE(browser()->backToPreviewButton()->pos(),
                 browser()->scrollArea()->geometry().topLeft());

        main->session()->setPreviewStale(true);
        QVERIFY(updateButton()->font().bold());
        QVERIFY(waitForDocument([&] { browser()->backToPreviewButton()->click(); }));
        QVERIFY(browser()->backToPreviewButton()->isHidden());
        QVERIFY(!updateButton()->font().bold());
        QVERIFY(browser()->webView()->url().toLocalFile().endsWith(QStringLiteral("/Temp.html")));
    }

    void updatePreviewShowsTheFreshSave() {
        openProject(1);
        table().menus[0].left = 321;
        QVERIFY(waitForDocument([&] { updateButton()->click(); }));
        QCOMPARE(js(QStringLiteral("document.getElementById('owner0').offsetLeft")).toInt(), 321);
        table().menus[0].left = 123;
        QVERIFY(waitForDocument([&] { updateButton()->click(); }));
        QCOMPARE(js(QStringLiteral("document.getElementById('owner0').offsetLeft")).toInt(), 123);

        // Two updates in a row: the first load is cut short; the second one counts.
        table().menus[0].left = 222;
        updateButton()->click();
        table().menus[0].left = 333;
        updateButton()->click();
        preview()->runPreviewScript(QStringLiteral("window.queuedRan = 1"));
        QTRY_VERIFY_WITH_TIMEOUT(!browser()->loading() && !browser()->previewPending(), 10000);
        QCOMPARE(js(QStringLiteral("document.getElementById('owner0').offsetLeft")).toInt(), 333);
        QTRY_COMPARE(js(QStringLiteral("window.queuedRan")).toInt(), 1);
        QVERIFY(browser()->backToPreviewButton()->isHidden());
    }

    void widthSelectorLaysThePageOutAtThatWidth() {
        main->session()->projectForTest().settings.smallScreenBreakpoint = 400;
        openProject(1);
        main->session()->select(0, SelectionSource::Editor);
        QWidget* proxy = browser()->webView()->focusProxy();
        browser()->show();
        browser()->resize(600, 500);
        QVERIFY(waitForDocument([&] { updateButton()->click(); }));
        const auto pageWidth = [&] { return js(QStringLiteral("window.innerWidth")).toInt(); };
        QVERIFY(pageWidth() >= 820); // Full: the desktop layout, wider than the window
        QComboBox* box = browser()->pageWidthBox();
        QCOMPARE(box->count(), 7);
        for (const int width : {320, 390, 1280}) {
            box->setCurrentIndex(box->findData(width));
            QCOMPARE(browser()->pageWidth(), width);
            QTRY_COMPARE(pageWidth(), width);
            // The phone widths answer the small-screen media query as a phone would.
            QCOMPARE(js(QStringLiteral("matchMedia('(max-width: 400px)').matches")).toBool(),
                     width < 400);
            // The arrow keys move the menu at its desktop place, and are the page's own while
            // the menus stand in the small-screen list.
            const int32_t left = table().menus[0].left;
            QTest::keyClick(proxy, Qt::Key_Right);
            QCOMPARE(table().menus[0].left, width < 400 ? left : left + 1);
            QCOMPARE(js(QStringLiteral("Qloom.small() ? 1 : 0")).toInt(), width < 400 ? 1 : 0);
            // Nor does a drag reported from the list move the menu's desktop place.
            preview()->handleIdeCommand("!qLoomIDE:docMouseMove(0,40,50)");
            QCOMPARE(table().menus[0].left, width < 400 ? left : 40);
        }
        // A reload keeps the chosen width; "Full" follows the window again.
        QVERIFY(waitForDocument([&] { updateButton()->click(); }));
        QCOMPARE(pageWidth(), 1280);
        browser()->setPageWidth(0);
        browser()->resize(1100, 500);
        QTRY_VERIFY(pageWidth() >= 1000);
    }

    void scrollPreviewToFollowsTheWorkedNumbers() {
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir->path());
        (void)AddMenu(table());
        (void)AddMenu(table());
        browser()->show();
        browser()->resize(454, 237);
        QScrollBar* h = browser()->scrollArea()->horizontalScrollBar();
        QScrollBar* v = browser()->scrollArea()->verticalScrollBar();
        const QRect outer = browser()->frameGeometry();
        h->setValue(0);
        v->setValue(0);
        MoveMenu(table(), 1, 500, 150);
        table().menus[1].width = 150;
        preview()->scrollPreviewTo(1);
        QCOMPARE(h->value(), qMin(500 + 75 - outer.width() / 2, h->maximum()));
        QCOMPARE(v->value(), 0); // 150 + 80 is within the window
        h->setValue(0);
        MoveMenu(table(), 1, 100, 200);
        preview()->scrollPreviewTo(1);
        QCOMPARE(h->value(), 0);
        QCOMPARE(v->value(), qMin(200 - outer.height() / 2, v->maximum()));
        preview()->scrollPreviewTo(2); // not a row
        QCOMPARE(v->value(), qMin(200 - outer.height() / 2, v->maximum()));
    }

    void refreshShowsTheSelectedRowsSwappedCaptionAsNoEdit() {
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir->path());
        addMenus(2, 1);
        table().menus[1].orientation =
            1; // turned vertical: the next save swaps its default caption
        auto* caption = main->findChild<QPlainTextEdit*>(QStringLiteral("captionHtmlEdit"));
        QVERIFY(waitForDocument([&] { main->refreshPreview(); }));
        QCOMPARE(table().menus[1].captionHtml, std::string(kVerticalDefaultCaption));
        QCOMPARE(fromQ(caption->toPlainText()), HtmlToEditorText(kVerticalDefaultCaption));
        QCOMPARE(table().menus[0].captionHtml, std::string("Caption"));
        QVERIFY(!updateButton()->font().bold());
    }

    void staleMarkNeedsAProjectAndOnlyUpdateClearsIt() {
        main->session()->setPreviewStale(true);
        QVERIFY(!updateButton()->font().bold()); // no active project
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir->path());
        main->session()->setPreviewStale(true);
        QVERIFY(updateButton()->font().bold());
        main->refreshPreview(); // a refresh alone keeps the mark
        QVERIFY(updateButton()->font().bold());
        main->session()->setPreviewStale(false);
        QVERIFY(!updateButton()->font().bold());
    }
};

int main(int argc, char* argv[]) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    PreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PreviewTest.moc"
