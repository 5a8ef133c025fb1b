#pragma once

// The right-hand part of the main window's status line: when the project was last saved (or
// why the last save failed, until a save succeeds again), and how many script errors the
// preview page has reported, as a button that shows them.

#include <QDateTime>
#include <QWidget>

class QLabel;
class QToolButton;

namespace qloom::gui {

class StatusIndicators final : public QWidget {
    Q_OBJECT
public:
    explicit StatusIndicators(QWidget* parent = nullptr);

    // A save reached the disk at `when`; clears a failure shown before.
    void showSaved(const QDateTime& when);
    // A save failed; stays until the next save succeeds.
    void showSaveFailed(const QString& reason);
    // The failure cleared without a save (the file was reloaded from disk): the last save shows
    // again.
    void clearSaveFailure();
    // A new project: nothing saved by this run yet, no failure.
    void clearSaveState();
    void setErrorCount(int count);

    QLabel* savedLabel() const { return saved_; }
    QToolButton* errorButton() const { return errors_; }
    bool showingFailure() const { return failed_; }

Q_SIGNALS:
    void errorsRequested();

private:
    QLabel* saved_;
    QToolButton* errors_;
    QDateTime lastSaved_;
    bool failed_ = false;
};

} // namespace qloom::gui
