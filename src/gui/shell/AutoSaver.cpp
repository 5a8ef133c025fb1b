#include "gui/shell/AutoSaver.h"

#include <algorithm>

namespace qloom::gui {

AutoSaver::AutoSaver(std::function<void()> save, QObject* parent)
    : QObject(parent), save_(std::move(save)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AutoSaver::due);
}

AutoSaver::~AutoSaver() = default;

void AutoSaver::noteChange() {
    if (stopped_)
        return;
    sinceChange_.start();
    if (!sinceFirstChange_.isValid())
        sinceFirstChange_.start();
    if (!timer_.isActive())
        timer_.start(kQuietMs);
}

void AutoSaver::noteSaved() {
    timer_.stop();
    sinceFirstChange_.invalidate();
}

void AutoSaver::stop() {
    stopped_ = true;
    noteSaved();
}

void AutoSaver::due() {
    const qint64 quietLeft = kQuietMs - sinceChange_.elapsed();
    const qint64 waitLeft = kLongestWaitMs - sinceFirstChange_.elapsed();
    if (quietLeft > 0 && waitLeft > 0) {
        timer_.start(int(std::min(quietLeft, waitLeft)));
        return;
    }
    sinceFirstChange_.invalidate();
    save_();
}

} // namespace qloom::gui
