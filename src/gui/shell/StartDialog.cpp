#include "gui/shell/StartDialog.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/MessageBox.h"
#include "gui/common/PlainText.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/shell/FolderChooser.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProgramIcon.h"
#include "gui/shell/ProjectFolders.h"
#include "gui/shell/UserPlaces.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "ui_StartDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace qloom::gui {

namespace {
std::string lastEditedFolder() {
    return fromQ(UserSettings::value(UserSettings::kLastEdited).toString());
}
} // namespace

StartDialog::StartDialog(MainWindow& main) : ui(std::make_unique<Ui::StartDialog>()), main_(main) {
    ui->setupUi(this);
    // No title bar buttons: window managers honour a request for no decorations at all, but
    // not one for a title without buttons (they only grey the actions), so the dialog draws its
    // own frame and the logo stands where a title would.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(size());
    setWindowTitle(toQ(msg::kAppTitle));
    ui->ImageLOGO->setPixmap(ProgramLogo());
    ui->btnNew->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    ui->btnOpen->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->btnOpenLastEdited->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    ui->btnQuit_Cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->btnQuit_Cancel->setText(toQ(msg::kQuitCaption));
    for (QPushButton* button : {ui->btnNew, ui->btnOpen, ui->btnOpenLastEdited, ui->btnQuit_Cancel})
        button->setIconSize(QSize(12, 12)); // leaves the longest caption room in 169 pixels
    CenterOnDesktop(this);

    connect(ui->btnNew, &QPushButton::clicked, this, &StartDialog::btnNewClick);
    connect(ui->btnOpen, &QPushButton::clicked, this, &StartDialog::btnOpenClick);
    connect(ui->btnOpenLastEdited, &QPushButton::clicked, this,
            &StartDialog::btnOpenLastEditedClick);
    connect(ui->btnQuit_Cancel, &QPushButton::clicked, this, &StartDialog::btnQuit_CancelClick);
    new HelpKeyFilter(this, [this] { main_.showHelp(); });
}

StartDialog::~StartDialog() = default;

FolderChooser& StartDialog::chooser() {
    return *main_.folderChooser();
}

void StartDialog::setOpenedFromEditor() {
    openedFromEditor_ = true;
    ui->btnQuit_Cancel->setText(toQ(msg::kCancelCaption));
}

void StartDialog::holdMainWindow() {
    main_.setEnabled(false);
    main_.setHelpButtonEnabled(false);
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
            ui->btnOpenLastEdited->setEnabled(true);
            lastEditedFolder_ = toQ(folder);
            ui->btnOpenLastEdited->setToolTip(PlainToolTip(lastEditedFolder_));
        }
    } else {
        ui->btnOpenLastEdited->setEnabled(false);
    }
}

void StartDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void StartDialog::reject() {}

void StartDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QString StartDialog::projectsFolder() {
    const QString folder = main_.projectsFolder();
    UserPlaces::makeProjectsFolder(folder); // when it cannot be made the chooser starts above it
    return folder;
}

void StartDialog::openFolderOrShow(const QString& folder) {
    holdMainWindow();
    chooser().setPath(folder);
    if (!openProjectFolder())
        show();
}

void StartDialog::btnNewClick() {
    const QString folder = projectsFolder();
    chooser().setStartFolder(folder);
    chooser().setProposedName(toQ(ProposeProjectName(
        fromQ(folder), [](const std::string& path) { return PathExists(path); })));
    chooser().setMessage(toQ(msg::kNewFolderMessage));
    chooser().setWindowTitle(toQ(msg::kNewFolderCaption));
    chooser().exec();
    if (!chooser().accepted())
        return;

    const std::string path = NewProjectPath(fromQ(chooser().path()));
    chooser().setPath(toQ(path));
    const std::string problem = PrepareNewProjectFolder(path);
    if (!problem.empty()) {
        MessageBox::message(this, toQ(problem));
        return;
    }
    if (FileExists(JoinPath(path, kScriptFileName))) {
        const auto answer = MessageBox::question(this, toQ(msg::kScriptExistsCaption),
                                                 toQ(msg::kScriptExistsQuestion),
                                                 QMessageBox::Warning, QMessageBox::Yes);
        if (answer == QMessageBox::Yes) {
            openProjectFolder();
            return;
        }
        // Only an explicit "No" overwrites; Escape or closing the box calls the New off.
        if (answer != QMessageBox::No)
            return;
    }

    Project& project = main_.project();
    project.settings.projectFolder = path;
    main_.setActiveProject(toQ(path));
    project.settings.resetToNewProject();
    ClearMenus(project);
    main_.refreshPreview();
    main_.setEditingEnabled(false);
    main_.projectReplaced();
    returnToMainWindow();
}

void StartDialog::btnOpenClick() {
    chooser().setStartFolder(projectsFolder());
    chooser().setProposedName(QString());
    chooser().setMessage(toQ(msg::kOpenFolderMessage));
    chooser().setWindowTitle(toQ(msg::kOpenFolderCaption));
    chooser().exec();
    if (chooser().accepted())
        openProjectFolder();
}

void StartDialog::btnOpenLastEditedClick() {
    chooser().setPath(lastEditedFolder_);
    openProjectFolder();
}

bool StartDialog::openProjectFolder() {
    const std::string folder = fromQ(chooser().path());
    const std::string file = JoinPath(folder, kScriptFileName);
    if (!FileExists(file)) {
        MessageBox::message(this, toQ(msg::kScriptNotFound));
        return false;
    }
    Project& project = main_.project();
    LoadResult loaded;
    {
        const BusyCursor busy;
        loaded = LoadProject(file, project);
    }
    // The reader's messages in the order it found them, one box each, as the user has always
    // seen them: only after the busy cursor is gone.
    for (const std::string& text : loaded.messages)
        MessageBox::message(this, toQ(text));
    if (loaded.outcome == LoadOutcome::Error)
        (void)main_.report(loaded.status);
    if (loaded.outcome != LoadOutcome::Loaded)
        return false;

    main_.projectReplaced();
    project.settings.projectFolder = folder;
    main_.setActiveProject(toQ(folder));
    const int32_t selected = project.selected;
    if (project.menuCount() > 0) {
        main_.showMenuProperties(selected);
        main_.setEditingEnabled(true);
        main_.scrollPreviewTo(selected);
    } else {
        main_.setEditingEnabled(false);
    }
    main_.markPreviewCurrent();
    main_.refreshPreview();
    returnToMainWindow();
    return true;
}

void StartDialog::btnQuit_CancelClick() {
    if (!openedFromEditor_) {
        Q_EMIT quitRequested();
        return;
    }
    returnToMainWindow();
}

void StartDialog::returnToMainWindow() {
    main_.setEnabled(true);
    main_.setHelpButtonEnabled(true);
    main_.show();
    hide();
}

} // namespace qloom::gui
