#include "gui/shell/MainWindow.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/DesktopShell.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/MessageBox.h"
#include "gui/common/PlainText.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/preview/PreviewController.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/BrowserCheck.h"
#include "gui/shell/FinalizedDialog.h"
#include "gui/shell/FolderChooser.h"
#include "gui/shell/ProjectFolders.h"
#include "gui/shell/ProjectSettingsDialog.h"
#include "gui/shell/StartDialog.h"
#include "gui/shell/StatusLine.h"
#include "gui/shell/TemplateInfoDialog.h"
#include "model/Messages.h"
#include "script/ScriptSaver.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace qloom::gui {

namespace {
// Small drawings beside the orientation buttons: a caption with its body below or beside it.
QPixmap orientationPicture(bool vertical) {
    const QSize size = vertical ? QSize(34, 36) : QSize(34, 28);
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    if (vertical) {
        painter.fillRect(QRect(1, 1, 8, 33), Qt::black);
        painter.fillRect(QRect(10, 1, 22, 33), QColor(0, 128, 128));
    } else {
        painter.fillRect(QRect(1, 1, 31, 7), Qt::black);
        painter.fillRect(QRect(1, 9, 31, 17), QColor(0, 128, 128));
    }
    return picture;
}

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

MainWindow::MainWindow(const QString& programFolder) : ui(std::make_unique<Ui::MainWindow>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(392, 329);
    setWindowTitle(toQ(msg::kMainCaption));
    ui->lblActiveProject->setTextFormat(Qt::PlainText);
    ui->panHTMLTools->hide();
    ui->txtJS_Errors->hide();
    ui->panHTMLTools->raise();
    // Four tabs must share 289 pixels whatever the desktop font: narrow padding, and eliding
    // rather than scroll arrows when even that is too wide.
    QFont tabFont = ui->tabProp->tabBar()->font();
    tabFont.setPointSize(7);
    ui->tabProp->tabBar()->setFont(tabFont);
    ui->tabProp->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    ui->tabProp->setUsesScrollButtons(false);
    ui->tabProp->setElideMode(Qt::ElideRight);
    ui->btnHelp->setIcon(helpGlyph());
    ui->btnUpdatePreview->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui->picHorizontal->setPixmap(orientationPicture(false));
    ui->picVertical->setPixmap(orientationPicture(true));
    CenterOnDesktop(this);

    programFolder_ = programFolder.isEmpty()
                         ? toQ(ProgramFolderOf(fromQ(QCoreApplication::applicationFilePath())))
                         : programFolder;
    if (!programFolder_.endsWith(QLatin1Char('/')))
        programFolder_ += QLatin1Char('/');
    project_.table.MenuCount = 0;
    project_.HeaderLines.clear();
    editor_ = new PropertyEditor(this, *this);
    setEditingEnabled(false);

    connect(ui->btnAddMenu, &QPushButton::clicked, this, &MainWindow::btnAddMenuClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &MainWindow::btnDeleteClick);
    connect(ui->btnFinalize, &QPushButton::clicked, this, &MainWindow::btnFinalizeClick);
    connect(ui->btnProjects, &QPushButton::clicked, this, &MainWindow::btnProjectsClick);
    connect(ui->btnActiveProjectSettings, &QPushButton::clicked, this,
            &MainWindow::btnActiveProjectSettingsClick);
    connect(ui->btnHelp, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(ui->chkStayOnTop, &QCheckBox::clicked, this, &MainWindow::chkStayOnTopClick);
    new HelpKeyFilter(this, [this] { showHelp(); });
}

MainWindow::~MainWindow() {
    const std::string& folder = project_.settings.ProjectFolder;
    if (!folder.empty()) {
        QString store;
        // Said now or never: next time "Open Last Edited Project" would just stay greyed.
        if (!UserSettings::setValue(UserSettings::kLastEdited, toQ(folder), &store))
            report(Status::failure(msg::Format(msg::kCannotCreateFile, fromQ(store))));
    }
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

void MainWindow::createOtherWindows() {
    preview_ = new PreviewController(this, *this); // shows the preview window
    preview_->setCaptionSwapHook(editor_->captionSwapHook());
    preview_->setProgramFolder(programFolder_);
    // Said once, without a box: the status line shows it until the next project is shown.
    connect(preview_, &PreviewController::statusNote, this, [this](const QString& note) {
        ui->lblActiveProject->setText(note);
        ui->lblActiveProject->setToolTip(note);
    });
    frmStart_ = std::make_unique<StartDialog>(*this);
    connect(frmStart_.get(), &StartDialog::quitRequested, this, &MainWindow::quitRequested);
    frmStart_->show();
    frmSelFolder_ = std::make_unique<FolderChooser>(*this);
    htmlTools_ = new HtmlTools(*this, this); // Add Text, Add URL, Add Image, in that order
    htmlTools_->connectButtons();
    frmFinilizedOK_ = std::make_unique<FinalizedDialog>(*this);
    frmProjectSettings_ = std::make_unique<ProjectSettingsDialog>(*this);
    frmTemplateInfo_ = std::make_unique<TemplateInfoDialog>();
    frmProjectSettings_->setTemplateInfo(frmTemplateInfo_.get());
}

void MainWindow::clearMenuList() {
    ui->listMenus->clear();
}

void MainWindow::rebuildMenuList() {
    ui->listMenus->clear();
    for (int32_t row = 0; row < project_.table.MenuCount; ++row)
        ui->listMenus->addItem(toQ(MenuLabel(row)));
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
    project_.table.SelectedMenu = row;
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
    DesktopShell::open(programFolder_ + QStringLiteral("Help/index.htm"));
}

bool MainWindow::report(const Status& status) {
    if (!status.ok)
        MessageBox::error(this, toQ(status.message));
    return status.ok;
}

bool MainWindow::saveScript(bool forPreview) {
    Status status;
    {
        const BusyCursor busy;
        status = SaveScript(project_, forPreview, editor_->captionSwapHook());
    }
    return report(status);
}

// --- Frame handlers.

void MainWindow::closeEvent(QCloseEvent* event) {
    // A save that keeps failing (a folder gone read-only) must not lock the user in: after the
    // error report they may still close, losing only what could not be saved.
    if (!project_.settings.ProjectFolder.empty() && !saveScript(false) &&
        MessageBox::question(this, toQ(msg::kAppTitle), toQ(msg::kCloseWithoutSaving),
                             QMessageBox::Warning, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT quitRequested();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setActiveProject(toQ(project_.settings.ProjectFolder));
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        setActiveProject(toQ(project_.settings.ProjectFolder));
}

void MainWindow::chkStayOnTopClick(bool checked) {
    setWindowFlag(Qt::WindowStaysOnTopHint, checked);
    show(); // changing the flags hides the window
}

void MainWindow::btnAddMenuClick() {
    const AddMenuResult added = AddMenu(project_.table);
    if (!added.ok) {
        MessageBox::message(this, toQ(added.message));
        return;
    }
    setEditingEnabled(true);
    ui->listMenus->addItem(toQ(MenuLabel(added.row)));
    showMenuProperties(added.row);
    refreshPreview();
    scrollPreviewTo(added.row);
}

void MainWindow::btnDeleteClick() {
    MenuTable& table = project_.table;
    if (table.MenuCount <= 0) {
        MessageBox::message(this, toQ(msg::kNothingToDelete));
        return;
    }
    if (MessageBox::question(this, toQ(msg::kDeleteConfirmationTitle),
                             toQ(DeleteConfirmationText(table)), QMessageBox::Question,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    const int32_t before = table.MenuCount;
    DeleteSelectedMenu(table);
    if (table.MenuCount == before)
        return; // the selection named no row in use, so nothing was deleted
    delete ui->listMenus->takeItem(ui->listMenus->count() - 1);
    if (table.MenuCount > 0)
        showMenuProperties(table.SelectedMenu);
    else
        setEditingEnabled(false);
    refreshPreview();
}

void MainWindow::btnFinalizeClick() {
    Status status;
    {
        const BusyCursor busy;
        status = FinalizeProject(project_, editor_->captionSwapHook());
    }
    if (!report(status))
        return;
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
    if (frmProjectSettings_)
        frmProjectSettings_->exec();
}

} // namespace qloom::gui
