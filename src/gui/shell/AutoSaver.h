#pragma once

// Brings every change of the active project to the disk within two seconds, whatever made it
// (typing, a drag in the preview, a dialog), without the user saving: on a timer, it compares
// the project with the one last written and, when they differ, writes the preview variant
// composed from a copy (SaveTracker). It never touches the project, the preview or a control.
// Before each write it asks its gate (the window's check that the file on disk is still the one
// qLoom wrote); a failed write keeps the change waiting, is announced (saveFailed) and is tried
// again every kRetryMs, or at once after the user's next input.
//
// A large project takes tens of milliseconds to save, so the save waits for a pause in the
// user's typing and clicking, but never longer than kLongestWaitMs.

#include "gui/shell/SaveTracker.h"

#include "model/Result.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QTimer;

namespace qloom::gui {

class AutoSaver : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 500;     // how often the project is compared
    static constexpr int kQuietMs = 400;        // a pause in the input long enough to save in
    static constexpr int kLongestWaitMs = 1000; // from noticing a change to saving it, at most
    static constexpr int kRetryMs = 3000;       // after a failed write, unless the user acts

    AutoSaver(const Project& project, QObject* parent);
    ~AutoSaver() override;

    // The project, as it is now, has just been written by another save (the final variant
    // must stay on disk until the project changes again).
    void noteSaved();
    // The program is ending: no more saves.
    void stop();
    // Saves now when the project changed (the timer's work, without waiting for a pause).
    SaveTracker::Outcome saveIfChanged();
    // Asked before every write; false skips it (the change stays waiting).
    void setGate(std::function<bool()> gate) { gate_ = std::move(gate); }
    // The project differs from what was last written.
    bool hasUnsavedChange() const { return tracker_.changedSince(project_); }

Q_SIGNALS:
    void saved();
    void saveFailed(const qloom::Status& failure);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override; // notes the time of each input

private:
    void check();

    const Project& project_;
    SaveTracker tracker_;
    QTimer* timer_;
    QElapsedTimer sinceInput_;
    QElapsedTimer sinceNoticed_; // invalid while nothing waits to be saved
    QElapsedTimer sinceFailure_; // valid while the last write failed
    bool inputSinceFailure_ = false;
    bool stopped_ = false;
    std::function<bool()> gate_;
};

} // namespace qloom::gui
