// "Update Preview" on a 100-menu project, from the click to the page's load completing, next to
// a plain reload of the same page in the same view. Run by hand (offscreen is fine):
//   QT_QPA_PLATFORM=offscreen build/bench/preview/preview_bench [rounds]
// Prints the medians and their ratio; exits 1 when the update takes more than 1.5 times the
// reload.

#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/ProjectSession.h"
#include "model/Project.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

using namespace qloom;
using namespace qloom::gui;

class BenchWindow : public QWidget {
public:
    BenchWindow() : session(this) {
        auto* layout = new QVBoxLayout(this);
        auto* show = new QPushButton(QStringLiteral("Show Preview"), this);
        updateButton = new QPushButton(QStringLiteral("Update Preview"), this);
        for (QWidget* widget : {static_cast<QWidget*>(show), static_cast<QWidget*>(updateButton)})
            layout->addWidget(widget);
        preview = new PreviewController(session, {show, updateButton, nullptr}, this);
    }
    Project& project() { return session.projectForTest(); }

    ProjectSession session;
    PreviewController* preview;
    QPushButton* updateButton;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from `start` until the preview window reports the next completed document.
template <class Start> double TimeLoad(PreviewWindow* browser, Start start) {
    QSignalSpy completed(browser, &PreviewWindow::documentCompleted);
    QElapsedTimer timer;
    timer.start();
    start();
    if (!completed.wait(20000)) {
        std::fprintf(stderr, "load did not complete\n");
        std::exit(2);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;

    QTemporaryDir folder;
    BenchWindow window;
    window.project().settings.projectFolder = fromQ(folder.path());
    for (int i = 0; i < 100; ++i)
        (void)AddMenu(window.project());
    window.show();
    PreviewWindow* browser = window.preview->browser();
    QPushButton* update = window.updateButton;

    TimeLoad(browser, [&] { update->click(); }); // warm-up: first renderer start
    TimeLoad(browser, [&] { browser->webView()->reload(); });

    std::vector<double> updates, reloads;
    for (int round = 0; round < rounds; ++round) {
        updates.push_back(TimeLoad(browser, [&] { update->click(); }));
        reloads.push_back(TimeLoad(browser, [&] { browser->webView()->reload(); }));
    }
    const double updateMs = Median(updates);
    const double reloadMs = Median(reloads);
    const double ratio = updateMs / reloadMs;
    std::printf("100 menus, %d rounds\n", rounds);
    std::printf("Update Preview (save + load): median %.1f ms\n", updateMs);
    std::printf("plain reload:                  median %.1f ms\n", reloadMs);
    std::printf("ratio %.2f (limit 1.50): %s\n", ratio, ratio <= 1.5 ? "ok" : "TOO SLOW");
    return ratio <= 1.5 ? 0 : 1;
}
