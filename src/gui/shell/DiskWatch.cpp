#include "gui/shell/internal/DiskWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace qloom::gui {

namespace {
// Editors write in several steps (temporary file, rename, permissions); the look comes once
// they are done.
constexpr int kSettleMs = 150;
} // namespace

DiskWatch::DiskWatch(std::function<bool()> mayHaveChanged, QObject* parent)
    : QObject(parent), mayHaveChanged_(std::move(mayHaveChanged)),
      watcher_(new QFileSystemWatcher(this)), poll_(new QTimer(this)), settle_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, [this] {
        rewatch();
        Q_EMIT lookNeeded();
    });
    const auto noticed = [this] { settle_->start(); };
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, noticed);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, noticed);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (mayHaveChanged_ && mayHaveChanged_())
            settle_->start();
    });
}

void DiskWatch::follow(const QString& folder, const QString& script) {
    folder_ = folder;
    script_ = script;
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    if (folder.isEmpty()) {
        poll_->stop();
        return;
    }
    rewatch();
    poll_->start();
}

void DiskWatch::rewatch() {
    for (const QString& path : {folder_, script_}) {
        if (!path.isEmpty() && QFileInfo::exists(path) && !watcher_->files().contains(path) &&
            !watcher_->directories().contains(path))
            watcher_->addPath(path);
    }
}

} // namespace qloom::gui
