#pragma once

// Tells the window when the project folder or its script may have been changed by someone else:
// the file system's notifications (a rename over the script drops the watch on it, so the path
// is watched again after each event) and, for file systems that send none (network shares), a
// look at the metadata every few seconds. It only says "look"; SaveGuard decides what changed.

#include <QObject>
#include <QString>
#include <functional>

class QFileSystemWatcher;
class QTimer;

namespace qloom::gui {

class DiskWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMs = 2000;

    // `mayHaveChanged` is asked on each poll; true makes the watch signal.
    DiskWatch(std::function<bool()> mayHaveChanged, QObject* parent);

    // Watches `folder` and the script in it (nothing when empty).
    void follow(const QString& folder, const QString& script);

Q_SIGNALS:
    // Something may have changed; emitted once for a burst of events.
    void lookNeeded();

private:
    void rewatch();

    std::function<bool()> mayHaveChanged_;
    QFileSystemWatcher* watcher_;
    QTimer* poll_;
    QTimer* settle_; // folds a burst of notifications into one look
    QString folder_;
    QString script_;
};

} // namespace qloom::gui
