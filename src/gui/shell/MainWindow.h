#pragma once

// The main window: owns the project (menu table and settings) and every other window of the
// program, lays out the editing controls, and implements the main-window operations.
//
// The main window's own controls (MainWindow.ui): the buttons of the top row and the bottom row,
// "on Top", the status line and the hidden script-error list. The menu list, the property tabs
// and the HTML tool buttons are the PropertyEditor widget, placed at (4, 40); the preview
// controller gets "Show Preview", "Update Preview", "on Top" and the error list from here.

#include "gui/common/MainWindowOps.h"
#include "model/ProjectEdit.h"

#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class MainWindow;
}

class QModelIndex;
class QTimer;

namespace qloom::gui {

class AutoSaver;
class CheckListModel;
class HtmlTools;
class ProjectHistory;
class PreviewController;
class PropertyEditor;
class PreviewWindow;
class StartDialog;
class FolderChooser;
class FinalizedDialog;
class HelpWindow;
class ProjectSettingsDialog;
class TemplateInfoDialog;

class MainWindow : public QWidget, public MainWindowOps {
    Q_OBJECT

public:
    // formCreate: the program folder (only its help pages are used) is taken from the running
    // program and the projects folder is the user's (UserPlaces) unless given (tests).
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

    // Where new projects are proposed and the folder chooser starts.
    QString projectsFolder() const { return projectsFolder_; }
    QString helpIndex() const { return helpIndex_; }
    // The help pages' window, once F1 or the help button has opened it.
    HelpWindow* helpWindow() const { return help_; }
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

    // A project was created or opened: the menu list is rebuilt from the table, the undo history
    // starts afresh and every menu is checked.
    void projectReplaced();

    ProjectHistory* projectHistory() const { return history_; }
    CheckListModel* checkList() const { return checks_; }

    // MainWindowOps.
    Project& project() override { return project_; }
    QWidget* mainWidget() override { return this; }
    ProjectHistory& history() override { return *history_; }
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
    // Ctrl+S: writes the script now.
    void saveNow();
    // After undo or redo: the editor, the menu list and the preview show the project as it is.
    void showRestored(const ProjectEdit& edit);
    // The Checks list follows the project: one menu's checks for an edit of that menu, all of
    // them for anything larger, a moment after the change so typing never waits for them.
    void projectChanged(const ProjectEdit& edit);
    void recheck();
    void followFinding(const QModelIndex& index);
    // Opens the project settings dialog once it exists.
    void showProjectSettings();
    // Script saving with the busy cursor, reporting failure; returns whether it succeeded.
    bool saveScript(bool forPreview);
    // LastEdited := the active project's folder; a failure names the store's file.
    Status recordLastEdited();

    std::unique_ptr<Ui::MainWindow> ui;
    Project project_;
    QString projectsFolder_;
    QString helpIndex_;

    ProjectHistory* history_ = nullptr; // child of this window
    HelpWindow* help_ = nullptr;        // child of this window, made on first use
    CheckListModel* checks_ = nullptr;  // child of this window
    QTimer* checkTimer_ = nullptr;      // child of this window
    std::vector<int32_t> rowsToCheck_;
    bool checkAll_ = false;
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
