#include "gui/preview/PreviewController.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/PlainText.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/preview/PreviewSandbox.h"
#include "gui/preview/PreviewScroll.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/preview/ScriptErrorLog.h"
#include "gui/preview/TitleCommand.h"
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
#include <QPlainTextEdit>
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

PreviewController::PreviewController(MainWindowOps& ops, const Controls& controls, QObject* parent)
    : QObject(parent), ops_(ops), browser_(std::make_unique<PreviewWindow>()),
      btnShowPreview_(controls.showPreview), btnUpdatePreview_(controls.updatePreview),
      txtJS_Errors_(controls.errorList), chkStayOnTop_(controls.stayOnTop),
      logFolder_(QCoreApplication::applicationDirPath() + QLatin1Char('/')) {
    // One error title per line, however long: wrapping must not split a logged line.
    txtJS_Errors_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The list keeps the latest errors; older lines fall off the top as new ones arrive.
    txtJS_Errors_->setMaximumBlockCount(int(kScriptErrorListLimit));
    clock_.start();
    logTimer_.setSingleShot(true);
    logTimer_.setInterval(kLogFlushMs);
    connect(&logTimer_, &QTimer::timeout, this, &PreviewController::flushScriptErrorLog);
    // The last errors of the run are written before the windows go.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &PreviewController::flushScriptErrorLog);
    btnUpdatePreview_->setIcon(ExclamationGlyph(Qt::black));
    btnUpdatePreview_->setIconSize(QSize(18, 18));

    connect(btnShowPreview_, &QAbstractButton::clicked, this,
            &PreviewController::btnShowPreviewClick);
    connect(btnUpdatePreview_, &QAbstractButton::clicked, this,
            &PreviewController::btnUpdatePreviewClick);
    connect(txtJS_Errors_, &QPlainTextEdit::textChanged, this,
            &PreviewController::txtJS_ErrorsChange);
    connect(browser_.get(), &PreviewWindow::titleChanged, this, &PreviewController::receiveTitle);
    connect(browser_.get(), &PreviewWindow::pageNote, this,
            [this](const QString& text) { appendErrorLine(text); });
    // "Back to Preview" is a click of "Update Preview", with all its effects.
    connect(browser_.get(), &PreviewWindow::backToPreviewClicked, btnUpdatePreview_,
            &QAbstractButton::click);
    nudgeBurst_.setSingleShot(true);
    nudgeBurst_.setInterval(kNudgeBurstMs);
    connect(&nudgeBurst_, &QTimer::timeout, this, [this] { ops_.history().closeStep(); });
    // The page's own widgets get the keys first; the application sees them before any of them.
    QCoreApplication::instance()->installEventFilter(this);
    // The preview window is up from the start, empty until the first project is shown.
    browser_->show();
}

PreviewController::~PreviewController() {
    QCoreApplication::instance()->removeEventFilter(this);
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
    const ProjectSettings& settings = ops_.project().settings;
    const std::string path = JoinPath(settings.projectFolder, settings.templateFileName);
    browser_->setAllowedRoot(allowedRootFor(toQ(settings.projectFolder)));
    browser_->navigatePreview(QUrl::fromLocalFile(toQ(path)));
}

void PreviewController::runPreviewScript(const QString& code) {
    browser_->runScript(code);
}

void PreviewController::showPreviewWindow() {
    if (browser_->isMinimized())
        browser_->showNormal();
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

bool PreviewController::refresh() {
    Status saved;
    {
        BusyCursor busy;
        const std::vector<int32_t> swapped = SwapDefaultCaptions(ops_.project());
        if (!swapped.empty() && captionSwapHook_)
            captionSwapHook_(swapped);
        saved = SaveScript(ops_.project(), true);
    }
    // The error box comes after the busy cursor is gone.
    if (!ops_.report(saved))
        return false;
    navigatePreview();
    showPreviewWindow();
    return true;
}

void PreviewController::refreshPreview() {
    refresh();
}

void PreviewController::scrollPreviewTo(int32_t index) {
    const Project& table = ops_.project();
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

void PreviewController::selectInPreview(int32_t row) {
    Project& table = ops_.project();
    // An empty list reports no row; the selection must keep naming a row of the table.
    if (!table.isRow(row))
        return;
    table.selected = row;
    ops_.showMenuProperties(row);
    runPreviewScript(QStringLiteral("Qloom.ySetSel(%1,0)").arg(row));
    scrollPreviewTo(row);
}

bool PreviewController::previewMarkedStale() const {
    const QFont font = btnUpdatePreview_->font();
    return font.bold() && !font.italic() && !font.underline() && !font.strikeOut();
}

void PreviewController::setStaleMark(bool stale) {
    QFont font = btnUpdatePreview_->font();
    font.setBold(stale);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    btnUpdatePreview_->setFont(font);
    btnUpdatePreview_->setIcon(ExclamationGlyph(stale ? Qt::red : Qt::black));
}

void PreviewController::markPreviewStale() {
    if (ops_.project().settings.projectFolder.empty() || previewMarkedStale())
        return;
    setStaleMark(true);
}

void PreviewController::markPreviewCurrent() {
    const QFont font = btnUpdatePreview_->font();
    if (!font.bold() && !font.italic() && !font.underline() && !font.strikeOut())
        return;
    setStaleMark(false);
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
    txtJS_Errors_->appendPlainText(line);
}

void PreviewController::handleIdeCommand(const std::string& title) {
    // A finished drag is a step of the project history like any other edit.
    const TitleCommand command = ParseTitleCommand(title);
    if (command.kind == TitleCommand::Kind::Move) {
        recordMove(command.index, command.x, command.y, false);
        return;
    }
    const TitleAction action = ApplyTitleCommand(ops_.project(), title);
    switch (action.kind) {
    case TitleAction::Kind::None:
        break;
    case TitleAction::Kind::ShowRow:
        ops_.showMenuProperties(action.row);
        break;
    case TitleAction::Kind::AppendError:
        appendErrorLine(toQ(action.text));
        break;
    case TitleAction::Kind::ReportError:
        // The page sent it, not the user: a box per bad title would let a page stack boxes.
        appendErrorLine(toQ(msg::Format(msg::kPreviewBadCommand, action.text)));
        break;
    }
}

bool PreviewController::recordMove(int32_t row, int32_t x, int32_t y, bool nudge) {
    ProjectHistory& history = ops_.history();
    if (!nudge) {
        nudgeBurst_.stop();
        history.closeStep();
    }
    if (!history.record(ProjectEdit::move(ops_.project(), row, x, y), nudge))
        return false; // not a row of the table: nothing changes
    if (!nudge)
        history.closeStep();
    ops_.showMenuProperties(row);
    return true;
}

void PreviewController::nudgeSelected(int32_t dx, int32_t dy) {
    const Project& table = ops_.project();
    const int32_t row = table.selected;
    if (!table.isRow(row) ||
        !recordMove(row, Nudged(table.menus[row].left, dx), Nudged(table.menus[row].top, dy), true))
        return;
    showMovedMenu(row);
    scrollPreviewTo(row);
    nudgeBurst_.start();
}

void PreviewController::selectNextMenu(int step) {
    const Project& table = ops_.project();
    if (table.menuCount() <= 0)
        return;
    const int32_t from = table.isRow(table.selected) ? table.selected : 0;
    ops_.selectInPreview((from + step % table.menuCount() + table.menuCount()) % table.menuCount());
}

void PreviewController::showMovedMenu(int32_t row) {
    const Project& table = ops_.project();
    if (!table.isRow(row))
        return;
    runPreviewScript(QStringLiteral("Qloom.yMoveMenu(%1,%2,%3);Qloom.ySetSel(%1,0)")
                         .arg(row)
                         .arg(table.menus[size_t(row)].left)
                         .arg(table.menus[size_t(row)].top));
}

bool PreviewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != browser_.get())
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

void PreviewController::btnShowPreviewClick() {
    // Through the box's own handler, so the main window leaves the always-on-top state.
    if (chkStayOnTop_ && chkStayOnTop_->isChecked())
        chkStayOnTop_->click();
    showPreviewWindow();
}

void PreviewController::btnUpdatePreviewClick() {
    if (!refresh())
        return;
    scrollPreviewTo(ops_.project().selected);
    markPreviewCurrent();
}

void PreviewController::txtJS_ErrorsChange() {
    logDirty_ = true;
    // Started by the first unsaved error, not restarted by later ones: a steady stream of
    // errors is still written once per interval.
    if (!logTimer_.isActive())
        logTimer_.start();
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
    const std::vector<std::string> lines = SplitListLines(fromQ(PlainTextOf(txtJS_Errors_)));
    const std::string path = fromQ(scriptErrorLogPath());
    const Status written = WriteScriptErrorLog(path, lines);
    if (written.ok) {
        for (const std::string& line : lines)
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
