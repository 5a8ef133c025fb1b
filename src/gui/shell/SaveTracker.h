#pragma once

// What the autosave knows of the script on disk: the project as it was when last written, by the
// autosave or by any other save. Its saves compose the preview variant from a copy of the
// project, so that the caption swap every save makes stays out of the project the user is
// editing (as it did before: the autosave never changed what the editor shows).

#include "model/Project.h"
#include "model/Result.h"

namespace qloom {

class SaveTracker {
public:
    enum class Outcome {
        Unchanged, // nothing to do: no active project, no change, or the file holds these bytes
        Written,   // the preview variant replaced the file
        Failed,    // the write failed (see the status); the old file is untouched
    };

    // True when an active project differs from the one last written.
    bool changedSince(const Project& project) const;
    // `project`, as it is now, has just been written (a save of either variant).
    void noteSaved(const Project& project);
    // When `project` changed since it was last written: composes the preview variant from a
    // copy and writes it, atomically, unless the file holds exactly those bytes already. After a
    // failed write the project still counts as changed, so the next call tries again.
    Outcome save(const Project& project, Status* failure = nullptr);

private:
    bool known_ = false;
    Project written_; // the project as last written
    Project scratch_; // the copy whose default captions are swapped before it is written
};

} // namespace qloom
