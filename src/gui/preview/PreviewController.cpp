#include "gui/preview/PreviewController.h"

#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/common/WindowGeometry.h"
#include "gui/common/WindowPlacement.h"
#include "gui/preview/PreviewSandbox.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/preview/internal/PreviewScroll.h"
#include "gui/preview/internal/SmallScreenLayout.h"
#include "gui/preview/internal/TitleCommand.h"
#include "model/Messages.h"
#include "script/ScriptSaver.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>
#include <cstdint>

namespace qloom::gui {
namespace {

// The exclamation glyph of "Update Preview": red while the preview is stale, black otherwise.
QIcon ExclamationGlyph(const QColor& color) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    QPainterPath bar;
    bar.moveTo(6.5, 2);
    bar.lineTo(11.5, 2);
    bar.lineTo(10, 11.5);
    bar.lineTo(8, 11.5);
    bar.closeSubpath();
    painter.drawPath(bar);
    painter.drawEllipse(QRectF(7, 13, 4, 4));
    return QIcon(pixmap);
}

// Room for the preview's scroll bars around the page, so a first window shows all of it.
constexpr int kPreviewScrollRoom = 24;

// Arrow presses closer together than this are one move to undo.
constexpr int kNudgeBurstMs = 800;
constexpr int32_t kNudgeStep = 1;
constexpr int32_t kLargeNudgeStep = 10;

// A position read from a file may sit at the end of the range; a press there leaves it put
// instead of wrapping it round to the other end.
int32_t Nudged(int32_t position, int32_t step) {
    return int32_t(std::clamp<int64_t>(int64_t(position) + step, INT32_MIN, INT32_MAX));
}

} // namespace

PreviewController::PreviewController(ProjectSessionApi& session, const Controls& controls,
                                     QObject* parent)
    : QObject(parent), session_(session), browser_(std::make_unique<PreviewWindow>()),
      showPreviewButton_(controls.showPreview), updatePreviewButton_(controls.updatePreview),
      stayOnTopBox_(controls.stayOnTop),
      logFolder_(QCoreApplication::applicationDirPath() + QLatin1Char('/')) {
    clock_.start();
    logTimer_.setSingleShot(true);
    logTimer_.setInterval(kLogFlushMs);
    connect(&logTimer_, &QTimer::timeout, this, &PreviewController::flushScriptErrorLog);
    // The last errors of the run are written before the windows go.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &PreviewController::flushScriptErrorLog);
    updatePreviewButton_->setIconSize(QSize(18, 18));
    showStaleMark(session_.previewStale());

    connect(showPreviewButton_, &QAbstractButton::clicked, this,
            &PreviewController::onShowPreviewClicked);
    connect(updatePreviewButton_, &QAbstractButton::clicked, this,
            &PreviewController::onUpdatePreviewClicked);
    connect(&session_, &ProjectSessionApi::previewStaleChanged, this,
            &PreviewController::showStaleMark);
    connect(&session_, &ProjectSessionApi::selectionChanged, this,
            &PreviewController::onSelectionChanged);
    connect(&session_, &ProjectSessionApi::restored, this, &PreviewController::onRestored);
    connect(browser_.get(), &PreviewWindow::titleChanged, this, &PreviewController::receiveTitle);
    connect(browser_.get(), &PreviewWindow::pageNote, this,
            [this](const QString& text) { appendErrorLine(text); });
    // "Back to Preview" is a click of "Update Preview", with all its effects.
    connect(browser_.get(), &PreviewWindow::backToPreviewClicked, updatePreviewButton_,
            &QAbstractButton::click);
    nudgeBurst_.setSingleShot(true);
    nudgeBurst_.setInterval(kNudgeBurstMs);
    connect(&nudgeBurst_, &QTimer::timeout, this, [this] { session_.history().closeStep(); });
    // The keys of the preview window, before the page's own widgets take them: every widget of
    // the window is watched, also those the browser view adds later (its input widget is
    // replaced after a renderer crash).
    watchKeysOf(browser_.get());
    // Where the user last left it; on first start beside the main window (the parent), on the
    // side of the screen that is free, so it covers none of the controls being worked with.
    auto* mainWindow = qobject_cast<QWidget*>(parent);
    new WindowGeometry(*browser_, QStringLiteral("Preview"), [this, mainWindow](QWidget&) {
        if (!mainWindow)
            return;
        const PlaceRect frame = WindowGeometry::besideWindow(
            *mainWindow, QSize(PreviewWindow::kPageWidth + kPreviewScrollRoom,
                               PreviewWindow::kPageHeight + kPreviewScrollRoom));
        browser_->setOuterSize(QSize(frame.width, frame.height));
        browser_->move(frame.x, frame.y);
    });
    // The preview window is up from the start, empty until the first project is shown.
    browser_->show();
}

PreviewController::~PreviewController() {
    browser_->disconnect(this);
    browser_.reset();
}

QString PreviewController::scriptErrorLogPath() const {
    return logFolder_ + toQ(kScriptErrorLogName);
}

QString PreviewController::allowedRootFor(const QString& projectFolder) {
    const QString project = QFileInfo(projectFolder).canonicalFilePath();
    const QString site = UserSettings::value(UserSettings::siteFolderKey(projectFolder)).toString();
    if (project.isEmpty() || site.isEmpty())
        return projectFolder;
    const QString canonicalSite = QFileInfo(site).canonicalFilePath();
    // A folder moved or renamed since it was chosen no longer widens anything.
    if (canonicalSite.isEmpty() ||
        CheckSiteFolder(canonicalSite.toStdString(), project.toStdString(),
                        QFileInfo(QDir::homePath()).canonicalFilePath().toStdString()) !=
            SiteFolderVerdict::Ok)
        return projectFolder;
    return canonicalSite;
}

void PreviewController::navigatePreview() {
    const ProjectSettings& settings = session_.project().settings;
    const std::string path = JoinPath(settings.projectFolder, settings.templateFileName);
    browser_->setAllowedRoot(allowedRootFor(toQ(settings.projectFolder)));
    browser_->navigatePreview(QUrl::fromLocalFile(toQ(path)));
}

void PreviewController::runPreviewScript(const QString& code) {
    browser_->runScript(code);
}

void PreviewController::showPreviewWindow() {
    browser_->present(true);
}

bool PreviewController::refresh() {
    // The session writes the project and reports a failure.
    if (!session_.savePreview())
        return false;
    navigatePreview();
    browser_->present(false); // the user goes on working where they are
    return true;
}

void PreviewController::refreshPreview() {
    refresh();
}

void PreviewController::scrollPreviewTo(int32_t index) {
    const Project& table = session_.project();
    if (!table.isRow(index))
        return;
    QScrollBar* horizontal = browser_->scrollArea()->horizontalScrollBar();
    QScrollBar* vertical = browser_->scrollArea()->verticalScrollBar();
    const QRect outer = browser_->frameGeometry();
    const ScrollTarget target =
        PreviewScrollTarget({horizontal->value(), vertical->value(), outer.width(), outer.height()},
                            table.menus[size_t(index)].left, table.menus[size_t(index)].top,
                            table.menus[size_t(index)].width);
    horizontal->setValue(target.hpos); // the scroll bars clamp to their range
    vertical->setValue(target.vpos);
}

void PreviewController::showSelection(int32_t row) {
    if (!session_.project().isRow(row))
        return;
    // The second argument 0: the page does not answer through its title.
    runPreviewScript(QStringLiteral("Qloom.ySetSel(%1,0)").arg(row));
    scrollPreviewTo(row);
}

void PreviewController::onSelectionChanged(int32_t row, SelectionSource source) {
    // The page knows its own choice; a choice of the program is shown by whoever made it.
    if (source == SelectionSource::Editor)
        showSelection(row);
}

void PreviewController::onRestored(const ProjectEdit& edit) {
    if (edit.kind() == ProjectEdit::Kind::Move) {
        // The page can put the menu back by itself; no need to save and reload.
        showMovedMenu(edit.row());
        scrollPreviewTo(edit.row());
        return;
    }
    refreshPreview();
}

void PreviewController::showStaleMark(bool stale) {
    QFont font = updatePreviewButton_->font();
    font.setBold(stale);
    updatePreviewButton_->setFont(font);
    updatePreviewButton_->setIcon(ExclamationGlyph(stale ? Qt::red : Qt::black));
}

void PreviewController::receiveTitle(const QString& title) {
    const std::string text = fromQ(title);
    // Plain titles and the bare prefix cost nothing and are not counted.
    if (ParseTitleCommand(text).kind == TitleCommand::Kind::Ignore)
        return;
    if (!commandRate_.admit(clock_.elapsed())) {
        ++droppedTitles_;
        if (!logTimer_.isActive())
            logTimer_.start();
        return;
    }
    pendingTitles_.push_back(text);
    if (handlingTitles_)
        return; // the running loop below takes it
    handlingTitles_ = true;
    while (!pendingTitles_.empty()) {
        const std::string next = std::move(pendingTitles_.front());
        pendingTitles_.pop_front();
        handleIdeCommand(next);
    }
    handlingTitles_ = false;
}

void PreviewController::appendErrorLine(const QString& line) {
    scriptErrors_.append(fromQ(line));
    logDirty_ = true;
    Q_EMIT scriptErrorsChanged(int(scriptErrors_.size()));
    // Started by the first unsaved error, not restarted by later ones: a steady stream of
    // errors is still written once per interval.
    if (!logTimer_.isActive())
        logTimer_.start();
}

void PreviewController::handleIdeCommand(const std::string& title) {
    // A finished drag is a step of the project history like any other edit.
    const TitleCommand command = ParseTitleCommand(title);
    if (command.kind == TitleCommand::Kind::Move) {
        // In the small-screen layout the menus stand in their list, not at their places: a
        // drag there says nothing about where a menu belongs on the wide page.
        if (!smallScreenShown())
            recordMove(command.index, command.x, command.y, false);
        return;
    }
    switch (command.kind) {
    case TitleCommand::Kind::Ignore:
    case TitleCommand::Kind::Move:
        break;
    case TitleCommand::Kind::Select:
        session_.select(command.index, SelectionSource::Page);
        break;
    case TitleCommand::Kind::Error:
        appendErrorLine(toQ(command.text));
        break;
    case TitleCommand::Kind::BadInteger:
        // The page sent it, not the user: a box per bad title would let a page stack boxes.
        appendErrorLine(toQ(msg::Format(msg::kPreviewBadCommand,
                                        msg::Format(msg::kNotValidInteger, command.text))));
        break;
    }
}

bool PreviewController::recordMove(int32_t row, int32_t x, int32_t y, bool nudge) {
    ProjectHistory& history = session_.history();
    if (!nudge) {
        nudgeBurst_.stop();
        history.closeStep();
    }
    // The session shows the moved (and now selected) menu in the editor.
    if (!session_.edit(ProjectEdit::move(session_.project(), row, x, y), nudge))
        return false; // not a row of the table: nothing changes
    if (!nudge)
        history.closeStep();
    return true;
}

bool PreviewController::smallScreenShown() const {
    const Project& project = session_.project();
    return browser_ && SmallScreenLayout(browser_->pageCssWidth(),
                                         project.settings.smallScreenBreakpoint, project.menus);
}

void PreviewController::nudgeSelected(int32_t dx, int32_t dy) {
    const Project& table = session_.project();
    const int32_t row = table.selected;
    if (!table.isRow(row) ||
        !recordMove(row, Nudged(table.menus[row].left, dx), Nudged(table.menus[row].top, dy), true))
        return;
    showMovedMenu(row);
    scrollPreviewTo(row);
    nudgeBurst_.start();
}

void PreviewController::selectNextMenu(int step) {
    const Project& table = session_.project();
    if (table.menuCount() <= 0)
        return;
    const int32_t from = table.isRow(table.selected) ? table.selected : 0;
    session_.select((from + step % table.menuCount() + table.menuCount()) % table.menuCount(),
                    SelectionSource::Editor);
}

void PreviewController::showMovedMenu(int32_t row) {
    const Project& table = session_.project();
    if (!table.isRow(row))
        return;
    runPreviewScript(QStringLiteral("Qloom.yMoveMenu(%1,%2,%3);Qloom.ySetSel(%1,0)")
                         .arg(row)
                         .arg(table.menus[size_t(row)].left)
                         .arg(table.menus[size_t(row)].top));
}

void PreviewController::watchKeysOf(QWidget* widget) {
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool PreviewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            watchKeysOf(static_cast<QWidget*>(child));
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != browser_.get())
        return false;
    // In the small-screen list the menus stand in reading order, not at their places: the keys
    // are the page's, to move through the list as a visitor would.
    if (smallScreenShown())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int32_t step = mods == Qt::ShiftModifier ? kLargeNudgeStep : kNudgeStep;
    const bool plain = mods == Qt::NoModifier || mods == Qt::ShiftModifier;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!plain)
            return false;
        nudgeSelected(key->key() == Qt::Key_Left    ? -step
                      : key->key() == Qt::Key_Right ? step
                                                    : 0,
                      key->key() == Qt::Key_Up     ? -step
                      : key->key() == Qt::Key_Down ? step
                                                   : 0);
        return true;
    case Qt::Key_Tab:
        if (mods != Qt::NoModifier)
            return false;
        selectNextMenu(1);
        return true;
    case Qt::Key_Backtab:
        selectNextMenu(-1);
        return true;
    default:
        return false;
    }
}

void PreviewController::onShowPreviewClicked() {
    // Through the box's own handler, so the main window leaves the always-on-top state.
    if (stayOnTopBox_ && stayOnTopBox_->isChecked())
        stayOnTopBox_->click();
    showPreviewWindow();
}

void PreviewController::onUpdatePreviewClicked() {
    if (!refresh())
        return;
    scrollPreviewTo(session_.project().selected);
    session_.setPreviewStale(false);
}

void PreviewController::flushScriptErrorLog() {
    logTimer_.stop();
    if (droppedTitles_ > 0) {
        const qint64 dropped = std::exchange(droppedTitles_, 0);
        appendErrorLine(toQ(msg::Format(msg::kPreviewCommandsDropped, std::to_string(dropped))));
    }
    if (!logDirty_)
        return;
    logDirty_ = false;
    const std::string path = fromQ(scriptErrorLogPath());
    const Status written = scriptErrors_.writeTo(path);
    if (written.ok) {
        for (const std::string& line : scriptErrors_.lines())
            logBytes_ += qint64(line.size() + 2);
        logTimer_.stop();
        return;
    }
    // The line stays in the list; the next error tries the file again. Said once per run.
    if (logFailureReported_)
        return;
    logFailureReported_ = true;
    appendErrorLine(toQ(written.message));
    logDirty_ = false; // the note itself does not ask for another attempt
    logTimer_.stop();
    Q_EMIT statusNote(toQ(written.message));
}

} // namespace qloom::gui
