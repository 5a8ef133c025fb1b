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

namespace qloom::gui {

class AutoSaver;

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
    bool savePreview() override { return save(true); }
    bool previewStale() const override { return stale_; }
    void setPreviewStale(bool stale) override;
    bool report(const Status& status) override;
    void setHelpAvailable(bool available) override;
    void showHelp() override;

    // Tests put in a prompter that records the texts and gives prepared answers.
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

    // Writes the preview or the final variant now, reporting a failure. True on success.
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

private:
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
};

} // namespace qloom::gui
