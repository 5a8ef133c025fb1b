#pragma once

#include "gui/preview/RateLimit.h"
#include "script/ScriptWriter.h"

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
class QPlainTextEdit;

namespace qloom::gui {

class MainWindowOps;
class PreviewWindow;

// The main window's side of the preview: saving and reloading the page, the freshness mark on
// "Update Preview", scrolling the preview window to a menu, driving the page's selection, the
// commands the page sends back through its title, and the script-error log js.log.
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
        QPlainTextEdit* errorList;      // the hidden list of script errors behind js.log
        QCheckBox* stayOnTop;           // "on Top"; may be null
    };

    PreviewController(MainWindowOps& ops, const Controls& controls, QObject* parent = nullptr);
    ~PreviewController() override;

    PreviewWindow* browser() const { return browser_.get(); }

    // Told the rows whose default caption a refresh swapped, so the caption editor shows it.
    using CaptionsSwapped = std::function<void(const std::vector<int32_t>& rows)>;
    void setCaptionSwapHook(CaptionsSwapped hook) { captionSwapHook_ = std::move(hook); }
    // Folder (with trailing separator) that holds js.log; the program's folder by default.
    void setScriptErrorLogFolder(const QString& folder) { logFolder_ = folder; }
    QString scriptErrorLogPath() const;

    void navigatePreview();
    void runPreviewScript(const QString& code);
    void showPreviewWindow();
    void refreshPreview();
    void scrollPreviewTo(int32_t index);
    void selectInPreview(int32_t row);
    void markPreviewStale();
    void markPreviewCurrent();
    void handleIdeCommand(const std::string& title);
    // A title as the page set it: counted against the rate limit, then handled in order.
    void receiveTitle(const QString& title);
    // Writes js.log now if errors are waiting (the timer does it otherwise).
    void flushScriptErrorLog();
    // Bytes written to js.log in this run.
    qint64 scriptErrorLogBytes() const { return logBytes_; }
    // The allowed root for a project folder: the user's site folder for it, if still valid.
    static QString allowedRootFor(const QString& projectFolder);

    // Keyboard in the preview window: moves the selected menu by (dx, dy) the way a drag does,
    // one undo step for a burst of presses.
    void nudgeSelected(int32_t dx, int32_t dy);
    // Selects the next (or, with a negative step, the previous) menu, wrapping around.
    void selectNextMenu(int step);
    // Puts the menu where the table has it without reloading the page (after undo of a move).
    void showMovedMenu(int32_t row);

    void btnShowPreviewClick();
    void btnUpdatePreviewClick();
    void txtJS_ErrorsChange();

    bool previewMarkedStale() const;

Q_SIGNALS:
    // A note for the status line (js.log cannot be written), given once per run.
    void statusNote(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refresh();
    // Bold with a red glyph while the preview is stale; plain with a black one otherwise.
    void setStaleMark(bool stale);
    bool recordMove(int32_t row, int32_t x, int32_t y, bool nudge);
    void appendErrorLine(const QString& line);

    MainWindowOps& ops_;
    std::unique_ptr<PreviewWindow> browser_;
    QAbstractButton* btnShowPreview_;
    QAbstractButton* btnUpdatePreview_;
    QPlainTextEdit* txtJS_Errors_;
    QCheckBox* chkStayOnTop_; // may be null
    CaptionsSwapped captionSwapHook_;
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
