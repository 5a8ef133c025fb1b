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
#include "gui/common/WindowGeometry.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/internal/BrowserCheck.h"
#include "gui/shell/internal/CheckListModel.h"
#include "gui/shell/internal/FinalizedDialog.h"
#include "gui/shell/internal/FolderChooser.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/internal/MainMenuBar.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/ProjectSettingsDialog.h"
#include "gui/shell/internal/StartDialog.h"
#include "gui/shell/internal/StatusIndicators.h"
#include "gui/shell/internal/StatusLine.h"
#include "gui/shell/internal/TemplateInfoDialog.h"
#include "gui/shell/internal/UserPlaces.h"
#include "model/Messages.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
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

// The main window's size in earlier versions, kept for the first start.
constexpr QSize kFirstSize(392, 421);

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
    setWindowTitle(uiText(msg::kMainCaption));
    ui->activeProjectLabel->setTextFormat(Qt::PlainText);
    ui->helpButton->setIcon(helpGlyph());
    ui->updatePreviewButton->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));

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
    editor_->placeInTabOrderAfter(ui->stayOnTopBox);
    editor_->setEditingEnabled(false);
    layOut();
    // The size of earlier versions at the first start (or what the desktop's font needs);
    // after that where and how large the user left it.
    resize(kFirstSize.expandedTo(minimumSizeHint()));
    WindowGeometry::keepDialog(*this, QStringLiteral("MainWindow"));

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

void MainWindow::layOut() {
    MainMenuBar::Handlers handlers;
    handlers.projects = [this] { ui->projectsButton->click(); };
    handlers.finalize = [this] { ui->finalizeButton->click(); };
    handlers.browseFolder = [this] {
        if (session_->hasProject())
            DesktopShell::open(toQ(session_->project().settings.projectFolder));
    };
    handlers.settings = [this] { ui->projectSettingsButton->click(); };
    handlers.quit = [this] { close(); };
    handlers.addMenu = [this] { ui->addMenuButton->click(); };
    handlers.deleteMenu = [this] { ui->deleteButton->click(); };
    handlers.showPreview = [this] { ui->showPreviewButton->click(); };
    handlers.updatePreview = [this] { ui->updatePreviewButton->click(); };
    handlers.onTop = [this] { ui->stayOnTopBox->click(); };
    handlers.help = [this] { showHelp(); };
    handlers.about = [this] { showAbout(); };
    menuBar_ = new MainMenuBar(session_->history().stack(), handlers, this);
    // The entry's check mark follows the box, whoever changed it.
    connect(ui->stayOnTopBox, &QCheckBox::toggled, menuBar_->onTopAction(), &QAction::setChecked);
    menuBar_->setProjectActionsEnabled(false);

    auto* top = new QHBoxLayout;
    for (QWidget* button :
         {ui->addMenuButton, ui->deleteButton, ui->finalizeButton, ui->showPreviewButton})
        top->addWidget(button);
    top->addStretch(1);
    top->addWidget(ui->stayOnTopBox);

    auto* commands = new QHBoxLayout;
    commands->addWidget(ui->projectsButton);
    commands->addWidget(ui->projectSettingsButton);
    commands->addWidget(ui->helpButton);
    commands->addStretch(1);
    commands->addWidget(ui->updatePreviewButton);

    status_ = new StatusIndicators(ui->statusBar);
    connect(status_, &StatusIndicators::errorsRequested, this, &MainWindow::showScriptErrors);
    // A save that failed or was held back (a changed file, a lost lock, a gone folder) leaves a
    // warning in the session until a save succeeds.
    connect(session_, &ProjectSession::saved, this,
            [this] { status_->showSaved(QDateTime::currentDateTime()); });
    connect(session_, &ProjectSession::saveWarningChanged, status_, [this](const QString& warning) {
        if (warning.isEmpty())
            status_->clearSaveFailure();
        else
            status_->showSaveFailed(warning);
    });
    auto* statusRow = new QHBoxLayout(ui->statusBar);
    statusRow->setContentsMargins(4, 1, 4, 1);
    // The project's folder takes what room there is and is shortened to it.
    ui->activeProjectLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->activeProjectLabel->setMinimumWidth(0);
    statusRow->addWidget(ui->activeProjectLabel, 1);
    // The label loses room whenever the indicators beside it grow ("Saved 14:05" after the
    // first save, the error count): its text is shortened again for the room left.
    ui->activeProjectLabel->installEventFilter(this);
    statusRow->addWidget(status_);
    ui->statusBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(4, 0, 4, 0);
    main->setMenuBar(menuBar_);
    main->addLayout(top);
    main->addWidget(editor_, 3);
    main->addLayout(commands);
    main->addWidget(ui->checksLabel);
    main->addWidget(ui->checksList, 2);
    main->addWidget(ui->statusBar);
    ui->checksList->setMinimumHeight(ui->checksList->fontMetrics().height() * 3);
}

void MainWindow::showAbout() {
    QMessageBox::about(this, tr("About qLoom"),
                       tr("<p><b>%1</b></p><p>Drop-down and slide-out menus for web pages.</p>")
                           .arg(uiText(msg::kMainCaption).toHtmlEscaped()));
}

QString MainWindow::scriptErrorText() const {
    return preview_ ? toQ(preview_->scriptErrors().text()) : QString();
}

void MainWindow::showScriptErrors() {
    if (!scriptErrors_) {
        scriptErrors_ = new QDialog(this);
        scriptErrors_->setWindowTitle(tr("Script Errors of the Preview Page"));
        auto* list = new QPlainTextEdit(scriptErrors_);
        list->setObjectName(QStringLiteral("scriptErrorsList"));
        list->setReadOnly(true);
        list->setLineWrapMode(QPlainTextEdit::NoWrap);
        list->setAccessibleName(tr("Script errors"));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, scriptErrors_);
        connect(buttons, &QDialogButtonBox::rejected, scriptErrors_, &QDialog::reject);
        auto* column = new QVBoxLayout(scriptErrors_);
        column->addWidget(list);
        column->addWidget(buttons);
        scriptErrors_->resize(640, 300);
        WindowGeometry::keepDialog(*scriptErrors_, QStringLiteral("ScriptErrors"));
        // The list follows new errors while it is open.
        if (preview_)
            connect(preview_, &PreviewController::scriptErrorsChanged, list,
                    [this, list] { list->setPlainText(scriptErrorText()); });
    }
    if (auto* list = scriptErrors_->findChild<QPlainTextEdit*>())
        list->setPlainText(scriptErrorText());
    scriptErrors_->show();
    scriptErrors_->raise();
    scriptErrors_->activateWindow();
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
        statusNote_ = note;
        fitStatusLabel();
    });
    connect(preview_, &PreviewController::scriptErrorsChanged, status_,
            &StatusIndicators::setErrorCount);
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
    statusNote_.clear();
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

void MainWindow::setProjectOpen(bool open) {
    if (menuBar_)
        menuBar_->setProjectActionsEnabled(open);
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
    // The room the label has in the status row (the window's width less the indicators).
    const int room = std::max(ui->activeProjectLabel->width(), 120);
    const std::string text = ShortenStatusText(
        full,
        [&metrics](const std::string& candidate) {
            return metrics.horizontalAdvance(toQ(candidate));
        },
        room);
    ui->activeProjectLabel->setText(toQ(text));
    ui->activeProjectLabel->setToolTip(PlainToolTip(warning.isEmpty() ? folder : warning));
    ui->activeProjectLabel->setStyleSheet(warning.isEmpty() ? QString()
                                                            : QStringLiteral("color: #b00000;"));
    setProjectOpen(!folder.isEmpty());
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->activeProjectLabel && event->type() == QEvent::Resize)
        fitStatusLabel();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::fitStatusLabel() {
    if (statusNote_.isEmpty()) {
        setActiveProject(session_->folder());
        return;
    }
    QLabel* label = ui->activeProjectLabel;
    const int room = std::max(label->width(), 120);
    label->setText(label->fontMetrics().elidedText(statusNote_, Qt::ElideRight, room));
    label->setToolTip(statusNote_);
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        fitStatusLabel();
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
