#pragma once

// When the autosave writes: the session tells it of every change of the project (an edit, an
// undo, a selection) and it calls its save function once the changes pause for kQuietMs, but
// never later than kLongestWaitMs after the first change it has not saved, so steady typing is
// saved too. A write that failed (a full disk) or was held back (another program's change) is
// tried again after kRetryMs, or soon after the next change. A large project takes tens of
// milliseconds to save; waiting for a pause keeps that out of the user's typing. Nothing polls:
// without a change no timer runs.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace qloom::gui {

class AutoSaver final : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 400;        // a pause in the changes long enough to save in
    static constexpr int kLongestWaitMs = 1000; // from the first unsaved change to saving, at most
    static constexpr int kRetryMs = 3000;       // after a failed or held-back write

    AutoSaver(std::function<void()> save, QObject* parent);
    ~AutoSaver() override;

    // The project changed.
    void noteChange();
    // The last write failed or was held back: the save function is called again in kRetryMs,
    // or after the next change's pause, whichever comes first.
    void retryLater();
    // Another save has just written the project as it is: nothing waits any more.
    void noteSaved();
    // The program is ending: no more saves.
    void stop();
    bool pending() const { return timer_.isActive(); }

private:
    void due();

    std::function<void()> save_;
    QTimer timer_;
    QElapsedTimer sinceChange_;
    QElapsedTimer sinceFirstChange_; // invalid while nothing waits to be saved
    bool stopped_ = false;
    bool retrying_ = false;
};

} // namespace qloom::gui
