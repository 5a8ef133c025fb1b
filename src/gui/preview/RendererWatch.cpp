#include "gui/preview/internal/RendererWatch.h"

#include "gui/preview/PreviewSandbox.h"

#include <QPointer>
#include <QWebEngineScript>
#include <csignal>
#include <sys/types.h>

namespace qloom::gui {

RendererWatch::RendererWatch(QWebEnginePage* page, QObject* parent) : QObject(parent), page_(page) {
    clock_.start();
    probeTimer_.setSingleShot(true);
    probeTimer_.setInterval(kProbeTimeoutMs);
    connect(&probeTimer_, &QTimer::timeout, this, &RendererWatch::probeTimedOut);
    // Should the end of a killed renderer go unreported, the load must not wait forever.
    endFallback_.setSingleShot(true);
    endFallback_.setInterval(2000);
    connect(&endFallback_, &QTimer::timeout, this, [this] {
        endingForLoad_ = false;
        alive_ = false;
        runPendingLoad();
    });
    memoryTimer_.setInterval(kMemoryPollMs);
    connect(&memoryTimer_, &QTimer::timeout, this, &RendererWatch::checkMemory);
    memoryTimer_.start();

    connectPage();
}

void RendererWatch::connectPage() {
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { alive_ = true; });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                rendererEnded(status);
            });
}

void RendererWatch::setPage(QWebEnginePage* page) {
    if (page_)
        page_->disconnect(this);
    page_ = page;
    ++probeSerial_; // an answer from the old page no longer counts
    probeTimer_.stop();
    endFallback_.stop();
    endingForLoad_ = false;
    alive_ = false;
    connectPage();
    // A load that waited for the old page goes to the new one at once.
    if (pendingLoad_)
        runPendingLoad();
}

void RendererWatch::whenResponsive(std::function<void()> load) {
    const bool probeOut = probing();
    pendingLoad_ = std::move(load);
    if (probeOut)
        return;
    if (!alive_ || page_->url().isEmpty()) {
        runPendingLoad();
        return;
    }
    const quint64 serial = ++probeSerial_;
    probeTimer_.start();
    QPointer<RendererWatch> self(this);
    // In a world of its own: the page's scripts cannot answer for it or delay the answer.
    page_->runJavaScript(
        QStringLiteral("1"), QWebEngineScript::ApplicationWorld, [self, serial](const QVariant&) {
            if (!self || serial != self->probeSerial_ || !self->probeTimer_.isActive())
                return;
            self->probeTimer_.stop();
            self->runPendingLoad();
        });
}

void RendererWatch::runPendingLoad() {
    probeTimer_.stop();
    if (!pendingLoad_)
        return;
    const std::function<void()> load = std::exchange(pendingLoad_, {});
    load();
}

void RendererWatch::probeTimedOut() {
    ++probeSerial_; // a late answer must not start the load a second time
    Q_EMIT notAnswering();
    endingForLoad_ = true;
    endRenderer();
}

void RendererWatch::endRenderer() {
    const qint64 pid = page_->renderProcessPid();
    if (pid <= 0 || ::kill(pid_t(pid), SIGKILL) != 0) {
        // Nothing to end: treat it as ended.
        rendererEnded(QWebEnginePage::KilledTerminationStatus);
        return;
    }
    endFallback_.start();
}

void RendererWatch::rendererEnded(QWebEnginePage::RenderProcessTerminationStatus status) {
    alive_ = false;
    endFallback_.stop();
    if (endingForLoad_ || probing()) {
        // A load is waiting: it starts a fresh renderer, no reload needed.
        endingForLoad_ = false;
        runPendingLoad();
        return;
    }
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    if (reloads_.admit(clock_.elapsed())) {
        page_->triggerAction(QWebEnginePage::Reload);
        return;
    }
    Q_EMIT keepsCrashing();
}

void RendererWatch::checkMemory() {
    if (!alive_)
        return;
    const auto resident = ResidentBytesOf(page_->renderProcessPid());
    if (!resident || *resident <= memoryCeiling_)
        return;
    Q_EMIT tooMuchMemory(memoryCeiling_);
    const qint64 pid = page_->renderProcessPid();
    if (pid > 0)
        ::kill(pid_t(pid), SIGKILL); // reported as a crash: reloaded within the crash limit
}

} // namespace qloom::gui
