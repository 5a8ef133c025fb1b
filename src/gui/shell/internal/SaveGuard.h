#pragma once

// What stands between qLoom and the project folder while a project is open, so that nothing
// another program put there is written over silently: the project's lock, the fingerprint of
// the script as qLoom last read or wrote it, and the identity of the folder. Every save asks
// check() first; what the window does about each answer is its business.

#include "model/Result.h"
#include "script/FileFingerprint.h"
#include "script/ProjectLock.h"

#include <string>

namespace qloom {

class SaveGuard {
public:
    enum class Verdict {
        Write,         // the script on disk is the one qLoom last read or wrote (or is gone)
        ChangedOnDisk, // another program changed the script since
        FolderGone,    // the folder was renamed, moved or deleted (or another took its place)
        ReadOnly,      // the script may not be written (see Finding::why)
        LockLost,      // another qLoom took the project over
    };
    struct Finding {
        Verdict verdict = Verdict::Write;
        // For ReadOnly, the text to show: "Not saved: X is read-only: " and the system's reason,
        // with the script's path. Success for the other verdicts, whose questions need no
        // reason from the system.
        Status why;
    };

    SaveGuard() = default;
    ~SaveGuard();
    SaveGuard(const SaveGuard&) = delete;
    SaveGuard& operator=(const SaveGuard&) = delete;

    // A project folder is being opened or created: takes its lock (taking it from its holder
    // when `takeOver`) and removes the crash leftovers of earlier saves. The attempt tells who
    // holds it when another running program does; a folder without a lock (one qLoom cannot
    // write into) is still opened.
    ProjectLock::Attempt claim(const std::string& folder, bool takeOver = false);
    // The project is closed: the lock and everything known of the folder go.
    void release();

    // The script and the folder, as they are on disk now, are what qLoom has: it has just read
    // or written them.
    void noteOnDisk();

    Finding check() const;
    // A cheap look at the metadata alone (no read): true when anything at all may have changed.
    bool mayHaveChanged() const;

    bool active() const { return !folder_.empty(); }
    const std::string& folder() const { return folder_; }
    std::string scriptPath() const;
    bool lockHeld() const { return lock_.held(); }
    // Where the folder is now when it was renamed or moved while open; empty when it was
    // deleted or cannot be found.
    std::string whereFolderWent() const;

    // Keeps `bytes` (qLoom's own version, given up for another program's) beside the script as
    // "Qloomscript-mine-YYYYMMDD-HHMMSS.js"; returns its path, or why it could not be written.
    Expected<std::string> keepCopyBeside(const std::string& bytes) const;

private:
    // What the folder's path names now; no identity (exists false) when nothing can be found
    // there.
    FileIdentity folderNow() const;

    ProjectLock lock_;
    std::string folder_;
    FileIdentity folderId_;
    FileFingerprint script_;
    int folderFd_ = -1; // follows the folder wherever it is moved
};

} // namespace qloom
