#pragma once

// The start dialog: the only way into a project. Up at start-up ("Quit" ends the program) and
// again after "Projects..." in the main window ("Cancel" returns to the current project). It
// only asks: the folder chooser (its own child) gives the folder, and chosen() hands the user's
// choice to the main window, whose session creates or opens the project. The dialog stays up
// until the main window calls leave().

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class StartDialog;
}

namespace qloom::gui {

class FolderChooser;
class ProjectSessionApi;

struct StartChoice {
    enum class Kind {
        NewProject,     // a new project in `folder` (its path as the user gave it, tidied)
        OpenProject,    // the project in `folder`
        OpenLastEdited, // the project that was open when the program last ended, in `folder`
        Quit,           // end the program (start-up mode)
        Cancel,         // back to the current project (editor mode)
    };
    Kind kind = Kind::Cancel;
    std::string folder;
};

class StartDialog : public QDialog {
    Q_OBJECT

public:
    // `heldWindow` (the main window) is disabled while this dialog is up; the chooser starts in
    // `projectsFolder`, made on first use.
    StartDialog(ProjectSessionApi& session, QWidget* heldWindow, const QString& projectsFolder);
    ~StartDialog() override;

    FolderChooser* folderChooser() const { return folderChooser_; }

    // Editor mode from now on: the last button reads "Cancel" and returns to the project.
    void setOpenedFromEditor();
    bool openedFromEditor() const { return openedFromEditor_; }
    // The choice was carried out (or cancelled): the main window takes over.
    void leave();

    void reject() override; // Escape: Cancel in editor mode, nothing at start-up

Q_SIGNALS:
    void chosen(const qloom::gui::StartChoice& choice);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // only the buttons leave the dialog
    void paintEvent(QPaintEvent* event) override;

private:
    void onNewClicked();
    void onOpenClicked();
    void onOpenLastEditedClicked();
    void onQuitOrCancelClicked();
    // Disables the main window while this dialog is up.
    void holdMainWindow();
    // The projects folder, made on first use; the chooser starts there.
    QString projectsFolder();

    std::unique_ptr<Ui::StartDialog> ui;
    ProjectSessionApi& session_;
    QWidget* heldWindow_;
    QString projectsFolder_;
    FolderChooser* folderChooser_; // child of this dialog
    bool openedFromEditor_ = false;
    // The LastEdited folder the button offers (its tool tip shows it).
    QString lastEditedFolder_;
};

} // namespace qloom::gui
