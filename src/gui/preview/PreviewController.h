#pragma once

#include "script/ScriptWriter.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

class QAbstractButton;
class QCheckBox;
class QPlainTextEdit;
class QWidget;

namespace qloom::gui {

class MainWindowOps;
class PreviewWindow;

// The main window's side of the preview: saving and reloading the page, the freshness mark on
// "Update Preview", scrolling the preview window to a menu, driving the page's selection, the
// commands the page sends back through its title, and the script-error log js.log.
class PreviewController : public QObject {
    Q_OBJECT
public:
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

    // Given to SaveScript, so a caption swap of the selected row reaches the caption editor.
    void setCaptionSwapHook(CaptionSwapHook hook) { captionSwapHook_ = std::move(hook); }
    // Folder (with trailing separator) that holds js.log; the program's folder by default.
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refresh();
    bool recordMove(int32_t row, int32_t x, int32_t y, bool nudge);

    MainWindowOps& ops_;
    std::unique_ptr<PreviewWindow> browser_;
    QAbstractButton* btnShowPreview_;
    QAbstractButton* btnUpdatePreview_;
    QPlainTextEdit* txtJS_Errors_;
    QCheckBox* chkStayOnTop_; // may be null
    CaptionSwapHook captionSwapHook_;
    QString programFolder_;
    bool emptyingErrors_ = false;
    QTimer nudgeBurst_; // a pause in the arrow presses ends the undo step
};

} // namespace qloom::gui
