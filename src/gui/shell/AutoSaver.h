#pragma once

// Brings every change of the active project to the disk within two seconds, whatever made it
// (typing, a drag in the preview, a dialog), without the user saving: on a timer, it compares
// the project with the one last written and, when they differ, writes the preview variant
// composed from a copy (SaveTracker). It never touches the project, the preview or a control,
// and it shows nothing: a save that fails here fails again, and is reported, at the next save
// the user makes or at the close.
//
// A large project takes tens of milliseconds to save, so the save waits for a pause in the
// user's typing and clicking, but never longer than kLongestWaitMs.

#include "gui/shell/SaveTracker.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace qloom::gui {

class AutoSaver : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 500;     // how often the project is compared
    static constexpr int kQuietMs = 400;        // a pause in the input long enough to save in
    static constexpr int kLongestWaitMs = 1000; // from noticing a change to saving it, at most

    AutoSaver(const Project& project, QObject* parent);
    ~AutoSaver() override;

    // The project, as it is now, has just been written by another save (the final variant
    // must stay on disk until the project changes again).
    void noteSaved();
    // The program is ending: no more saves.
    void stop();
    // Saves now when the project changed (the timer's work, without waiting for a pause).
    SaveTracker::Outcome saveIfChanged();

Q_SIGNALS:
    // For the status line: a save of this saver reached the disk, or failed and why.
    void saved();
    void saveFailed(const QString& reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override; // notes the time of each input

private:
    void check();

    const Project& project_;
    SaveTracker tracker_;
    QTimer* timer_;
    QElapsedTimer sinceInput_;
    QElapsedTimer sinceNoticed_; // invalid while nothing waits to be saved
};

} // namespace qloom::gui
