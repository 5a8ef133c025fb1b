#include "gui/shell/MainWindow.h"

#include "gui/common/DesktopShell.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/ErrorText.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/HelpWindow.h"
#include "gui/common/PlainText.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/Prompter.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UndoKeyFilter.h"
#include "gui/common/UserSettings.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/BrowserCheck.h"
#include "gui/shell/CheckListModel.h"
#include "gui/shell/FinalizedDialog.h"
#include "gui/shell/FolderChooser.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/ProjectFolders.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/ProjectSettingsDialog.h"
#include "gui/shell/StartDialog.h"
#include "gui/shell/StatusLine.h"
#include "gui/shell/TemplateInfoDialog.h"
#include "gui/shell/UserPlaces.h"
#include "model/Messages.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <algorithm>
#include <cstdio>

namespace qloom::gui {

namespace {
// A question mark in a blue disc: the styles' own help icons differ too much between desktops.
QIcon helpGlyph() {
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 90, 200));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(glyph);
}

// Where the property editor sits: the menu list's left and top edge to the tabs' right and
// bottom edge.
constexpr QRect kEditorArea(4, 40, 385, 241);

// Typing pauses shorter than this do not recheck the menu.
constexpr int kRecheckDelayMs = 150;

QString webEngineHelperPath() {
    const QByteArray overridden = qgetenv("QTWEBENGINEPROCESS_PATH");
    if (!overridden.isEmpty())
        return QString::fromLocal8Bit(overridden);
    return QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
           QStringLiteral("/QtWebEngineProcess");
}

QString webEngineResourcePath() {
    const QByteArray overridden = qgetenv("QTWEBENGINE_RESOURCES_PATH");
    const QString folder = overridden.isEmpty() ? QLibraryInfo::path(QLibraryInfo::DataPath) +
                                                      QStringLiteral("/resources")
                                                : QString::fromLocal8Bit(overridden);
    return folder + QStringLiteral("/qtwebengine_resources.pak");
}
} // namespace

MainWindow::MainWindow(const QString& programFolder, const QString& projectsFolder)
    : ui(std::make_unique<Ui::MainWindow>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(392, 421);
    setWindowTitle(uiText(msg::kMainCaption));
    ui->activeProjectLabel->setTextFormat(Qt::PlainText);
    ui->helpButton->setIcon(helpGlyph());
    ui->updatePreviewButton->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    CenterOnDesktop(this);

    helpIndex_ = toQ(HelpIndexOf(
        programFolder.isEmpty() ? ProgramFolderOf(fromQ(QCoreApplication::applicationFilePath()))
                                : fromQ(programFolder)));
    projectsFolder_ = projectsFolder.isEmpty() ? UserPlaces::projectsFolder() : projectsFolder;
    session_ = new ProjectSession(this, this);
    session_->setHelpHooks([this](bool available) { setHelpButtonEnabled(available); },
                           [this] { showHelp(); });
    undoKeys_ = new UndoKeyFilter(this, session_->history());
    checks_ = new CheckListModel(this);
    ui->checksList->setModel(checks_);
    checkTimer_ = new QTimer(this);
    checkTimer_->setSingleShot(true);
    checkTimer_->setInterval(kRecheckDelayMs);
    connect(checkTimer_, &QTimer::timeout, this, &MainWindow::recheck);
    connect(session_, &ProjectSession::menusChanged, this, &MainWindow::onMenusChanged);
    connect(session_, &ProjectSession::projectReplaced, this, &MainWindow::onProjectReplaced);
    connect(session_, &ProjectSession::saveWarningChanged, this,
            [this] { setActiveProject(session_->folder()); });
    connect(session_, &ProjectSession::shownAgain, this, [this](const QString& note) {
        setActiveProject(session_->folder());
        refreshPreview();
        if (!note.isEmpty()) {
            ui->activeProjectLabel->setText(note);
            ui->activeProjectLabel->setToolTip(note);
        }
    });
    connect(session_->instanceChannel(), &InstanceChannel::raiseRequested, this, [this] {
        if (isMinimized())
            showNormal();
        show();
        raise();
        activateWindow();
    });
    connect(ui->checksList, &QListView::clicked, this, &MainWindow::followFinding);
    connect(ui->checksList, &QListView::activated, this, &MainWindow::followFinding);

    editor_ = new PropertyEditor(*session_, this);
    editor_->setGeometry(kEditorArea);
    editor_->placeInTabOrderAfter(ui->stayOnTopBox);
    editor_->setEditingEnabled(false);

    connect(ui->addMenuButton, &QPushButton::clicked, this, &MainWindow::onAddMenuClicked);
    connect(ui->deleteButton, &QPushButton::clicked, this, &MainWindow::onDeleteClicked);
    connect(ui->finalizeButton, &QPushButton::clicked, this, &MainWindow::onFinalizeClicked);
    connect(ui->projectsButton, &QPushButton::clicked, this, &MainWindow::onProjectsClicked);
    connect(ui->projectSettingsButton, &QPushButton::clicked, this,
            &MainWindow::onProjectSettingsClicked);
    connect(ui->helpButton, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(ui->stayOnTopBox, &QCheckBox::clicked, this, &MainWindow::onStayOnTopClicked);
    connect(editor_, &PropertyEditor::deleteRequested, ui->deleteButton, &QAbstractButton::click);
    const auto shortcut = [this](const QKeySequence& keys, auto handler) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::Key_Insert), [this] { ui->addMenuButton->click(); });
    shortcut(QKeySequence(Qt::Key_F5), [this] { ui->updatePreviewButton->click(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveNow(); });
    new HelpKeyFilter(this, [this] { showHelp(); });
}

MainWindow::~MainWindow() {
    // Said now or never: next time "Open Last Edited Project" would just stay greyed.
    session_->report(session_->recordLastEdited());
}

void MainWindow::endSession() {
    if (ending_)
        return;
    ending_ = true;
    session_->stopAutosave();
    if (session_->hasProject()) {
        // Nobody is left to read a message box: whoever ended the program sees its output.
        // LastEdited now, not at destruction: a desktop session may end the process before that.
        class StandardErrorPrompter final : public Prompter {
        public:
            QMessageBox::StandardButton ask(QWidget*, const QString&, const QString& text,
                                            QMessageBox::Icon, QMessageBox::StandardButtons,
                                            QMessageBox::StandardButton answer) override {
                std::fprintf(stderr, "qLoom: %s\n", text.toLocal8Bit().constData());
                return answer;
            }
        };
        session_->setPrompter(std::make_unique<StandardErrorPrompter>());
        session_->report(session_->finalSaveOnEnd());
        session_->report(session_->recordLastEdited());
    }
    Q_EMIT quitRequested();
}

bool MainWindow::checkBrowserVersion() {
    const bool ok = BrowserComponentOk(qWebEngineChromiumVersion(),
                                       QFileInfo(webEngineHelperPath()).isExecutable(),
                                       QFileInfo(webEngineResourcePath()).isFile());
    if (!ok)
        session_->prompter().ask(this, uiText(msg::kBrowserCheckCaption),
                                 uiText(msg::kBrowserCheckText), QMessageBox::Information,
                                 QMessageBox::Ok, QMessageBox::Ok);
    return ok;
}

void MainWindow::createOtherWindows(const QString& openFolder) {
    // Shows the preview window.
    preview_ = new PreviewController(
        *session_, {ui->showPreviewButton, ui->updatePreviewButton, ui->stayOnTopBox}, this);
    // js.log is the user's, not the (read-only, once installed) program folder's.
    preview_->setScriptErrorLogFolder(UserPlaces::scriptErrorLogFolder());
    undoKeys_->watch(preview_->browser());
    // Said once, without a box: the status line shows it until the next project is shown.
    connect(preview_, &PreviewController::statusNote, this, [this](const QString& note) {
        ui->activeProjectLabel->setText(note);
        ui->activeProjectLabel->setToolTip(note);
    });
    startDialog_ = std::make_unique<StartDialog>(*session_, this, projectsFolder_);
    connect(startDialog_.get(), &StartDialog::chosen, this, &MainWindow::onStartChoice);
    if (openFolder.isEmpty())
        startDialog_->show();
    htmlTools_ = new HtmlTools(*session_, *editor_, this); // Add Text, Add URL, Add Image
    finalizedDialog_ = new FinalizedDialog(*session_, this);
    projectSettingsDialog_ = new ProjectSettingsDialog(*session_, this);
    connect(projectSettingsDialog_, &ProjectSettingsDialog::applied, this,
            &MainWindow::refreshPreview);
    templateInfoDialog_ = new TemplateInfoDialog(projectSettingsDialog_);
    projectSettingsDialog_->setTemplateInfo(templateInfoDialog_);
    if (!openFolder.isEmpty()) {
        setEnabled(false);
        setHelpButtonEnabled(false);
        startDialog_->folderChooser()->setPath(openFolder);
        if (!onStartChoice({StartChoice::Kind::OpenProject, fromQ(openFolder)}))
            startDialog_->show();
    }
}

FolderChooser* MainWindow::folderChooser() const {
    return startDialog_ ? startDialog_->folderChooser() : nullptr;
}

bool MainWindow::onStartChoice(const StartChoice& choice) {
    QWidget* boxParent = startDialog_.get();
    switch (choice.kind) {
    case StartChoice::Kind::Quit:
        Q_EMIT quitRequested();
        return false;
    case StartChoice::Kind::Cancel:
        break; // the project stays as it was
    case StartChoice::Kind::NewProject:
        if (session_->newProjectIn(choice.folder, boxParent) == ProjectSession::NewOutcome::Failed)
            return false;
        // A new project is written at once (with the default page), an opened one again as the
        // preview variant: the preview saves it.
        refreshPreview();
        break;
    case StartChoice::Kind::OpenProject:
    case StartChoice::Kind::OpenLastEdited:
        if (!session_->openProject(choice.folder, boxParent))
            return false;
        refreshPreview();
        break;
    }
    if (startDialog_)
        startDialog_->leave();
    return true;
}

void MainWindow::onProjectReplaced() {
    setActiveProject(session_->folder());
    // Each project shows in a page and storage of its own; the previous project's page, whatever
    // it was doing, is gone before the new project's first load.
    if (preview_)
        preview_->browser()->startProject();
    checkTimer_->stop();
    rowsToCheck_.clear();
    checkAll_ = false;
    checks_->recheckAll(session_->project());
    // A new project shows its (empty) page once refreshPreview() saved it; an opened one is
    // saved again as the preview variant and shown at its selected menu.
    const Project& table = session_->project();
    if (session_->project().menuCount() > 0 && preview_)
        preview_->scrollPreviewTo(table.selected);
}

void MainWindow::onMenusChanged(const ProjectEdit& edit) {
    const bool oneRow =
        edit.kind() == ProjectEdit::Kind::SetCell || edit.kind() == ProjectEdit::Kind::Move;
    if (oneRow)
        rowsToCheck_.push_back(edit.row());
    else
        checkAll_ = true;
    checkTimer_->start();
}

void MainWindow::recheck() {
    if (checkAll_) {
        checks_->recheckAll(session_->project());
    } else {
        std::sort(rowsToCheck_.begin(), rowsToCheck_.end());
        rowsToCheck_.erase(std::unique(rowsToCheck_.begin(), rowsToCheck_.end()),
                           rowsToCheck_.end());
        for (int32_t row : rowsToCheck_)
            checks_->recheckRow(session_->project(), row);
    }
    rowsToCheck_.clear();
    checkAll_ = false;
}

void MainWindow::followFinding(const QModelIndex& index) {
    const AccessibilityFinding* finding = checks_->findingAt(index);
    if (finding && finding->fix == FixPlace::ProjectSettings) {
        onProjectSettingsClicked();
        return;
    }
    if (!finding || !session_->project().isRow(finding->row))
        return;
    const int32_t row = finding->row;
    const FixPlace fix = finding->fix; // the list may be rebuilt while the row is selected
    const int32_t offset = finding->offset;
    session_->select(row, SelectionSource::Editor);
    editor_->showFixPlace(fix, offset);
}

PreviewWindow* MainWindow::previewWindow() const {
    return preview_ ? preview_->browser() : nullptr;
}

void MainWindow::refreshPreview() {
    if (preview_)
        preview_->refreshPreview();
    else
        session_->savePreview(); // before the preview window exists there is nothing to show
}

// --- Shell.

void MainWindow::setActiveProject(const QString& folder) {
    // A save that failed or was held back stays in the status line until a save succeeds.
    const QString& warning = session_->saveWarning();
    const std::string full = warning.isEmpty() ? StatusLineText(fromQ(folder)) : fromQ(warning);
    const QFontMetrics metrics(ui->activeProjectLabel->font());
    const std::string text = ShortenStatusText(full, [&metrics](const std::string& candidate) {
        return metrics.horizontalAdvance(toQ(candidate));
    });
    ui->activeProjectLabel->setText(toQ(text));
    ui->activeProjectLabel->setToolTip(PlainToolTip(warning.isEmpty() ? folder : warning));
    ui->activeProjectLabel->setStyleSheet(warning.isEmpty() ? QString()
                                                            : QStringLiteral("color: #b00000;"));
}

void MainWindow::setHelpButtonEnabled(bool enabled) {
    ui->helpButton->setEnabled(enabled);
}

void MainWindow::showHelp() {
    if (!help_)
        help_ = new HelpWindow(this);
    help_->showPage(helpIndex_);
}

void MainWindow::saveNow() {
    if (session_->hasProject())
        session_->save(false);
}

// --- Frame handlers.

void MainWindow::closeEvent(QCloseEvent* event) {
    // Disabled means the start dialog is up: the user leaves through its buttons, and a close
    // from the task bar or Alt+F4 must not end the program behind its back.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    // A save that keeps failing (a folder gone read-only) must not lock the user in: after the
    // error report they may still close, losing only what could not be saved.
    // Closing with no change of its own writes nothing over a file another program changed, a
    // read-only file or a moved folder.
    if (session_->hasProject() && !session_->nothingOwnToWrite() && !session_->save(false) &&
        session_->prompter().question(this, uiText(msg::kAppTitle),
                                      uiText(msg::kCloseWithoutSaving), QMessageBox::Warning,
                                      QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    session_->stopAutosave(); // the final variant stays
    Q_EMIT quitRequested();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setActiveProject(session_->folder());
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        setActiveProject(session_->folder());
}

void MainWindow::onStayOnTopClicked(bool checked) {
    setWindowFlag(Qt::WindowStaysOnTopHint, checked);
    show(); // changing the flags hides the window
}

void MainWindow::onAddMenuClicked() {
    if (!session_->edit(ProjectEdit::addMenu(session_->project()))) {
        session_->prompter().message(this, uiText(msg::kTableFull));
        return;
    }
    // The editor shows the new menu (it follows the session); the page is saved and shown.
    const int32_t added = session_->project().selected;
    refreshPreview();
    if (preview_)
        preview_->scrollPreviewTo(added);
}

void MainWindow::onDeleteClicked() {
    const Project& table = session_->project();
    if (table.menuCount() <= 0) {
        session_->prompter().message(this, uiText(msg::kNothingToDelete));
        return;
    }
    if (session_->prompter().question(this, uiText(msg::kDeleteConfirmationTitle),
                                      toQ(DeleteConfirmationText(table)), QMessageBox::Question,
                                      QMessageBox::No) != QMessageBox::Yes)
        return;
    const int32_t before = table.menuCount();
    session_->edit(ProjectEdit::deleteSelected(session_->project()));
    if (table.menuCount() == before)
        return; // the selection named no row in use, so nothing was deleted
    refreshPreview();
}

void MainWindow::onFinalizeClicked() {
    if (!session_->finalize())
        return;
    setHelpButtonEnabled(false);
    finalizedDialog_->exec();
    setHelpButtonEnabled(true);
}

void MainWindow::onProjectsClicked() {
    startDialog_->setOpenedFromEditor();
    if (!session_->save(false))
        return;
    setEnabled(false);
    setHelpButtonEnabled(false);
    startDialog_->show();
}

void MainWindow::onProjectSettingsClicked() {
    setHelpButtonEnabled(false);
    showProjectSettings();
    setHelpButtonEnabled(true);
}

void MainWindow::showProjectSettings() {
    if (!projectSettingsDialog_)
        return;
    projectSettingsDialog_->exec();
    // The site folder lives in the user's settings, not in the project: a new one changes where
    // the checks look for files without any edit of the project.
    checks_->recheckAll(session_->project());
}

} // namespace qloom::gui
