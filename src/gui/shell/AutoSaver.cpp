#include "gui/shell/internal/AutoSaver.h"

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
    // A retry waiting for its few seconds is brought forward: the user is at work again.
    if (!timer_.isActive() || retrying_) {
        retrying_ = false;
        timer_.start(kQuietMs);
    }
}

void AutoSaver::retryLater() {
    if (stopped_)
        return;
    retrying_ = true;
    sinceFirstChange_.start();
    timer_.start(kRetryMs);
}

void AutoSaver::noteSaved() {
    retrying_ = false;
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
    retrying_ = false;
    sinceFirstChange_.invalidate();
    save_();
}

} // namespace qloom::gui
