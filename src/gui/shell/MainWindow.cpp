#include "gui/shell/MainWindow.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/ErrorText.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/HelpWindow.h"
#include "gui/common/MessageBox.h"
#include "gui/common/PlainText.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UndoKeyFilter.h"
#include "gui/common/UserSettings.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/AutoSaver.h"
#include "gui/shell/BrowserCheck.h"
#include "gui/shell/CheckListModel.h"
#include "gui/shell/FinalizedDialog.h"
#include "gui/shell/FolderChooser.h"
#include "gui/shell/ProjectFolders.h"
#include "gui/shell/ProjectSettingsDialog.h"
#include "gui/shell/StartDialog.h"
#include "gui/shell/StatusLine.h"
#include "gui/shell/TemplateInfoDialog.h"
#include "gui/shell/TestHook.h"
#include "gui/shell/UserPlaces.h"
#include "model/Messages.h"
#include "script/ScriptSaver.h"
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
    setWindowTitle(toQ(msg::kMainCaption));
    ui->lblActiveProject->setTextFormat(Qt::PlainText);
    ui->txtJS_Errors->hide();
    ui->btnHelp->setIcon(helpGlyph());
    ui->btnUpdatePreview->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    CenterOnDesktop(this);

    helpIndex_ = toQ(HelpIndexOf(
        programFolder.isEmpty() ? ProgramFolderOf(fromQ(QCoreApplication::applicationFilePath()))
                                : fromQ(programFolder)));
    projectsFolder_ = projectsFolder.isEmpty() ? UserPlaces::projectsFolder() : projectsFolder;
    history_ = new ProjectHistory(project_, this);
    history_->setRestoredHandler([this](const ProjectEdit& edit) { showRestored(edit); });
    new UndoKeyFilter(this, *history_);
    checks_ = new CheckListModel(this);
    ui->listChecks->setModel(checks_);
    checkTimer_ = new QTimer(this);
    checkTimer_->setSingleShot(true);
    checkTimer_->setInterval(kRecheckDelayMs);
    connect(checkTimer_, &QTimer::timeout, this, &MainWindow::recheck);
    connect(history_, &ProjectHistory::changed, this, &MainWindow::projectChanged);
    connect(ui->listChecks, &QListView::clicked, this, &MainWindow::followFinding);
    connect(ui->listChecks, &QListView::activated, this, &MainWindow::followFinding);

    editor_ = new PropertyEditor(*this, this);
    editor_->setGeometry(kEditorArea);
    editor_->placeInTabOrderAfter(ui->chkStayOnTop);
    setEditingEnabled(false);
    autoSaver_ = new AutoSaver(project_, this);

    connect(ui->btnAddMenu, &QPushButton::clicked, this, &MainWindow::btnAddMenuClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &MainWindow::btnDeleteClick);
    connect(ui->btnFinalize, &QPushButton::clicked, this, &MainWindow::btnFinalizeClick);
    connect(ui->btnProjects, &QPushButton::clicked, this, &MainWindow::btnProjectsClick);
    connect(ui->btnActiveProjectSettings, &QPushButton::clicked, this,
            &MainWindow::btnActiveProjectSettingsClick);
    connect(ui->btnHelp, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(ui->chkStayOnTop, &QCheckBox::clicked, this, &MainWindow::chkStayOnTopClick);
    connect(editor_, &PropertyEditor::deleteRequested, ui->btnDelete, &QAbstractButton::click);
    const auto shortcut = [this](const QKeySequence& keys, auto handler) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::Key_Insert), [this] { ui->btnAddMenu->click(); });
    shortcut(QKeySequence(Qt::Key_F5), [this] { ui->btnUpdatePreview->click(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveNow(); });
    new HelpKeyFilter(this, [this] { showHelp(); });
}

MainWindow::~MainWindow() {
    // Said now or never: next time "Open Last Edited Project" would just stay greyed.
    report(recordLastEdited());
}

Status MainWindow::recordLastEdited() {
    const std::string& folder = project_.settings.projectFolder;
    QString store;
    if (folder.empty() || UserSettings::setValue(UserSettings::kLastEdited, toQ(folder), &store))
        return Status::success();
    return Status::failure(msg::Format(msg::kCannotCreateFile, fromQ(store)));
}

void MainWindow::endSession() {
    if (ending_)
        return;
    ending_ = true;
    autoSaver_->stop();
    if (!project_.settings.projectFolder.empty()) {
        Status saved;
        {
            const BusyCursor busy;
            editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
            saved = SaveScript(project_, false);
        }
        // Nobody is left to read a message box: whoever ended the program sees its output.
        // LastEdited now, not at destruction: a desktop session may end the process before that.
        for (const Status& status : {saved, recordLastEdited()}) {
            if (!status)
                std::fprintf(stderr, "qLoom: %s\n", ErrorReportText(status.message).c_str());
        }
    }
    Q_EMIT quitRequested();
}

bool MainWindow::checkBrowserVersion() {
    const bool ok = BrowserComponentOk(qWebEngineChromiumVersion(),
                                       QFileInfo(webEngineHelperPath()).isExecutable(),
                                       QFileInfo(webEngineResourcePath()).isFile());
    if (!ok)
        MessageBox::message(this, toQ(msg::kBrowserCheckCaption), toQ(msg::kBrowserCheckText),
                            QMessageBox::Information);
    return ok;
}

void MainWindow::createOtherWindows(const QString& openFolder) {
    // Shows the preview window.
    preview_ = new PreviewController(
        *this, {ui->btnShowPreview, ui->btnUpdatePreview, ui->txtJS_Errors, ui->chkStayOnTop},
        this);
    preview_->setCaptionSwapHook(
        [this](const std::vector<int32_t>& rows) { editor_->showSwappedCaptions(rows); });
    // js.log is the user's, not the (read-only, once installed) program folder's.
    preview_->setScriptErrorLogFolder(UserPlaces::scriptErrorLogFolder());
    new UndoKeyFilter(preview_->browser(), *history_);
    // Said once, without a box: the status line shows it until the next project is shown.
    connect(preview_, &PreviewController::statusNote, this, [this](const QString& note) {
        ui->lblActiveProject->setText(note);
        ui->lblActiveProject->setToolTip(note);
    });
    frmStart_ = std::make_unique<StartDialog>(*this);
    connect(frmStart_.get(), &StartDialog::quitRequested, this, &MainWindow::quitRequested);
    if (openFolder.isEmpty())
        frmStart_->show();
    frmSelFolder_ = new FolderChooser(*this, frmStart_.get());
    htmlTools_ = new HtmlTools(*this, *editor_, this); // Add Text, Add URL, Add Image, in order
    frmFinilizedOK_ = new FinalizedDialog(*this, this);
    frmProjectSettings_ = new ProjectSettingsDialog(*this, this);
    frmTemplateInfo_ = new TemplateInfoDialog(frmProjectSettings_);
    frmProjectSettings_->setTemplateInfo(frmTemplateInfo_);
    if (!openFolder.isEmpty())
        frmStart_->openFolderOrShow(openFolder);
    RunTestHookFromEnvironment(*this);
}

void MainWindow::projectReplaced() {
    editor_->rebuildMenuList();
    history_->clear();
    checkTimer_->stop();
    rowsToCheck_.clear();
    checkAll_ = false;
    checks_->recheckAll(project_);
}

void MainWindow::showRestored(const ProjectEdit& edit) {
    const Project& table = project_;
    editor_->syncMenuList();
    setEditingEnabled(table.menuCount() > 0);
    if (table.isRow(table.selected))
        showMenuProperties(table.selected);
    if (edit.kind() == ProjectEdit::Kind::Move) {
        // The page can put the menu back by itself; no need to save and reload.
        if (preview_) {
            preview_->showMovedMenu(edit.row());
            preview_->scrollPreviewTo(edit.row());
        }
        return;
    }
    refreshPreview();
}

void MainWindow::projectChanged(const ProjectEdit& edit) {
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
        checks_->recheckAll(project_);
    } else {
        std::sort(rowsToCheck_.begin(), rowsToCheck_.end());
        rowsToCheck_.erase(std::unique(rowsToCheck_.begin(), rowsToCheck_.end()),
                           rowsToCheck_.end());
        for (int32_t row : rowsToCheck_)
            checks_->recheckRow(project_, row);
    }
    rowsToCheck_.clear();
    checkAll_ = false;
}

void MainWindow::followFinding(const QModelIndex& index) {
    const AccessibilityFinding* finding = checks_->findingAt(index);
    if (finding && finding->fix == FixPlace::ProjectSettings) {
        btnActiveProjectSettingsClick();
        return;
    }
    if (!finding || !project_.isRow(finding->row))
        return;
    const int32_t row = finding->row;
    const FixPlace fix = finding->fix; // the list may be rebuilt while the row is selected
    const int32_t offset = finding->offset;
    selectInPreview(row);
    editor_->showFixPlace(fix, offset);
}

// --- Editing controls and preview: the property editor and the preview controller.

PreviewWindow* MainWindow::previewWindow() const {
    return preview_ ? preview_->browser() : nullptr;
}

void MainWindow::showMenuProperties(int32_t row) {
    editor_->showMenuProperties(row);
}

void MainWindow::setEditingEnabled(bool enabled) {
    editor_->setEditingEnabled(enabled);
}

void MainWindow::refreshPreview() {
    if (preview_)
        preview_->refreshPreview();
    else
        saveScript(true); // before the preview window exists there is nothing to show
}

void MainWindow::scrollPreviewTo(int32_t row) {
    if (preview_)
        preview_->scrollPreviewTo(row);
}

void MainWindow::selectInPreview(int32_t row) {
    if (preview_) {
        preview_->selectInPreview(row);
        return;
    }
    project_.selected = row;
    showMenuProperties(row);
}

void MainWindow::markPreviewStale() {
    if (preview_)
        preview_->markPreviewStale();
}

void MainWindow::markPreviewCurrent() {
    if (preview_)
        preview_->markPreviewCurrent();
}

// --- Shell.

void MainWindow::setActiveProject(const QString& folder) {
    const QFontMetrics metrics(ui->lblActiveProject->font());
    const std::string text =
        ShortenStatusText(StatusLineText(fromQ(folder)), [&metrics](const std::string& candidate) {
            return metrics.horizontalAdvance(toQ(candidate));
        });
    ui->lblActiveProject->setText(toQ(text));
    ui->lblActiveProject->setToolTip(PlainToolTip(folder));
}

void MainWindow::setHelpButtonEnabled(bool enabled) {
    ui->btnHelp->setEnabled(enabled);
}

void MainWindow::showHelp() {
    if (!help_)
        help_ = new HelpWindow(this);
    help_->showPage(helpIndex_);
}

bool MainWindow::report(const Status& status) {
    if (!status.ok)
        MessageBox::error(this, toQ(status.message));
    return status.ok;
}

void MainWindow::saveNow() {
    if (!project_.settings.projectFolder.empty())
        saveScript(false);
}

bool MainWindow::saveScript(bool forPreview) {
    Status status;
    {
        const BusyCursor busy;
        editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
        status = SaveScript(project_, forPreview);
    }
    if (status)
        autoSaver_->noteSaved();
    return report(status);
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
    if (!project_.settings.projectFolder.empty() && !saveScript(false) &&
        MessageBox::question(this, toQ(msg::kAppTitle), toQ(msg::kCloseWithoutSaving),
                             QMessageBox::Warning, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    autoSaver_->stop(); // the final variant stays
    Q_EMIT quitRequested();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setActiveProject(toQ(project_.settings.projectFolder));
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        setActiveProject(toQ(project_.settings.projectFolder));
}

void MainWindow::chkStayOnTopClick(bool checked) {
    setWindowFlag(Qt::WindowStaysOnTopHint, checked);
    show(); // changing the flags hides the window
}

void MainWindow::btnAddMenuClick() {
    if (!history_->record(ProjectEdit::addMenu(project_))) {
        MessageBox::message(this, toQ(msg::kTableFull));
        return;
    }
    const int32_t added = project_.selected;
    setEditingEnabled(true);
    editor_->syncMenuList();
    showMenuProperties(added);
    refreshPreview();
    scrollPreviewTo(added);
}

void MainWindow::btnDeleteClick() {
    Project& table = project_;
    if (table.menuCount() <= 0) {
        MessageBox::message(this, toQ(msg::kNothingToDelete));
        return;
    }
    if (MessageBox::question(this, toQ(msg::kDeleteConfirmationTitle),
                             toQ(DeleteConfirmationText(table)), QMessageBox::Question,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    const int32_t before = table.menuCount();
    history_->record(ProjectEdit::deleteSelected(project_));
    if (table.menuCount() == before)
        return; // the selection named no row in use, so nothing was deleted
    editor_->syncMenuList();
    if (table.menuCount() > 0)
        showMenuProperties(table.selected);
    else
        setEditingEnabled(false);
    refreshPreview();
}

void MainWindow::btnFinalizeClick() {
    Status status;
    {
        const BusyCursor busy;
        editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
        status = FinalizeProject(project_);
    }
    if (!report(status))
        return;
    autoSaver_->noteSaved();
    setHelpButtonEnabled(false);
    frmFinilizedOK_->exec();
    setHelpButtonEnabled(true);
}

void MainWindow::btnProjectsClick() {
    frmStart_->setOpenedFromEditor();
    if (!saveScript(false))
        return;
    setEnabled(false);
    setHelpButtonEnabled(false);
    frmStart_->show();
}

void MainWindow::btnActiveProjectSettingsClick() {
    setHelpButtonEnabled(false);
    showProjectSettings();
    setHelpButtonEnabled(true);
}

void MainWindow::showProjectSettings() {
    if (!frmProjectSettings_)
        return;
    frmProjectSettings_->exec();
    // The site folder lives in the user's settings, not in the project: a new one changes where
    // the checks look for files without any edit of the project.
    checks_->recheckAll(project_);
}

} // namespace qloom::gui
