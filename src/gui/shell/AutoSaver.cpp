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
}

void AutoSaver::stop() {
    timer_->stop();
}

SaveTracker::Outcome AutoSaver::saveIfChanged() {
    sinceNoticed_.invalidate();
    Status failure;
    const SaveTracker::Outcome outcome = tracker_.save(project_, &failure);
    if (outcome == SaveTracker::Outcome::Written)
        Q_EMIT saved();
    else if (outcome == SaveTracker::Outcome::Failed)
        Q_EMIT saveFailed(QString::fromStdString(failure.message));
    return outcome;
}

void AutoSaver::check() {
    if (!tracker_.changedSince(project_)) {
        sinceNoticed_.invalidate();
        return;
    }
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
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qloom::gui
