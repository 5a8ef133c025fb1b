#include "gui/shell/AutoSaver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace qloom::gui {

AutoSaver::AutoSaver(const Project& project, QObject* parent)
    : QObject(parent), project_(project), timer_(new QTimer(this)) {
    sinceInput_.start();
    QCoreApplication::instance()->installEventFilter(this);
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &AutoSaver::check);
    timer_->start();
}

AutoSaver::~AutoSaver() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void AutoSaver::noteSaved() {
    tracker_.noteSaved(project_);
    sinceNoticed_.invalidate();
    if (sinceFailure_.isValid()) {
        sinceFailure_.invalidate();
        Q_EMIT saved();
    }
}

void AutoSaver::stop() {
    stopped_ = true;
    timer_->stop();
}

SaveTracker::Outcome AutoSaver::saveIfChanged() {
    sinceNoticed_.invalidate();
    if (stopped_ || !tracker_.changedSince(project_))
        return SaveTracker::Outcome::Unchanged;
    if (gate_ && !gate_()) {
        // Held back (another program's version, a read-only file, a moved folder): asked again
        // at the pace of a failed write, not at every tick.
        sinceFailure_.start();
        inputSinceFailure_ = false;
        return SaveTracker::Outcome::Unchanged;
    }
    Status failure;
    const SaveTracker::Outcome outcome = tracker_.save(project_, &failure);
    if (outcome == SaveTracker::Outcome::Failed) {
        sinceFailure_.start();
        inputSinceFailure_ = false;
        Q_EMIT saveFailed(failure);
    } else if (sinceFailure_.isValid() || outcome == SaveTracker::Outcome::Written) {
        sinceFailure_.invalidate();
        Q_EMIT saved();
    }
    return outcome;
}

void AutoSaver::check() {
    if (!tracker_.changedSince(project_)) {
        sinceNoticed_.invalidate();
        return;
    }
    // A write that failed (a full disk) is tried again every few seconds, or at once when the
    // user does something, not twice a second.
    if (sinceFailure_.isValid() && !inputSinceFailure_ && sinceFailure_.elapsed() < kRetryMs)
        return;
    if (!sinceNoticed_.isValid())
        sinceNoticed_.start();
    if (sinceInput_.elapsed() < kQuietMs && sinceNoticed_.elapsed() < kLongestWaitMs)
        return;
    saveIfChanged();
}

bool AutoSaver::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
        sinceInput_.restart();
        inputSinceFailure_ = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qloom::gui
