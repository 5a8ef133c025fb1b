#include "gui/shell/internal/StartDialog.h"

#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/PlainText.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UserSettings.h"
#include "gui/shell/ProgramIcon.h"
#include "gui/shell/internal/FolderChooser.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "gui/shell/internal/UserPlaces.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"
#include "ui_StartDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace qloom::gui {

namespace {
std::string lastEditedFolder() {
    return fromQ(UserSettings::value(UserSettings::kLastEdited).toString());
}
} // namespace

StartDialog::StartDialog(ProjectSessionApi& session, QWidget* heldWindow,
                         const QString& projectsFolder)
    : ui(std::make_unique<Ui::StartDialog>()), session_(session), heldWindow_(heldWindow),
      projectsFolder_(projectsFolder) {
    ui->setupUi(this);
    // No title bar buttons: window managers honour a request for no decorations at all, but
    // not one for a title without buttons (they only grey the actions), so the dialog draws its
    // own frame and the logo stands where a title would.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(uiText(msg::kAppTitle));
    ui->logoImage->setPixmap(ProgramLogo());
    ui->newProjectButton->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    ui->openProjectButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->openLastEditedButton->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    ui->quitOrCancelButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->quitOrCancelButton->setText(uiText(msg::kQuitCaption));
    // The layout fixes the size to the captions at the desktop's font.
    adjustSize();
    CenterOnDesktop(this);
    folderChooser_ = new FolderChooser(session_, this);

    connect(ui->newProjectButton, &QPushButton::clicked, this, &StartDialog::onNewClicked);
    connect(ui->openProjectButton, &QPushButton::clicked, this, &StartDialog::onOpenClicked);
    connect(ui->openLastEditedButton, &QPushButton::clicked, this,
            &StartDialog::onOpenLastEditedClicked);
    connect(ui->quitOrCancelButton, &QPushButton::clicked, this,
            &StartDialog::onQuitOrCancelClicked);
    new HelpKeyFilter(this, [this] { session_.showHelp(); });
}

StartDialog::~StartDialog() = default;

void StartDialog::setOpenedFromEditor() {
    openedFromEditor_ = true;
    ui->quitOrCancelButton->setText(uiText(msg::kCancelCaption));
}

void StartDialog::holdMainWindow() {
    heldWindow_->setEnabled(false);
    session_.setHelpAvailable(false);
}

void StartDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    holdMainWindow();
    // Shown before the preview window has finished mapping (at start-up) or while the main
    // window has the focus ("Projects..."): take the focus once those have settled, so that
    // Enter and Space reach this dialog without a click.
    QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
    });
    if (!openedFromEditor_) {
        const std::string folder = lastEditedFolder();
        if (!folder.empty() && PathExists(folder)) {
            ui->openLastEditedButton->setEnabled(true);
            lastEditedFolder_ = toQ(folder);
            ui->openLastEditedButton->setToolTip(PlainToolTip(lastEditedFolder_));
        }
    } else {
        ui->openLastEditedButton->setEnabled(false);
    }
}

void StartDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void StartDialog::reject() {
    // Escape: in editor mode it is the Cancel the dialog offers; at start-up nothing, since the
    // only way out there ("Quit") ends the program and must not be one key press away.
    if (openedFromEditor_)
        onQuitOrCancelClicked();
}

void StartDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QString StartDialog::projectsFolder() {
    // Not made here: merely looking at the chooser must leave the user's documents untouched.
    // It is made once a new project is put into it (onNewClicked).
    return projectsFolder_;
}

void StartDialog::onNewClicked() {
    const QString folder = projectsFolder();
    folderChooser_->setStartFolder(folder);
    folderChooser_->setProposedName(toQ(ProposeProjectName(
        fromQ(folder), [](const std::string& path) { return PathExists(path); })));
    folderChooser_->setMessage(uiText(msg::kNewFolderMessage));
    folderChooser_->setWindowTitle(uiText(msg::kNewFolderCaption));
    folderChooser_->exec();
    if (!folderChooser_->accepted())
        return;
    const std::string path = NewProjectPath(fromQ(folderChooser_->path()));
    folderChooser_->setPath(toQ(path));
    // The proposed place inside the projects folder: that folder is made now, on first use.
    if (QFileInfo(toQ(path)).absolutePath() == QDir::cleanPath(projectsFolder_))
        UserPlaces::makeProjectsFolder(projectsFolder_);
    Q_EMIT chosen({StartChoice::Kind::NewProject, path});
}

void StartDialog::onOpenClicked() {
    folderChooser_->setStartFolder(projectsFolder());
    folderChooser_->setProposedName(QString());
    folderChooser_->setMessage(uiText(msg::kOpenFolderMessage));
    folderChooser_->setWindowTitle(uiText(msg::kOpenFolderCaption));
    folderChooser_->exec();
    if (folderChooser_->accepted())
        Q_EMIT chosen({StartChoice::Kind::OpenProject, fromQ(folderChooser_->path())});
}

void StartDialog::onOpenLastEditedClicked() {
    Q_EMIT chosen({StartChoice::Kind::OpenLastEdited, fromQ(lastEditedFolder_)});
}

void StartDialog::onQuitOrCancelClicked() {
    Q_EMIT chosen({openedFromEditor_ ? StartChoice::Kind::Cancel : StartChoice::Kind::Quit, {}});
}

void StartDialog::leave() {
    heldWindow_->setEnabled(true);
    session_.setHelpAvailable(true);
    heldWindow_->show();
    hide();
    // The window manager would hand the focus to whichever window it likes once this one goes
    // (often the preview that has just come up); the user's next step is in the main window.
    heldWindow_->raise();
    heldWindow_->activateWindow();
}

} // namespace qloom::gui
