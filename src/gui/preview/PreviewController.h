#pragma once

#include "gui/common/ProjectSessionApi.h"
#include "gui/preview/RateLimit.h"
#include "gui/preview/ScriptErrorLog.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

class QAbstractButton;
class QCheckBox;
class QWidget;

namespace qloom::gui {

class PreviewWindow;

// The main window's side of the preview: reloading the page after the session saved it, the
// freshness mark on "Update Preview" (it follows the session's stale flag), scrolling the
// preview window to a menu, driving the page's selection when the editor selects, the commands
// the page sends back through its title, and the script-error log js.log.
//
// Nothing the page does opens a box: bad commands, dropped commands and the page's troubles go
// to the error list. Title commands are taken one at a time, at most kCommandsPerSecond; js.log
// mirrors the list's last kScriptErrorListLimit lines and is rewritten at most once per
// kLogFlushMs, not once per error.
class PreviewController : public QObject {
    Q_OBJECT
public:
    static constexpr size_t kCommandsPerSecond = 100;
    static constexpr int kLogFlushMs = 1000;

    // The main window's controls that belong to the preview.
    struct Controls {
        QAbstractButton* showPreview;   // "Show Preview"
        QAbstractButton* updatePreview; // "Update Preview", bold while the preview is stale
        QCheckBox* stayOnTop;           // "on Top"; may be null
    };

    PreviewController(ProjectSessionApi& session, const Controls& controls,
                      QObject* parent = nullptr);
    ~PreviewController() override;

    PreviewWindow* browser() const { return browser_.get(); }

    // Folder (with trailing separator) that holds js.log; the program's folder by default.
    void setScriptErrorLogFolder(const QString& folder) { logFolder_ = folder; }
    QString scriptErrorLogPath() const;

    void navigatePreview();
    void runPreviewScript(const QString& code);
    void showPreviewWindow();
    void refreshPreview();
    void scrollPreviewTo(int32_t index);
    // The editor chose `row`: the page draws its selection frame there and the window scrolls.
    void showSelection(int32_t row);
    void handleIdeCommand(const std::string& title);
    // A title as the page set it: counted against the rate limit, then handled in order.
    void receiveTitle(const QString& title);
    // Writes js.log now if errors are waiting (the timer does it otherwise).
    void flushScriptErrorLog();
    // The page's error lines of this run, behind js.log.
    const ScriptErrorLog& scriptErrors() const { return scriptErrors_; }
    // Bytes written to js.log in this run.
    qint64 scriptErrorLogBytes() const { return logBytes_; }
    // The allowed root for a project folder: the user's site folder for it, if still valid.
    static QString allowedRootFor(const QString& projectFolder);

    // Keyboard in the preview window: moves the selected menu by (dx, dy) the way a drag does,
    // one undo step for a burst of presses.
    void nudgeSelected(int32_t dx, int32_t dy);
    // True while the preview's width puts the page's menus in the small-screen list.
    bool smallScreenShown() const;
    // Selects the next (or, with a negative step, the previous) menu, wrapping around.
    void selectNextMenu(int step);
    // Puts the menu where the table has it without reloading the page (after undo of a move).
    void showMovedMenu(int32_t row);

    void onShowPreviewClicked();
    void onUpdatePreviewClicked();

    bool previewMarkedStale() const { return session_.previewStale(); }

Q_SIGNALS:
    // A note for the status line (js.log cannot be written), given once per run.
    void statusNote(const QString& text);
    // The page reported another script error; `count` lines are in the list now.
    void scriptErrorsChanged(int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refresh();
    // Sees the key presses of `widget` and of everything inside it, now and later.
    void watchKeysOf(QWidget* widget);
    // Bold with a red glyph while the preview is stale; plain with a black one otherwise.
    void showStaleMark(bool stale);
    void onSelectionChanged(int32_t row, SelectionSource source);
    void onRestored(const ProjectEdit& edit);
    bool recordMove(int32_t row, int32_t x, int32_t y, bool nudge);
    void appendErrorLine(const QString& line);

    ProjectSessionApi& session_;
    std::unique_ptr<PreviewWindow> browser_;
    QAbstractButton* showPreviewButton_;
    QAbstractButton* updatePreviewButton_;
    QCheckBox* stayOnTopBox_; // may be null
    ScriptErrorLog scriptErrors_;
    QString logFolder_;
    QTimer nudgeBurst_; // a pause in the arrow presses ends the undo step
    RateLimit commandRate_{kCommandsPerSecond, 1000};
    QElapsedTimer clock_;
    std::deque<std::string> pendingTitles_;
    bool handlingTitles_ = false;
    qint64 droppedTitles_ = 0;
    QTimer logTimer_;
    bool logDirty_ = false;
    bool logFailureReported_ = false;
    qint64 logBytes_ = 0;
};

} // namespace qloom::gui
