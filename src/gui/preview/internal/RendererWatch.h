#pragma once

#include "gui/preview/RateLimit.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWebEnginePage>
#include <cstdint>
#include <functional>

namespace qloom::gui {

// Keeps a stuck, crashing or swelling preview page from taking the editor with it. Before a new
// preview load the page must answer a trivial script; a page caught in an endless loop does not,
// and its renderer is ended so the load can start in a fresh one. A renderer that crashes is
// reloaded at most once per reload interval; a renderer whose resident memory passes the
// ceiling is ended and treated as crashed.
class RendererWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kProbeTimeoutMs = 3000;
    static constexpr int kReloadIntervalMs = 30000;
    static constexpr uint64_t kMemoryCeilingBytes = uint64_t(2) << 30;
    static constexpr int kMemoryPollMs = 1000;

    explicit RendererWatch(QWebEnginePage* page, QObject* parent = nullptr);

    // Runs `load` once the page has answered the probe, at once when no live page is there, or
    // after the renderer of a page that did not answer in time was ended. A further call while
    // a probe is out replaces the waiting load.
    void whenResponsive(std::function<void()> load);
    bool probing() const { return bool(pendingLoad_); }
    // Watches `page` from now on (the preview replaces its page for every project).
    void setPage(QWebEnginePage* page);

    void setProbeTimeout(int ms) { probeTimer_.setInterval(ms); }
    void setReloadInterval(int ms) { reloads_.setWindow(ms); }
    void setMemoryCeiling(uint64_t bytes) { memoryCeiling_ = bytes; }

Q_SIGNALS:
    void notAnswering();
    void keepsCrashing();
    void tooMuchMemory(quint64 ceilingBytes);

private:
    void connectPage();
    void probeTimedOut();
    void rendererEnded(QWebEnginePage::RenderProcessTerminationStatus status);
    void endRenderer();
    void runPendingLoad();
    void checkMemory();

    QWebEnginePage* page_;
    QTimer probeTimer_;
    QTimer memoryTimer_;
    QTimer endFallback_;
    std::function<void()> pendingLoad_;
    quint64 probeSerial_ = 0;
    bool alive_ = false;
    bool endingForLoad_ = false;
    uint64_t memoryCeiling_ = kMemoryCeilingBytes;
    RateLimit reloads_{1, kReloadIntervalMs};
    QElapsedTimer clock_;
};

} // namespace qloom::gui
