#include "gui/common/SignalBridge.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qloom::gui {

namespace {
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Read end and write end of the self-pipe; -1 while no bridge is installed.
int g_pipe[2] = {-1, -1};

extern "C" void onEndSignal(int number) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full pipe already holds an unread request; one is enough.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void setAction(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}
} // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
    // The session manager waits for the data to be saved before the session goes on ending;
    // a queued connection would answer it first.
    connect(
        qGuiApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) { Q_EMIT endRequested(); }, Qt::DirectConnection);

    if (g_pipe[0] != -1 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::readPipe);
    setAction(onEndSignal);
}

SignalBridge::~SignalBridge() {
    if (!notifier_)
        return;
    setAction(SIG_DFL);
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalBridge::readPipe() {
    unsigned char bytes[16];
    bool any = false;
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0)
        any = true;
    if (any)
        Q_EMIT endRequested();
}

} // namespace qloom::gui
