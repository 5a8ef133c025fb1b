#pragma once

// The start dialog: the only way into a project. Up at start-up ("Quit" ends the program) and
// again after "Projects..." in the main window ("Cancel" returns to the current project).

#include <QDialog>
#include <memory>

namespace Ui {
class StartDialog;
}

namespace qloom::gui {

class MainWindow;
class FolderChooser;

class StartDialog : public QDialog {
    Q_OBJECT

public:
    // The folder chooser is created after this dialog and found through the main window.
    explicit StartDialog(MainWindow& main);
    ~StartDialog() override;

    // Editor mode from now on: the last button reads "Cancel" and returns to the project.
    void setOpenedFromEditor();
    bool openedFromEditor() const { return openedFromEditor_; }

    // Opens the project of the folder in the chooser's path box; true when it was opened.
    bool openProjectFolder();
    // The folder named on the command line: opens its project without showing this dialog,
    // or, when that fails (after its message), shows the dialog as at start-up.
    void openFolderOrShow(const QString& folder);

    void reject() override; // Esc closes nothing

Q_SIGNALS:
    void quitRequested();

protected:
    void showEvent(QShowEvent* event) override;   // formShow
    void closeEvent(QCloseEvent* event) override; // FormClose
    void paintEvent(QPaintEvent* event) override;

private:
    void startPreviewAfresh();
    void btnNewClick();
    void btnOpenClick();
    void btnOpenLastEditedClick();
    void btnQuit_CancelClick();
    // Leaves the dialog for the main window after a successful new, open or cancel.
    void returnToMainWindow();
    // Disables the main window while this dialog is up (first step of formShow).
    void holdMainWindow();
    // The projects folder, made on first use; the chooser starts there.
    QString projectsFolder();
    FolderChooser& chooser();

    std::unique_ptr<Ui::StartDialog> ui;
    MainWindow& main_;
    bool openedFromEditor_ = false;
    // The LastEdited folder the button offers (its tool tip shows it).
    QString lastEditedFolder_;
};

} // namespace qloom::gui
