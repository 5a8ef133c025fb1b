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
#include "gui/shell/DiskWatch.h"
#include "gui/shell/FinalizedDialog.h"
#include "gui/shell/FolderChooser.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/ProjectFolders.h"
#include "gui/shell/ProjectSettingsDialog.h"
#include "gui/shell/SaveGuard.h"
#include "gui/shell/StartDialog.h"
#include "gui/shell/StatusLine.h"
#include "gui/shell/TemplateInfoDialog.h"
#include "gui/shell/TestHook.h"
#include "gui/shell/UserPlaces.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
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
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

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
    autoSaver_->setGate([this] { return mayWrite(false); });
    connect(autoSaver_, &AutoSaver::saveFailed, this, [this](const Status& failure) {
        if (guard_)
            guard_->noteOnDisk(); // the old file is still there, untouched
        setSaveWarning(toQ(msg::Format(msg::kNotSavedFailed, failure.message)));
    });
    connect(autoSaver_, &AutoSaver::saved, this, [this] {
        if (guard_)
            guard_->noteOnDisk();
        setSaveWarning(QString());
    });
    diskWatch_ = new DiskWatch([this] { return guard_ && guard_->mayHaveChanged(); }, this);
    connect(diskWatch_, &DiskWatch::lookNeeded, this, &MainWindow::lookAtDisk);
    channel_ = new InstanceChannel(this);
    connect(channel_, &InstanceChannel::raiseRequested, this, [this] {
        if (isMinimized())
            showNormal();
        show();
        raise();
        activateWindow();
    });

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
            saved = finalSaveOnEnd();
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
    preview_->setSaver([this] { return save(true) != SaveOutcome::Failed; });
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
    if (!finding || !project_.isRow(finding->row))
        return;
    const int32_t row = finding->row;
    const FixPlace fix = finding->fix; // the list may be rebuilt while the row is selected
    selectInPreview(row);
    editor_->showFixPlace(fix);
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
    // A save that did not happen outranks the folder's name until a save succeeds.
    const bool warning = !saveWarning_.isEmpty();
    const std::string full = warning ? fromQ(saveWarning_) : StatusLineText(fromQ(folder));
    const std::string text = ShortenStatusText(full, [&metrics](const std::string& candidate) {
        return metrics.horizontalAdvance(toQ(candidate));
    });
    ui->lblActiveProject->setText(toQ(text));
    ui->lblActiveProject->setToolTip(PlainToolTip(warning ? saveWarning_ : folder));
    ui->lblActiveProject->setStyleSheet(warning ? QStringLiteral("color: #b00000;") : QString());
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
    return save(forPreview) == SaveOutcome::Written;
}

MainWindow::SaveOutcome MainWindow::save(bool forPreview) {
    if (!mayWrite(true))
        return SaveOutcome::Withheld;
    Status status;
    {
        const BusyCursor busy;
        editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
        status = SaveScript(project_, forPreview);
    }
    if (guard_)
        guard_->noteOnDisk();
    if (status) {
        autoSaver_->noteSaved();
        setSaveWarning(QString());
    } else {
        setSaveWarning(toQ(msg::Format(msg::kNotSavedFailed, status.message)));
    }
    return report(status) ? SaveOutcome::Written : SaveOutcome::Failed;
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
    // read-only file or a moved folder: nothing would be saved that is not there already.
    const bool nothingToWrite =
        guard_ && !autoSaver_->hasUnsavedChange() && guard_->check() != SaveGuard::Verdict::Write;
    if (!project_.settings.projectFolder.empty() && !nothingToWrite && !saveScript(false) &&
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
    if (!mayWrite(true))
        return;
    Status status;
    {
        const BusyCursor busy;
        editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
        status = FinalizeProject(project_);
    }
    if (guard_)
        guard_->noteOnDisk();
    if (!report(status))
        return;
    autoSaver_->noteSaved();
    setSaveWarning(QString());
    setHelpButtonEnabled(false);
    frmFinilizedOK_->exec();
    setHelpButtonEnabled(true);
}

void MainWindow::btnProjectsClick() {
    frmStart_->setOpenedFromEditor();
    // A save withheld (a read-only script, another program's version) must not keep the user
    // in a project they want to leave, as long as nothing of theirs is waiting to be saved.
    const SaveOutcome saved = save(false);
    if (saved == SaveOutcome::Failed ||
        (saved == SaveOutcome::Withheld && autoSaver_->hasUnsavedChange()))
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
    if (frmProjectSettings_)
        frmProjectSettings_->exec();
}

// --- Sharing the project folder with other programs.

std::unique_ptr<SaveGuard> MainWindow::claimProject(const std::string& folder, QWidget* asker) {
    auto guard = std::make_unique<SaveGuard>();
    ProjectLock::Attempt attempt = guard->claim(folder);
    // This window itself holds it (the project is opened again): its lock passes on.
    if (attempt.state == ProjectLock::State::HeldByOther && attempt.holder.pid == ::getpid() &&
        attempt.holder.host == ThisHost() && guard_) {
        guard_.reset();
        attempt = guard->claim(folder);
    }
    if (attempt.state != ProjectLock::State::HeldByOther)
        return guard;
    const QString holder = toQ(DescribeHolder(attempt.holder));
    if (MessageBox::choice(asker, toQ(msg::Format(msg::kProjectLockedQuestion, fromQ(holder))),
                           QMessageBox::Warning, {toQ(msg::kTakeOver)}, -1) != 0)
        return nullptr;
    if (MessageBox::question(asker, toQ(msg::kAppTitle), toQ(msg::kTakeOverWarning),
                             QMessageBox::Warning, QMessageBox::No) != QMessageBox::Yes)
        return nullptr;
    attempt = guard->claim(folder, true);
    if (attempt.state == ProjectLock::State::HeldByOther)
        return nullptr;
    return guard;
}

void MainWindow::adoptProject(std::unique_ptr<SaveGuard> guard, QWidget* asker) {
    guard_ = std::move(guard);
    conflictPending_ = false;
    folderGonePending_ = false;
    readOnlyTold_ = false;
    saveWarning_.clear();
    if (!guard_)
        return;
    guard_->noteOnDisk();
    autoSaver_->noteSaved(); // the project is the file on disk, whatever the next save does
    const QString folder = toQ(guard_->folder());
    diskWatch_->follow(folder, toQ(guard_->scriptPath()));
    channel_->listenFor(folder);
    int error = 0;
    if (IsReadOnlyFile(guard_->scriptPath(), &error)) {
        readOnlyTold_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedReadOnly, guard_->scriptPath()) + ": " +
                           std::strerror(error)));
        MessageBox::message(asker ? asker : this,
                            toQ(msg::Format(msg::kReadOnlyNote, guard_->scriptPath())));
    }
}

void MainWindow::setSaveWarning(const QString& warning) {
    if (warning == saveWarning_)
        return;
    saveWarning_ = warning;
    setActiveProject(toQ(project_.settings.projectFolder));
}

bool MainWindow::mayWrite(bool explicitSave) {
    if (!guard_ || !guard_->active() || ending_)
        return true;
    if (asking_)
        return false;
    int error = 0;
    switch (guard_->check(&error)) {
    case SaveGuard::Verdict::Write:
        conflictPending_ = false;
        folderGonePending_ = false;
        return true;
    case SaveGuard::Verdict::ReadOnly: {
        const std::string text = msg::Format(msg::kNotSavedReadOnly, guard_->scriptPath()) + ": " +
                                 std::strerror(error ? error : EACCES);
        setSaveWarning(toQ(text));
        if (!explicitSave || std::exchange(readOnlyTold_, false))
            return false;
        // The way out besides making the file writable: the whole project in another folder.
        asking_ = true;
        const bool choose =
            MessageBox::choice(this, toQ(text + "\r\n\r\n" + std::string(msg::kSaveElsewhere)),
                               QMessageBox::Warning, {toQ(msg::kChooseFolder)}, -1) == 0;
        const QString target =
            choose ? QFileDialog::getExistingDirectory(this, toQ(msg::kChooseFolder),
                                                       toQ(FolderOf(guard_->folder())))
                   : QString();
        asking_ = false;
        if (!target.isEmpty() && fromQ(target) != guard_->folder())
            saveWholeProjectTo(StripTrailingBackslash(fromQ(target)), guard_->folder());
        return false;
    }
    case SaveGuard::Verdict::LockLost:
        setSaveWarning(toQ(msg::kLockLost));
        if (explicitSave)
            MessageBox::error(this, toQ(msg::kLockLost));
        return false;
    case SaveGuard::Verdict::FolderGone:
        return handleFolderGone(explicitSave);
    case SaveGuard::Verdict::ChangedOnDisk:
        if (!autoSaver_->hasUnsavedChange()) {
            reloadFromDisk(toQ(msg::Format(msg::kReloadedNote, guard_->scriptPath())));
            return false;
        }
        if (conflictPending_ && !explicitSave)
            return false;
        return resolveConflict();
    }
    return false;
}

void MainWindow::lookAtDisk() {
    // A question already up answers for this change too; one that a dialog holds back is asked
    // at the next look (the poll keeps looking while the file differs).
    if (!guard_ || asking_ || QApplication::activeModalWidget() || !isEnabled())
        return;
    mayWrite(false);
}

void MainWindow::reloadFromDisk(const QString& note) {
    const std::string folder = guard_->folder();
    LoadResult loaded;
    {
        const BusyCursor busy;
        loaded = LoadProject(guard_->scriptPath(), project_);
    }
    for (const std::string& text : loaded.messages)
        MessageBox::message(this, toQ(text));
    if (loaded.outcome != LoadOutcome::Loaded) {
        // Their file is not a project this program can read: nothing is written over it.
        conflictPending_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedConflict, guard_->scriptPath())));
        return;
    }
    project_.settings.projectFolder = folder;
    projectReplaced();
    setEditingEnabled(project_.menuCount() > 0);
    if (project_.isRow(project_.selected))
        showMenuProperties(project_.selected);
    guard_->noteOnDisk();
    autoSaver_->noteSaved();
    conflictPending_ = false;
    saveWarning_.clear();
    // The preview shows their version; it is written again as the preview variant, with the
    // same menus, as opening a project does.
    refreshPreview();
    ui->lblActiveProject->setText(note);
    ui->lblActiveProject->setToolTip(note);
}

bool MainWindow::resolveConflict() {
    const std::string script = guard_->scriptPath();
    asking_ = true;
    const int answer =
        MessageBox::choice(this, toQ(msg::Format(msg::kChangedOnDiskQuestion, script)),
                           QMessageBox::Warning, {toQ(msg::kReloadTheirs), toQ(msg::kKeepMine)}, 0);
    asking_ = false;
    if (answer == 1) {
        conflictPending_ = false;
        return true;
    }
    if (answer != 0) {
        conflictPending_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedConflict, script)));
        return false;
    }
    Project mine = project_;
    (void)SwapDefaultCaptions(mine);
    const Expected<std::string> copy = guard_->keepCopyBeside(AssembleScript(mine, true));
    if (!copy) {
        conflictPending_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedConflict, script)));
        MessageBox::error(this, toQ(copy.status().message));
        return false;
    }
    reloadFromDisk(toQ(msg::Format(msg::kKeptCopyNote, *copy)));
    return false;
}

bool MainWindow::handleFolderGone(bool explicitSave) {
    if (folderGonePending_ && !explicitSave)
        return false;
    const std::string folder = guard_->folder();
    const std::string went = guard_->whereFolderWent();
    std::string text = msg::Format(msg::kFolderGoneQuestion, folder);
    if (!went.empty() && went != folder)
        text += msg::Format(msg::kFolderNowAt, went);
    asking_ = true;
    const int answer = MessageBox::choice(this, toQ(text), QMessageBox::Warning,
                                          {toQ(msg::kSaveToOldPlace), toQ(msg::kChooseFolder)}, 0);
    std::string target;
    if (answer == 0) {
        target = folder;
    } else if (answer == 1) {
        target = fromQ(QFileDialog::getExistingDirectory(this, toQ(msg::kChooseFolder),
                                                         toQ(FolderOf(folder))));
    }
    asking_ = false;
    if (target.empty()) {
        folderGonePending_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedFolderGone, folder)));
        return false;
    }
    saveWholeProjectTo(StripTrailingBackslash(target), went);
    return false;
}

void MainWindow::saveWholeProjectTo(const std::string& target, const std::string& from) {
    // Another project's script is not replaced by this one.
    if (target != guard_->folder() && FileExists(JoinPath(target, kScriptFileName))) {
        folderGonePending_ = true;
        MessageBox::error(this, toQ(msg::Format(msg::kFolderHoldsProject, target)));
        return;
    }
    MakeProjectFolder(target);
    if (!IsWritableFolder(target)) {
        folderGonePending_ = true;
        MessageBox::error(this, toQ(CannotUseFolderText(target)));
        return;
    }
    // The template page and the pictures come from where the folder went; the script is
    // written anew from what this window holds.
    if (!from.empty() && from != target) {
        const QDir source(toQ(from));
        QDirIterator files(source.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString relative = source.relativeFilePath(path);
            const QString name = QFileInfo(path).fileName();
            if (relative == toQ(kScriptFileName) || name == toQ(kLockFileName) ||
                name.contains(QStringLiteral(".saving-")))
                continue;
            const QString destination = toQ(target) + QLatin1Char('/') + relative;
            QDir().mkpath(QFileInfo(destination).path());
            if (!QFileInfo::exists(destination))
                QFile::copy(path, destination);
        }
    }
    auto guard = claimProject(target, this);
    if (!guard) {
        folderGonePending_ = true;
        return;
    }
    project_.settings.projectFolder = target;
    adoptProject(std::move(guard), this);
    setActiveProject(toQ(target));
    refreshPreview();
}

Status MainWindow::finalSaveOnEnd() {
    const SaveGuard::Verdict verdict = guard_ ? guard_->check() : SaveGuard::Verdict::Write;
    if (verdict == SaveGuard::Verdict::Write) {
        editor_->showSwappedCaptions(SwapDefaultCaptions(project_));
        return SaveScript(project_, false);
    }
    if (!autoSaver_->hasUnsavedChange())
        return Status::success(); // what is on disk is all there is; theirs stays
    if (verdict == SaveGuard::Verdict::FolderGone)
        return Status::failure(msg::Format(msg::kFolderGoneOnEnd, guard_->folder()));
    // Nobody can be asked: their file stays, this window's version goes beside it.
    Project mine = project_;
    (void)SwapDefaultCaptions(mine);
    const Expected<std::string> copy = guard_->keepCopyBeside(AssembleScript(mine, false));
    if (!copy)
        return copy.status();
    const std::string_view why = verdict == SaveGuard::Verdict::ReadOnly   ? msg::kReadOnlyOnEnd
                                 : verdict == SaveGuard::Verdict::LockLost ? msg::kTakenOverOnEnd
                                                                           : msg::kChangedOnEnd;
    return Status::failure(msg::Format(msg::Format(why, guard_->scriptPath()), *copy));
}

} // namespace qloom::gui
