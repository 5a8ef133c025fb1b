#include "gui/shell/ProjectSession.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UserSettings.h"
#include "gui/shell/AutoSaver.h"
#include "gui/shell/ProjectFolders.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

namespace qloom::gui {

ProjectSession::ProjectSession(QWidget* window, QObject* parent)
    : ProjectSessionApi(parent), window_(window), history_(new ProjectHistory(project_, this)),
      autoSaver_(new AutoSaver([this] { autosave(); }, this)),
      prompter_(std::make_unique<BoxPrompter>()) {
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
    const std::string problem = PrepareNewProjectFolder(folder);
    if (!problem.empty()) {
        prompter_->message(parent, toQ(problem));
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
    createProject(folder);
    return NewOutcome::Created;
}

bool ProjectSession::openProject(const std::string& folder, QWidget* boxParent) {
    QWidget* parent = boxParent ? boxParent : window_;
    const std::string file = JoinPath(folder, kScriptFileName);
    if (!FileExists(file)) {
        prompter_->message(parent, uiText(msg::kScriptNotFound));
        return false;
    }
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
    dirty_ = true;
    Q_EMIT projectReplaced();
    // Opening shows the project as it is: the preview that follows is current.
    setPreviewStale(false);
    return true;
}

bool ProjectSession::save(bool forPreview) {
    Status status;
    {
        const BusyCursor busy;
        swapDefaultCaptions();
        status = SaveScript(project_, forPreview, *writeFaults_);
    }
    if (status) {
        // The final variant must stay on disk until the project changes again.
        tracker_.noteSaved(project_);
        dirty_ = false;
        autoSaver_->noteSaved();
        Q_EMIT saved(forPreview);
        return true;
    }
    Q_EMIT saveFailed(toQ(status.message));
    return report(status);
}

bool ProjectSession::finalize() {
    Status status;
    {
        const BusyCursor busy;
        swapDefaultCaptions();
        status = FinalizeProject(project_, *writeFaults_);
    }
    if (status) {
        tracker_.noteSaved(project_);
        dirty_ = false;
        autoSaver_->noteSaved();
        Q_EMIT saved(false);
        return true;
    }
    Q_EMIT saveFailed(toQ(status.message));
    return report(status);
}

SaveTracker::Outcome ProjectSession::autosave() {
    if (!dirty_)
        return SaveTracker::Outcome::Unchanged;
    dirty_ = false;
    // Shown nowhere: a save that fails here fails again, and is reported, at the next save the
    // user makes or at the close.
    return tracker_.save(project_);
}

void ProjectSession::stopAutosave() {
    autoSaver_->stop();
}

Status ProjectSession::recordLastEdited() {
    const std::string& folder = project_.settings.projectFolder;
    QString store;
    if (folder.empty() || UserSettings::setValue(UserSettings::kLastEdited, toQ(folder), &store))
        return Status::success();
    return Status::failure(msg::Format(msg::kCannotCreateFile, fromQ(store)));
}

} // namespace qloom::gui
