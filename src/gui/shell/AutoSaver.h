#pragma once

// Brings every change of the active project to the disk within two seconds, whatever made it
// (typing, a drag in the preview, a dialog), without the user saving: on a timer, it compares
// the project with the one last written and, when they differ, writes the preview variant
// composed from a copy (SaveTracker). It never touches the project, the preview or a control,
// and it shows nothing: a save that fails here fails again, and is reported, at the next save
// the user makes or at the close.

#include "gui/shell/SaveTracker.h"

#include <QObject>

class QTimer;

namespace qloom::gui {

class AutoSaver : public QObject {
    Q_OBJECT

public:
    // A change reaches the disk at the latest one interval (plus the save itself) after it.
    static constexpr int kIntervalMs = 1000;

    AutoSaver(const Project& project, QObject* parent);

    // The project, as it is now, has just been written by another save (the final variant
    // must stay on disk until the project changes again).
    void noteSaved();
    // The program is ending: no more saves.
    void stop();
    // What the timer does, now.
    SaveTracker::Outcome saveIfChanged();

private:
    const Project& project_;
    SaveTracker tracker_;
    QTimer* timer_;
};

} // namespace qloom::gui
