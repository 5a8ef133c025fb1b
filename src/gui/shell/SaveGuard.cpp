#include "gui/shell/internal/SaveGuard.h"

#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qloom {

SaveGuard::~SaveGuard() {
    release();
}

ProjectLock::Attempt SaveGuard::claim(const std::string& folder, bool takeOver) {
    release();
    ProjectLock::Attempt attempt =
        takeOver ? lock_.takeOver(folder, "qloom") : lock_.acquire(folder, "qloom");
    if (attempt.state == ProjectLock::State::HeldByOther)
        return attempt;
    folder_ = folder;
    // Only now: the leftovers of a running qLoom's save are its own, and it holds the lock.
    RemoveLeftoverSaves(folder);
    folderFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    noteOnDisk();
    return attempt;
}

void SaveGuard::release() {
    lock_.release();
    folder_.clear();
    folderId_ = {};
    script_ = {};
    if (folderFd_ >= 0)
        ::close(folderFd_);
    folderFd_ = -1;
}

std::string SaveGuard::scriptPath() const {
    return JoinPath(folder_, kScriptFileName);
}

void SaveGuard::noteOnDisk() {
    if (folder_.empty())
        return;
    folderId_ = folderNow();
    const Expected<FileFingerprint> read = FingerprintFile(scriptPath());
    script_ = read ? *read : StatFingerprint(scriptPath());
}

FileIdentity SaveGuard::folderNow() const {
    const Expected<FileIdentity> identity = IdentityOf(folder_);
    return identity ? *identity : FileIdentity{};
}

SaveGuard::Finding SaveGuard::check() const {
    if (folder_.empty())
        return {};
    if (folderNow() != folderId_)
        return {Verdict::FolderGone, {}};
    if (folderId_.exists && lock_.folder() == folder_ && !lock_.held())
        return {Verdict::LockLost, {}};
    const std::string script = scriptPath();
    if (Status writable = CheckFileWritable(script, msg::Format(msg::kNotSavedReadOnly, script));
        !writable)
        return {Verdict::ReadOnly, std::move(writable)};
    const DiskChange change = CheckFile(script, script_);
    // A script removed by someone else is written again: nothing of theirs is lost by that.
    if (change == DiskChange::Changed || change == DiskChange::Unreadable)
        return {Verdict::ChangedOnDisk, {}};
    return {};
}

bool SaveGuard::mayHaveChanged() const {
    if (folder_.empty())
        return false;
    if (folderNow() != folderId_)
        return true;
    const FileFingerprint now = StatFingerprint(scriptPath());
    return now.identity != script_.identity || now.size != script_.size ||
           now.modifiedNs != script_.modifiedNs;
}

std::string SaveGuard::whereFolderWent() const {
    if (folderFd_ < 0)
        return {};
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(folderFd_);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0)
        return {};
    std::string path(target, static_cast<size_t>(n));
    // A deleted folder's link ends in " (deleted)", and its files are gone with it.
    if (path.size() > 10 && path.compare(path.size() - 10, 10, " (deleted)") == 0)
        return {};
    return path;
}

Expected<std::string> SaveGuard::keepCopyBeside(const std::string& bytes) const {
    const time_t now = ::time(nullptr);
    tm local{};
    char stamp[32] = {};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string path = JoinPath(folder_, std::string("Qloomscript-mine-") + stamp + ".js");
    if (Status written = WriteNewFile(path, bytes); !written)
        return written;
    return path;
}

} // namespace qloom
