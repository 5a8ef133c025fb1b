#pragma once

// The main window: owns the project (menu table and settings) and every other window of the
// program, lays out the editing controls, and implements the main-window operations.
//
// Controls other parts bind by objectName (see MainWindow.ui):
// - txtLeft, txtTop, txtWidth, txtCapHeight: QLineEdit, maxLength 3.
// - UpDown_Left, UpDown_Top, UpDown_Width, UpDown_CapHeight: the spin arrows beside the boxes,
//   editor/UpDownControl (range set by the property editor).
// - radActivateOn: QGroupBox " Activate On " holding radMouseOver (item 0) and radMouseClick
//   (item 1), QRadioButtons.
// - chkFloat, chkTranspCC, chkTranspCM, chkTranspCO: QCheckBox.
// - grpOrientation: QGroupBox with radHorizontal, radVertical and the pictures picHorizontal,
//   picVertical (QLabel).
// - txtCapHTML, txtMenuHTML: QPlainTextEdit, no wrapping.
// - panCaptionColor, panMenuColor, panOwnerColor: 20 x 20 editor/ColorSwatch; labels
//   lblCaptionColor, lblMenuColor, lblOwnerColor.
// - panHTMLTools: QFrame over the lower tab area, hidden at start, holding btnAddNEWLINE,
//   btnAddText, btnAddURL, btnAddimage.
// - btnUpdatePreview, btnShowPreview, listMenus (QListWidget), tabProp (QTabWidget),
//   txtJS_Errors (hidden QPlainTextEdit).

#include "gui/common/MainWindowOps.h"

#include <QDialog>
#include <QWidget>
#include <memory>

namespace Ui {
class MainWindow;
}

class QLabel;

namespace qloom::gui {

class AutoSaver;
class HtmlTools;
class PreviewController;
class PropertyEditor;
class PreviewWindow;
class StartDialog;
class FolderChooser;
class FinalizedDialog;
class ProjectSettingsDialog;
class TemplateInfoDialog;

class MainWindow : public QWidget, public MainWindowOps {
    Q_OBJECT

public:
    // formCreate: the program folder is taken from the running program and the projects folder
    // is the user's (UserPlaces) unless given (tests).
    explicit MainWindow(const QString& programFolder = QString(),
                        const QString& projectsFolder = QString());
    // FormDestroy: records the active project's folder as LastEdited.
    ~MainWindow() override;

    // Start-up step 3: whether the embedded browser component is usable; shows the browser
    // message when it is not.
    bool checkBrowserVersion();
    // Start-up step 4: the other windows in their fixed order, each once. With a folder from
    // the command line its project is opened at once, and the start dialog comes up only when
    // that fails.
    void createOtherWindows(const QString& openFolder = QString());

    // Ends the program the way the close button does (final variant saved, LastEdited
    // recorded), without asking anything: for requests from outside (signals, the desktop
    // session ending) that will not wait for an answer.
    void endSession();

    QString programFolder() const { return programFolder_; }
    // Where new projects are proposed and the folder chooser starts.
    QString projectsFolder() const { return projectsFolder_; }
    QString helpIndex() const { return helpIndex_; }
    PreviewWindow* previewWindow() const;
    PropertyEditor* propertyEditor() const { return editor_; }
    PreviewController* previewController() const { return preview_; }
    StartDialog* startDialog() const { return frmStart_.get(); }
    FolderChooser* folderChooser() const { return frmSelFolder_; }
    FinalizedDialog* finalizedDialog() const { return frmFinilizedOK_; }
    HtmlTools* htmlTools() const { return htmlTools_; }
    AutoSaver* autoSaver() const { return autoSaver_; }
    ProjectSettingsDialog* projectSettingsDialog() const { return frmProjectSettings_; }
    TemplateInfoDialog* templateInfoWindow() const { return frmTemplateInfo_; }

    // The menu list follows the table: emptied for a new project, rebuilt after opening one.
    void clearMenuList();
    void rebuildMenuList();

    // MainWindowOps.
    Project& project() override { return project_; }
    QWidget* mainWidget() override { return this; }
    void showMenuProperties(int32_t row) override;
    void setEditingEnabled(bool enabled) override;
    void refreshPreview() override;
    void scrollPreviewTo(int32_t row) override;
    void selectInPreview(int32_t row) override;
    void markPreviewStale() override;
    void markPreviewCurrent() override;
    void setActiveProject(const QString& folder) override;
    void setHelpButtonEnabled(bool enabled) override;
    void showHelp() override;
    bool report(const Status& status) override;

Q_SIGNALS:
    // The program should end (the window was closed, or "Quit" in the start dialog).
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;   // FormClose
    void resizeEvent(QResizeEvent* event) override; // FormResize
    void changeEvent(QEvent* event) override;       // minimise and restore

private:
    void btnAddMenuClick();
    void btnDeleteClick();
    void btnFinalizeClick();
    void btnProjectsClick();
    void btnActiveProjectSettingsClick();
    void chkStayOnTopClick(bool checked);
    // Opens the project settings dialog once it exists.
    void showProjectSettings();
    // Script saving with the busy cursor, reporting failure; returns whether it succeeded.
    bool saveScript(bool forPreview);
    // LastEdited := the active project's folder; false (with the store's file) when it failed.
    bool recordLastEdited(QString* store);

    std::unique_ptr<Ui::MainWindow> ui;
    Project project_;
    QString programFolder_;
    QString projectsFolder_;
    QString helpIndex_;

    PropertyEditor* editor_ = nullptr;     // child of this window
    AutoSaver* autoSaver_ = nullptr;       // child of this window
    PreviewController* preview_ = nullptr; // child of this window; owns the preview window
    // Not a child: disabling this window while the start dialog is up would disable it too.
    std::unique_ptr<StartDialog> frmStart_;
    // The dialogs are children of the window they are opened from, so the window manager keeps
    // each above its owner, also above an always-on-top one.
    FolderChooser* frmSelFolder_ = nullptr; // child of the start dialog
    FinalizedDialog* frmFinilizedOK_ = nullptr;
    HtmlTools* htmlTools_ = nullptr; // child of this window; owns the three fragment dialogs
    ProjectSettingsDialog* frmProjectSettings_ = nullptr;
    TemplateInfoDialog* frmTemplateInfo_ = nullptr; // child of the settings dialog
    bool ending_ = false;
};

} // namespace qloom::gui
