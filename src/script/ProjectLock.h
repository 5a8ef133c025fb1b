#pragma once

// One editor per project. While qLoom has a project open it holds an exclusive lock on the lock
// file `.qloom.lock` in the project folder (flock, so the kernel lets go when the holder ends in
// any way, a crash included, and a lock left behind by a dead process is never in the way). The
// file names the holder: program, host, process, user and since when, for the message a second
// editor shows. qloom and qloom-cli use the same lock.
//
// Taking over removes the holder's lock file and makes a new one; the old holder notices that
// its file is no longer the one at the path (held() turns false) before its next save.

#include "model/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qloom {

inline constexpr std::string_view kLockFileName = ".qloom.lock";

struct LockHolder {
    std::string program;
    std::string host;
    int64_t pid = 0;
    std::string user;
    int64_t since = 0; // seconds since 1970, UTC
};

// "qloom (process 4711 on host \"desk\", user anna) since 2026-12-07 17:03" in local time.
std::string DescribeHolder(const LockHolder& holder);

// The host name of this machine, as the lock file records it.
std::string ThisHost();

class ProjectLock {
public:
    enum class State {
        Acquired,    // this object holds the lock
        HeldByOther, // a running process holds it (see holder)
        Unavailable, // no lock could be made (a folder qLoom cannot write into; see status)
    };
    struct Attempt {
        State state = State::Unavailable;
        LockHolder holder;
        // Why there is no lock when Unavailable ("Cannot lock the project folder X: reason",
        // with the folder); success otherwise.
        Status status;
    };

    ProjectLock() = default;
    ~ProjectLock();
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    // Locks `folder` for `program`, releasing any lock this object held before.
    Attempt acquire(const std::string& folder, std::string_view program);
    // Takes the lock away from whoever holds it now, then locks as acquire() does.
    Attempt takeOver(const std::string& folder, std::string_view program);
    // True while the lock file at the path is still this object's, locked (false after a take
    // over, or when the folder was renamed or removed).
    bool held() const;
    // Removes the lock file (when it is still this object's) and lets go of the lock.
    void release();
    const std::string& folder() const { return folder_; }

    // Who holds `folder`'s lock, when a running process does; nothing for a free folder or a
    // lock file left behind by a process that is gone.
    static std::optional<LockHolder> Probe(const std::string& folder);

private:
    int fd_ = -1;
    std::string folder_;
    std::string path_;
};

} // namespace qloom
