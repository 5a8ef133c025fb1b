#pragma once

// The open project and everything that belongs to it: the project itself (menus, settings and
// folder), its undo history, the autosave, the save state and the boxes. It is the one object
// that writes the project to disk; the main window, the editor, the preview and the dialogs ask
// it (through ProjectSessionApi below the shell) and follow its signals.
//
// The path of one edit: a key press in the editor -> edit() -> ProjectHistory::record() ->
// menusChanged -> the editor shows it, the preview is marked stale, the autosave notes the
// change -> within two seconds the preview variant is written (only when its bytes differ from
// the file) -> "Update Preview" saves and reloads the page.

#include "gui/common/ProjectSessionApi.h"
#include "gui/common/Prompter.h"
#include "gui/shell/SaveTracker.h"
#include "script/FileIo.h"

#include <functional>
#include <memory>

namespace qloom {
class SaveGuard;
}

namespace qloom::gui {

class AutoSaver;
class DiskWatch;
class InstanceChannel;

class ProjectSession final : public ProjectSessionApi {
    Q_OBJECT
public:
    // `window` is the main window: boxes and dialogs of the project belong to it.
    explicit ProjectSession(QWidget* window, QObject* parent = nullptr);
    ~ProjectSession() override;

    // ProjectSessionApi.
    const Project& project() const override { return project_; }
    ProjectHistory& history() override { return *history_; }
    QWidget* window() const override { return window_; }
    Prompter& prompter() override { return *prompter_; }
    bool edit(ProjectEdit edit, bool mergeable = false) override;
    void select(int32_t row, SelectionSource source) override;
    // A save withheld because of another program's change still lets the preview show the file.
    bool savePreview() override { return write(true) != SaveOutcome::Failed; }
    bool previewStale() const override { return stale_; }
    void setPreviewStale(bool stale) override;
    bool report(const Status& status) override;
    void setHelpAvailable(bool available) override;
    void showHelp() override;

    // The real boxes until replaced: by the ending program's (which writes to standard error),
    // by the test program's scripted answers, or by a test's prompter that records the texts.
    void setPrompter(std::unique_ptr<Prompter> prompter);
    // Tests make the writes of the saves fail; `faults` must outlive the session.
    void setWriteFaults(const WriteFaults& faults) { writeFaults_ = &faults; }
    // How the main window greys its help button and opens the help page.
    void setHelpHooks(std::function<void(bool)> setAvailable, std::function<void()> show);

    bool hasProject() const { return !project_.settings.projectFolder.empty(); }
    QString folder() const;

    // A new, empty project with the new-project settings in `folder` (which exists). Nothing is
    // written yet: the caller shows the preview, which saves it.
    void createProject(const std::string& folder);
    // Opens the project in `folder`: false, after its message (a box over `boxParent`), when the
    // folder holds no script or the script cannot be read; the open project then stays.
    bool openProject(const std::string& folder, QWidget* boxParent = nullptr);

    enum class NewOutcome { Created, Opened, Failed };
    // "New Menu Project" in `folder`: makes the folder (one level), and when it holds a project
    // already asks whether to open it (Yes) or overwrite it (No; anything else calls it off).
    NewOutcome newProjectIn(const std::string& folder, QWidget* boxParent = nullptr);

    // Writes the preview or the final variant now, reporting a failure. True on success; false
    // too when the check of the disk withheld the save (another program's change, a read-only
    // script, a moved folder: dealt with, and asked about, before).
    bool save(bool forPreview);
    // The final variant and ReadMe.txt, reporting a failure. True on success.
    bool finalize();
    // The autosave's work: writes the preview variant when the project changed since the last
    // write and the file does not hold those bytes already. Shows nothing.
    SaveTracker::Outcome autosave();
    // The program is ending: no more autosaves (the final variant stays on disk).
    void stopAutosave();
    // LastEdited := the active project's folder; a failure names the store's file.
    Status recordLastEdited();

    // Test access: changes the project behind the history's back, the way a fault would.
    Project& projectForTest() { return project_; }

    // --- Sharing the project folder with other programs.
    // Takes the lock of `folder` before its project is opened or created. When another running
    // program holds it, asks (in a box parented to `asker`) whether to take it over, warning
    // first; null when the user leaves it to the other program.
    std::unique_ptr<SaveGuard> claimProject(const std::string& folder, QWidget* asker);
    // The claimed project has been read (or created): from now on every save checks the folder
    // and the script against what is on disk now, the folder is watched, and a read-only script
    // is announced.
    void adoptProject(std::unique_ptr<SaveGuard> guard, QWidget* asker);
    InstanceChannel* instanceChannel() const { return channel_; }
    // A warning that stays in the status line until a save succeeds (empty: none).
    const QString& saveWarning() const { return saveWarning_; }
    // The project differs from what was last written.
    bool hasUnsavedChange() const { return tracker_.changedSince(project_); }
    // Closing would write nothing of its own over a file another program changed, a read-only
    // file or a moved folder: nothing would be saved that is not there already.
    bool nothingOwnToWrite() const;
    // The program ends without questions: what may not be written is kept beside it or reported.
    Status finalSaveOnEnd();

Q_SIGNALS:
    void saveWarningChanged(const QString& warning);
    // The project was read again from disk or moved to another folder: the preview shows it
    // anew, and `note` (when not empty) goes to the status line.
    void shownAgain(const QString& note);

private:
    enum class SaveOutcome { Written, Withheld, Failed };
    SaveOutcome write(bool forPreview);
    void noteWritten(bool forPreview);
    void setSaveWarning(const QString& warning);
    // Asked before every save: true when the file on disk is still the one qLoom last read or
    // wrote. Otherwise it deals with the change (reload, question, lasting warning) and says
    // false. `explicitSave` (the user asked for this save) repeats questions and error boxes
    // the user already answered or saw.
    bool mayWrite(bool explicitSave);
    void lookAtDisk();
    void reloadFromDisk(const QString& note);
    bool resolveConflict();
    bool handleFolderGone(bool explicitSave);
    void holdSavesForGoneFolder();
    void saveWholeProjectTo(const std::string& target, const std::string& from);
    void noteChange();
    // Swaps the default captions where the orientation asks, telling the editor of each row.
    void swapDefaultCaptions();

    QWidget* window_;
    Project project_;
    ProjectHistory* history_;
    AutoSaver* autoSaver_;
    SaveTracker tracker_;
    std::unique_ptr<Prompter> prompter_;
    const WriteFaults* writeFaults_ = &RealWrites();
    std::function<void(bool)> setHelpAvailable_;
    std::function<void()> showHelp_;
    bool stale_ = false;
    bool dirty_ = false;

    std::unique_ptr<SaveGuard> guard_;
    DiskWatch* diskWatch_;     // child of this session
    InstanceChannel* channel_; // child of this session
    QString saveWarning_;
    bool asking_ = false;            // a question about the disk is up
    bool conflictPending_ = false;   // the user postponed the choice between two versions
    bool folderGonePending_ = false; // the user postponed saving a moved project
    bool readOnlyTold_ = false;      // the note of opening said it; the first refusal is quiet
};

} // namespace qloom::gui
