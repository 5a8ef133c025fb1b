#pragma once

// The main window: the frame of the program. It holds the project session (the open project,
// its history, saving) and every other window, created once in start-up order, lays out the
// editing controls and carries out what the start dialog's choice and its own buttons ask.
//
// The main window's own controls (MainWindow.ui): the buttons of the top row and the bottom row,
// "on Top", the Checks list and the status line. The menu list, the property tabs and the HTML
// tool buttons are the PropertyEditor widget, placed at (4, 40); the preview controller gets
// "Show Preview", "Update Preview" and "on Top" from here.

#include "model/ProjectEdit.h"
#include "model/Result.h"

#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class MainWindow;
}

class QDialog;
class QModelIndex;
class QTimer;

namespace qloom::gui {

class CheckListModel;
class HtmlTools;
class PreviewController;
class PropertyEditor;
class PreviewWindow;
class ProjectSession;
class StartDialog;
struct StartChoice;
class FolderChooser;
class FinalizedDialog;
class MainMenuBar;
class StatusIndicators;
class HelpWindow;
class ProjectSettingsDialog;
class TemplateInfoDialog;
class UndoKeyFilter;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // The program folder (only its help pages are used) is taken from the running program and
    // the projects folder is the user's (UserPlaces) unless given (tests).
    explicit MainWindow(const QString& programFolder = QString(),
                        const QString& projectsFolder = QString());
    // Records the active project's folder as LastEdited.
    ~MainWindow() override;

    // Whether the embedded browser component is usable; shows the browser message when it is
    // not.
    bool checkBrowserVersion();
    // The other windows in their fixed order, each once. With a folder from the command line its
    // project is opened at once, and the start dialog comes up only when that fails.
    void createOtherWindows(const QString& openFolder = QString());

    // Ends the program the way the close button does (final variant saved, LastEdited
    // recorded), without asking anything: for requests from outside (signals, the desktop
    // session ending) that will not wait for an answer.
    void endSession();

    ProjectSession* session() const { return session_; }
    // Where new projects are proposed and the folder chooser starts.
    QString projectsFolder() const { return projectsFolder_; }
    QString helpIndex() const { return helpIndex_; }
    // The help pages' window, once F1 or the help button has opened it.
    HelpWindow* helpWindow() const { return help_; }
    PreviewWindow* previewWindow() const;
    PropertyEditor* propertyEditor() const { return editor_; }
    PreviewController* previewController() const { return preview_; }
    StartDialog* startDialog() const { return startDialog_.get(); }
    FolderChooser* folderChooser() const;
    FinalizedDialog* finalizedDialog() const { return finalizedDialog_; }
    HtmlTools* htmlTools() const { return htmlTools_; }
    ProjectSettingsDialog* projectSettingsDialog() const { return projectSettingsDialog_; }
    TemplateInfoDialog* templateInfoWindow() const { return templateInfoDialog_; }
    CheckListModel* checkList() const { return checks_; }

    // Carries out what the user chose in the start dialog; true when a project was created or
    // opened (or the choice was to go back to the current one).
    bool onStartChoice(const StartChoice& choice);
    // Saves the preview variant, reloads the page and shows the preview window.
    void refreshPreview();
    // The status line: "Active Project: " and the folder, shortened in the middle to fit.
    void setActiveProject(const QString& folder);
    void setHelpButtonEnabled(bool enabled);
    void showHelp();
    // Enables the menu bar's entries that need a project.
    void setProjectOpen(bool open);
    MainMenuBar* menuBar() const { return menuBar_; }
    StatusIndicators* statusIndicators() const { return status_; }

Q_SIGNALS:
    // The program should end (the window was closed, or "Quit" in the start dialog).
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override; // minimise and restore

private:
    void onAddMenuClicked();
    void onDeleteClicked();
    void onFinalizeClicked();
    void onProjectsClicked();
    void onProjectSettingsClicked();
    void onStayOnTopClicked(bool checked);
    // Ctrl+S: writes the script now.
    void saveNow();
    // A project was created or opened: status line, Checks list and the preview follow.
    void onProjectReplaced();
    // The Checks list follows the project: one menu's checks for an edit of that menu, all of
    // them for anything larger, a moment after the change so typing never waits for them.
    void onMenusChanged(const ProjectEdit& edit);
    void recheck();
    void followFinding(const QModelIndex& index);
    // Opens the project settings dialog once it exists.
    void showProjectSettings();
    // The menu bar, the button rows, the editor, the Checks list and the status line in layouts
    // that let the window grow.
    void layOut();
    void showAbout();
    // The preview page's script errors, in a window of their own.
    void showScriptErrors();
    QString scriptErrorText() const;
    // Shortens the status line's text (the active project, or a note about the preview) for
    // the room its label has now.
    void fitStatusLabel();

    std::unique_ptr<Ui::MainWindow> ui;
    ProjectSession* session_ = nullptr; // child of this window
    UndoKeyFilter* undoKeys_ = nullptr; // child of this window
    QString projectsFolder_;
    QString helpIndex_;

    HelpWindow* help_ = nullptr;       // child of this window, made on first use
    CheckListModel* checks_ = nullptr; // child of this window
    QTimer* checkTimer_ = nullptr;     // child of this window
    std::vector<int32_t> rowsToCheck_;
    bool checkAll_ = false;
    PropertyEditor* editor_ = nullptr;     // child of this window
    PreviewController* preview_ = nullptr; // child of this window; owns the preview window
    // Not a child: disabling this window while the start dialog is up would disable it too.
    std::unique_ptr<StartDialog> startDialog_;
    // The dialogs are children of the window they are opened from, so the window manager keeps
    // each above its owner, also above an always-on-top one.
    FinalizedDialog* finalizedDialog_ = nullptr;
    HtmlTools* htmlTools_ = nullptr; // child of this window; owns the three fragment dialogs
    ProjectSettingsDialog* projectSettingsDialog_ = nullptr;
    TemplateInfoDialog* templateInfoDialog_ = nullptr; // child of the settings dialog
    bool ending_ = false;
    MainMenuBar* menuBar_ = nullptr;     // child of this window
    StatusIndicators* status_ = nullptr; // child of the status line
    QDialog* scriptErrors_ = nullptr;    // child of this window, made when first asked for
    // Shown on the status line instead of the project until the next project is shown.
    QString statusNote_;
};

} // namespace qloom::gui
