#include "gui/shell/SaveTracker.h"

#include "script/FileIo.h"
#include "script/ScriptSaver.h"

#include <string>

namespace qloom {

bool SaveTracker::changedSince(const Project& project) const {
    if (project.settings.projectFolder.empty())
        return false;
    return !known_ || project.settings != written_.settings || !project.sameMenus(written_);
}

void SaveTracker::noteSaved(const Project& project) {
    written_.menus = project.menus;
    written_.selected = project.selected;
    written_.settings = project.settings;
    known_ = true;
}

SaveTracker::Outcome SaveTracker::save(const Project& project, Status* failure) {
    if (!changedSince(project))
        return Outcome::Unchanged;
    scratch_.menus = project.menus;
    scratch_.selected = project.selected;
    scratch_.settings = project.settings;
    // Every save swaps the default captions first; the autosave does it in its copy only.
    (void)SwapDefaultCaptions(scratch_);
    // The explicit saves write the same bytes for the same project, and opening a project
    // writes the preview variant at once: most changes the check sees are already on disk.
    std::string onDisk;
    if (ReadWholeFile(JoinPath(project.settings.projectFolder, kScriptFileName), onDisk) &&
        onDisk == AssembleScript(scratch_, true)) {
        noteSaved(project);
        return Outcome::Unchanged;
    }
    Status saved = SaveScript(scratch_, true);
    // Marked as written only once it is: a failed write leaves the change waiting, so the next
    // try writes it.
    if (saved) {
        noteSaved(project);
        return Outcome::Written;
    }
    if (failure)
        *failure = std::move(saved);
    return Outcome::Failed;
}

} // namespace qloom
