#include "gui/shell/AutoSaver.h"

#include <QTimer>

namespace qloom::gui {

AutoSaver::AutoSaver(const Project& project, QObject* parent)
    : QObject(parent), project_(project), timer_(new QTimer(this)) {
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &AutoSaver::saveIfChanged);
    timer_->start();
}

void AutoSaver::noteSaved() {
    tracker_.noteSaved(project_);
}

void AutoSaver::stop() {
    timer_->stop();
}

SaveTracker::Outcome AutoSaver::saveIfChanged() {
    return tracker_.save(project_);
}

} // namespace qloom::gui
