#pragma once

// Turns the requests to end the program that come from outside it into one Qt signal, delivered
// on the event loop: SIGTERM (a logout, systemctl, kill), SIGINT (Ctrl+C in a terminal), SIGHUP
// (the terminal went away) and the desktop session's request to save before it ends. Nothing in
// a signal handler may call Qt, so the handler only writes the signal's number into a pipe, which
// a socket notifier reads on the event loop (the self-pipe trick).
//
// One bridge at a time; its destructor gives the signals back their default actions.

#include <QObject>

class QSocketNotifier;

namespace qloom::gui {

class SignalBridge : public QObject {
    Q_OBJECT

public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

    // False when the pipe or the handlers could not be set up; the signals then keep their
    // default actions.
    bool installed() const { return notifier_ != nullptr; }

Q_SIGNALS:
    // The program should end now, the way its close button ends it.
    void endRequested();

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace qloom::gui
