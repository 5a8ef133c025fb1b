#include "gui/shell/ProjectSession.h"

#include "gui/common/BoxPrompter.h"
#include "gui/common/BusyCursor.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UserSettings.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/internal/AutoSaver.h"
#include "gui/shell/internal/DiskWatch.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "gui/shell/internal/SaveGuard.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ProjectLock.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qloom::gui {

ProjectSession::ProjectSession(QWidget* window, QObject* parent)
    : ProjectSessionApi(parent), window_(window), history_(new ProjectHistory(project_, this)),
      autoSaver_(new AutoSaver([this] { autosave(); }, this)),
      prompter_(std::make_unique<BoxPrompter>()),
      diskWatch_(new DiskWatch([this] { return guard_ && guard_->mayHaveChanged(); }, this)),
      channel_(new InstanceChannel(this)) {
    connect(diskWatch_, &DiskWatch::lookNeeded, this, &ProjectSession::lookAtDisk);
    history_->setRestoredHandler([this](const ProjectEdit& edit) { Q_EMIT restored(edit); });
    connect(history_, &ProjectHistory::changed, this, [this](const ProjectEdit& edit) {
        noteChange();
        Q_EMIT menusChanged(edit);
    });
}

ProjectSession::~ProjectSession() = default;

void ProjectSession::setPrompter(std::unique_ptr<Prompter> prompter) {
    prompter_ = std::move(prompter);
}

void ProjectSession::setHelpHooks(std::function<void(bool)> setAvailable,
                                  std::function<void()> show) {
    setHelpAvailable_ = std::move(setAvailable);
    showHelp_ = std::move(show);
}

QString ProjectSession::folder() const {
    return toQ(project_.settings.projectFolder);
}

void ProjectSession::noteChange() {
    dirty_ = true;
    autoSaver_->noteChange();
}

bool ProjectSession::edit(ProjectEdit edit, bool mergeable) {
    return history_->record(std::move(edit), mergeable);
}

void ProjectSession::select(int32_t row, SelectionSource source) {
    // An empty list reports no row; the selection must keep naming a row of the table.
    if (!project_.isRow(row))
        return;
    if (project_.selected != row) {
        project_.selected = row;
        noteChange();
    }
    Q_EMIT selectionChanged(row, source);
}

void ProjectSession::setPreviewStale(bool stale) {
    if (stale && !hasProject())
        return;
    if (stale_ == stale)
        return;
    stale_ = stale;
    Q_EMIT previewStaleChanged(stale_);
}

bool ProjectSession::report(const Status& status) {
    if (!status.ok)
        prompter_->error(window_, toQ(status.message));
    return status.ok;
}

void ProjectSession::setHelpAvailable(bool available) {
    if (setHelpAvailable_)
        setHelpAvailable_(available);
}

void ProjectSession::showHelp() {
    if (showHelp_)
        showHelp_();
}

void ProjectSession::swapDefaultCaptions() {
    // An edit of the session's own, made right before every save composes the script: the
    // editor shows the swapped caption of its row without recording it as the user's edit.
    for (int32_t row : SwapDefaultCaptions(project_))
        Q_EMIT captionSwapped(row);
}

void ProjectSession::createProject(const std::string& folder) {
    project_.settings.projectFolder = folder;
    project_.settings.resetToNewProject();
    ClearMenus(project_);
    history_->clear();
    dirty_ = true;
    Q_EMIT projectReplaced();
}

ProjectSession::NewOutcome ProjectSession::newProjectIn(const std::string& folder,
                                                        QWidget* boxParent) {
    QWidget* parent = boxParent ? boxParent : window_;
    if (const Status prepared = PrepareNewProjectFolder(folder); !prepared) {
        prompter_->message(parent, toQ(prepared.message));
        return NewOutcome::Failed;
    }
    if (FileExists(JoinPath(folder, kScriptFileName))) {
        const auto answer = prompter_->question(parent, uiText(msg::kScriptExistsCaption),
                                                uiText(msg::kScriptExistsQuestion),
                                                QMessageBox::Warning, QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            return openProject(folder, boxParent) ? NewOutcome::Opened : NewOutcome::Failed;
        // Only an explicit "No" overwrites; Escape or closing the box calls the New off.
        if (answer != QMessageBox::No)
            return NewOutcome::Failed;
    }
    auto guard = claimProject(folder, parent);
    if (!guard)
        return NewOutcome::Failed;
    createProject(folder);
    adoptProject(std::move(guard), parent);
    return NewOutcome::Created;
}

bool ProjectSession::openProject(const std::string& folder, QWidget* boxParent) {
    QWidget* parent = boxParent ? boxParent : window_;
    const std::string file = JoinPath(folder, kScriptFileName);
    if (!FileExists(file)) {
        // "Not found" only when it is not there: a folder that cannot be read, or a folder where
        // the script should be, says what the system says.
        struct stat info {};
        const int error = ::stat(file.c_str(), &info) != 0 ? errno : EISDIR;
        if (error == ENOENT)
            prompter_->message(parent, uiText(msg::kScriptNotFound));
        else
            prompter_->message(
                parent, toQ(msg::Format(msg::kCannotOpenFile, file) + ": " + std::strerror(error)));
        return false;
    }
    // Locked before it is read: another window's next save would otherwise go unnoticed.
    auto guard = claimProject(folder, parent);
    if (!guard)
        return false;
    LoadResult loaded;
    {
        const BusyCursor busy;
        loaded = LoadProject(file, project_);
    }
    // The reader's messages in the order it found them, one box each, once the busy cursor is
    // gone.
    for (const std::string& text : loaded.messages)
        prompter_->message(parent, toQ(text));
    if (loaded.outcome == LoadOutcome::Error)
        prompter_->error(parent, toQ(loaded.status.message));
    if (loaded.outcome != LoadOutcome::Loaded)
        return false;
    history_->clear();
    project_.settings.projectFolder = folder;
    adoptProject(std::move(guard), parent);
    dirty_ = true;
    Q_EMIT projectReplaced();
    // Opening shows the project as it is: the preview that follows is current.
    setPreviewStale(false);
    return true;
}

bool ProjectSession::save(bool forPreview) {
    return write(forPreview) == SaveOutcome::Written;
}

void ProjectSession::noteWritten(bool forPreview) {
    // The final variant must stay on disk until the project changes again.
    tracker_.noteSaved(project_);
    dirty_ = false;
    autoSaver_->noteSaved();
    setSaveWarning(QString());
    Q_EMIT saved(forPreview);
}

ProjectSession::SaveOutcome ProjectSession::write(bool forPreview) {
    if (!mayWrite(true))
        return SaveOutcome::Withheld;
    Status status;
    {
        const BusyCursor busy;
        swapDefaultCaptions();
        status = SaveScript(project_, forPreview, *writeFaults_);
    }
    if (guard_)
        guard_->noteOnDisk(); // written, or the old file untouched
    if (status) {
        noteWritten(forPreview);
        return SaveOutcome::Written;
    }
    setSaveWarning(toQ(msg::Format(msg::kNotSavedFailed, status.message)));
    Q_EMIT saveFailed(toQ(status.message));
    report(status);
    return SaveOutcome::Failed;
}

bool ProjectSession::finalize() {
    if (!mayWrite(true))
        return false;
    Status status;
    {
        const BusyCursor busy;
        swapDefaultCaptions();
        status = FinalizeProject(project_, *writeFaults_);
    }
    if (guard_)
        guard_->noteOnDisk();
    if (status) {
        noteWritten(false);
        return true;
    }
    setSaveWarning(toQ(msg::Format(msg::kNotSavedFailed, status.message)));
    Q_EMIT saveFailed(toQ(status.message));
    return report(status);
}

SaveTracker::Outcome ProjectSession::autosave() {
    if (!dirty_)
        return SaveTracker::Outcome::Unchanged;
    // Held back (another program's version, a read-only file, a moved folder): the change stays
    // waiting and is looked at again in a few seconds.
    if (!mayWrite(false)) {
        if (dirty_)
            autoSaver_->retryLater();
        return SaveTracker::Outcome::Unchanged;
    }
    Status failure;
    const SaveTracker::Outcome outcome = tracker_.save(project_, &failure);
    if (guard_)
        guard_->noteOnDisk();
    if (outcome == SaveTracker::Outcome::Failed) {
        // Marked unsaved until a write succeeds: the status line says why, and the write is
        // tried again every few seconds and at the next change.
        setSaveWarning(toQ(msg::Format(msg::kNotSavedFailed, failure.message)));
        autoSaver_->retryLater();
        return outcome;
    }
    dirty_ = false;
    setSaveWarning(QString());
    return outcome;
}

void ProjectSession::stopAutosave() {
    autoSaver_->stop();
}

Status ProjectSession::recordLastEdited() {
    const std::string& folder = project_.settings.projectFolder;
    if (folder.empty())
        return Status::success();
    return UserSettings::setValue(UserSettings::kLastEdited, toQ(folder));
}

// --- Sharing the project folder with other programs.

std::unique_ptr<SaveGuard> ProjectSession::claimProject(const std::string& folder, QWidget* asker) {
    QWidget* parent = asker ? asker : window_;
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
    const std::string holder = DescribeHolder(attempt.holder);
    if (prompter_->choose(parent, toQ(msg::Format(msg::kProjectLockedQuestion, holder)),
                          QMessageBox::Warning, {toQ(msg::kTakeOver)}, -1) != 0)
        return nullptr;
    if (prompter_->question(parent, toQ(msg::kAppTitle), toQ(msg::kTakeOverWarning),
                            QMessageBox::Warning, QMessageBox::No) != QMessageBox::Yes)
        return nullptr;
    attempt = guard->claim(folder, true);
    if (attempt.state == ProjectLock::State::HeldByOther)
        return nullptr;
    return guard;
}

void ProjectSession::adoptProject(std::unique_ptr<SaveGuard> guard, QWidget* asker) {
    guard_ = std::move(guard);
    conflictPending_ = false;
    folderGonePending_ = false;
    readOnlyTold_ = false;
    setSaveWarning(QString());
    if (!guard_)
        return;
    guard_->noteOnDisk();
    tracker_.noteSaved(project_); // the project is the file on disk, whatever the next save does
    const QString folder = toQ(guard_->folder());
    diskWatch_->follow(folder, toQ(guard_->scriptPath()));
    channel_->listenFor(folder);
    const std::string script = guard_->scriptPath();
    if (const Status writable =
            CheckFileWritable(script, msg::Format(msg::kNotSavedReadOnly, script));
        !writable) {
        readOnlyTold_ = true;
        setSaveWarning(toQ(writable.message));
        prompter_->message(asker ? asker : window_,
                           toQ(msg::Format(msg::kReadOnlyNote, guard_->scriptPath())));
    }
}

void ProjectSession::setSaveWarning(const QString& warning) {
    if (warning == saveWarning_)
        return;
    saveWarning_ = warning;
    Q_EMIT saveWarningChanged(saveWarning_);
}

bool ProjectSession::nothingOwnToWrite() const {
    return guard_ && !hasUnsavedChange() && guard_->check().verdict != SaveGuard::Verdict::Write;
}

bool ProjectSession::mayWrite(bool explicitSave) {
    if (!guard_ || !guard_->active())
        return true;
    if (asking_)
        return false;
    const SaveGuard::Finding finding = guard_->check();
    switch (finding.verdict) {
    case SaveGuard::Verdict::Write:
        conflictPending_ = false;
        folderGonePending_ = false;
        return true;
    case SaveGuard::Verdict::ReadOnly: {
        const std::string& text = finding.why.message;
        setSaveWarning(toQ(text));
        if (!explicitSave || std::exchange(readOnlyTold_, false))
            return false;
        // The way out besides making the file writable: the whole project in another folder.
        asking_ = true;
        const bool choose =
            prompter_->choose(window_, toQ(text + "\r\n\r\n" + std::string(msg::kSaveElsewhere)),
                              QMessageBox::Warning, {toQ(msg::kChooseFolder)}, -1) == 0;
        const QString target =
            choose ? QFileDialog::getExistingDirectory(window_, toQ(msg::kChooseFolder),
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
            prompter_->error(window_, toQ(msg::kLockLost));
        return false;
    case SaveGuard::Verdict::FolderGone:
        return handleFolderGone(explicitSave);
    case SaveGuard::Verdict::ChangedOnDisk:
        if (!hasUnsavedChange()) {
            reloadFromDisk(toQ(msg::Format(msg::kReloadedNote, guard_->scriptPath())));
            return false;
        }
        if (conflictPending_ && !explicitSave)
            return false;
        return resolveConflict();
    }
    return false;
}

void ProjectSession::lookAtDisk() {
    // A question already up answers for this change too; one that a dialog holds back is asked
    // at the next look (the poll keeps looking while the file differs).
    if (!guard_ || asking_ || QApplication::activeModalWidget() ||
        (window_ && !window_->isEnabled()))
        return;
    mayWrite(false);
}

void ProjectSession::reloadFromDisk(const QString& note) {
    const std::string folder = guard_->folder();
    LoadResult loaded;
    {
        const BusyCursor busy;
        loaded = LoadProject(guard_->scriptPath(), project_);
    }
    for (const std::string& text : loaded.messages)
        prompter_->message(window_, toQ(text));
    if (loaded.outcome != LoadOutcome::Loaded) {
        // Their file is not a project this program can read: nothing is written over it.
        conflictPending_ = true;
        setSaveWarning(toQ(msg::Format(msg::kNotSavedConflict, guard_->scriptPath())));
        return;
    }
    project_.settings.projectFolder = folder;
    history_->clear();
    guard_->noteOnDisk();
    tracker_.noteSaved(project_);
    dirty_ = false;
    autoSaver_->noteSaved();
    conflictPending_ = false;
    saveWarning_.clear();
    Q_EMIT projectReplaced();
    setPreviewStale(false);
    // The preview shows their version; it is written again as the preview variant, with the
    // same menus, as opening a project does.
    Q_EMIT shownAgain(note);
}

bool ProjectSession::resolveConflict() {
    const std::string script = guard_->scriptPath();
    asking_ = true;
    const int answer =
        prompter_->choose(window_, toQ(msg::Format(msg::kChangedOnDiskQuestion, script)),
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
        prompter_->error(window_, toQ(copy.status().message));
        return false;
    }
    reloadFromDisk(toQ(msg::Format(msg::kKeptCopyNote, *copy)));
    return false;
}

bool ProjectSession::handleFolderGone(bool explicitSave) {
    if (folderGonePending_ && !explicitSave)
        return false;
    const std::string folder = guard_->folder();
    const std::string went = guard_->whereFolderWent();
    std::string text = msg::Format(msg::kFolderGoneQuestion, folder);
    if (!went.empty() && went != folder)
        text += msg::Format(msg::kFolderNowAt, went);
    asking_ = true;
    const int answer = prompter_->choose(window_, toQ(text), QMessageBox::Warning,
                                         {toQ(msg::kSaveToOldPlace), toQ(msg::kChooseFolder)}, 0);
    std::string target;
    if (answer == 0) {
        target = folder;
    } else if (answer == 1) {
        target = fromQ(QFileDialog::getExistingDirectory(window_, toQ(msg::kChooseFolder),
                                                         toQ(FolderOf(folder))));
    }
    asking_ = false;
    if (target.empty()) {
        holdSavesForGoneFolder();
        return false;
    }
    saveWholeProjectTo(StripTrailingBackslash(target), went);
    return false;
}

void ProjectSession::holdSavesForGoneFolder() {
    // Autosaves stop asking until the user saves on purpose; the status line says why.
    folderGonePending_ = true;
    setSaveWarning(toQ(msg::Format(msg::kNotSavedFolderGone, guard_->folder())));
}

void ProjectSession::saveWholeProjectTo(const std::string& target, const std::string& from) {
    // Another project's script is not replaced by this one.
    if (target != guard_->folder() && FileExists(JoinPath(target, kScriptFileName))) {
        holdSavesForGoneFolder();
        prompter_->error(window_, toQ(msg::Format(msg::kFolderHoldsProject, target)));
        return;
    }
    // A folder that is there already is as good as a new one: whether the project can be kept
    // there is asked below.
    (void)MakeProjectFolder(target);
    if (!IsWritableFolder(target)) {
        holdSavesForGoneFolder();
        prompter_->error(window_, toQ(CannotUseFolderText(target)));
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
    auto guard = claimProject(target, window_);
    if (!guard) {
        holdSavesForGoneFolder();
        return;
    }
    const bool unsaved = hasUnsavedChange();
    project_.settings.projectFolder = target;
    adoptProject(std::move(guard), window_);
    dirty_ = dirty_ || unsaved;
    Q_EMIT shownAgain(QString());
}

Status ProjectSession::finalSaveOnEnd() {
    const SaveGuard::Verdict verdict = guard_ ? guard_->check().verdict : SaveGuard::Verdict::Write;
    if (verdict == SaveGuard::Verdict::Write) {
        swapDefaultCaptions();
        return SaveScript(project_, false, *writeFaults_);
    }
    if (!hasUnsavedChange())
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
