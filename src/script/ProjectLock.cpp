#include "script/ProjectLock.h"

#include "model/Messages.h"
#include "script/ScriptSaver.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qloom {

namespace {

Status cannotLock(const std::string& folder, int error) {
    return Status::systemFailure(msg::Format(msg::kCannotLockProject, folder), folder, error);
}

std::string readAllFrom(int fd) {
    std::string text;
    char buffer[1024];
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || text.size() > 4096)
            break;
        text.append(buffer, static_cast<size_t>(n));
        at += n;
    }
    return text;
}

LockHolder parseHolder(const std::string& text) {
    LockHolder holder;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "program")
            holder.program = value;
        else if (key == "host")
            holder.host = value;
        else if (key == "user")
            holder.user = value;
        else if (key == "pid")
            holder.pid = std::atoll(value.c_str());
        else if (key == "since")
            holder.since = std::atoll(value.c_str());
    }
    return holder;
}

std::string userName() {
    if (const passwd* entry = ::getpwuid(::geteuid()))
        return entry->pw_name;
    return std::to_string(::geteuid());
}

// Without kernel locks (some network file systems) the file's word is all there is: a holder on
// this host is alive while its process is; one on another host cannot be asked and counts as
// alive.
bool holderAlive(const LockHolder& holder) {
    if (holder.pid <= 0)
        return false;
    if (holder.host != ThisHost())
        return true;
    return ::kill(static_cast<pid_t>(holder.pid), 0) == 0 || errno == EPERM;
}

bool sameEntry(int fd, const std::string& path) {
    struct stat mine {};
    struct stat there {};
    return ::fstat(fd, &mine) == 0 && ::stat(path.c_str(), &there) == 0 &&
           mine.st_dev == there.st_dev && mine.st_ino == there.st_ino;
}

} // namespace

std::string ThisHost() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

std::string DescribeHolder(const LockHolder& holder) {
    std::string text = holder.program.empty() ? std::string("another program") : holder.program;
    text += " (process " + std::to_string(holder.pid) + " on host \"" + holder.host + "\"";
    if (!holder.user.empty())
        text += ", user " + holder.user;
    text += ")";
    if (holder.since > 0) {
        const time_t since = static_cast<time_t>(holder.since);
        tm local{};
        char when[64] = {};
        if (::localtime_r(&since, &local) &&
            std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local) > 0)
            text += std::string(" since ") + when;
    }
    return text;
}

ProjectLock::~ProjectLock() {
    release();
}

ProjectLock::Attempt ProjectLock::acquire(const std::string& folder, std::string_view program) {
    release();
    const std::string path = JoinPath(folder, kLockFileName);
    Attempt attempt;
    // A releasing holder removes the file between our open and our lock; then the lock we got
    // is on a file nobody will look at, and we try again with the new one.
    for (int round = 0; round < 10; ++round) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            attempt.status = cannotLock(folder, errno);
            return attempt;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const LockHolder holder = parseHolder(readAllFrom(fd));
            if (error == EWOULDBLOCK || holderAlive(holder)) {
                ::close(fd);
                attempt.state = State::HeldByOther;
                attempt.holder = holder;
                return attempt;
            }
            // No kernel locks here and the recorded holder is gone: the file's word is taken.
        }
        if (!sameEntry(fd, path)) {
            ::close(fd);
            continue;
        }
        LockHolder me;
        me.program = std::string(program);
        me.host = ThisHost();
        me.pid = ::getpid();
        me.user = userName();
        me.since = static_cast<int64_t>(::time(nullptr));
        const std::string text = "program=" + me.program + "\nhost=" + me.host +
                                 "\npid=" + std::to_string(me.pid) + "\nuser=" + me.user +
                                 "\nsince=" + std::to_string(me.since) + "\n";
        // Only the message depends on these bytes; a lock whose text could not be written
        // still locks.
        if (::ftruncate(fd, 0) == 0) {
            const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
            static_cast<void>(written);
        }
        fd_ = fd;
        folder_ = folder;
        path_ = path;
        attempt.state = State::Acquired;
        attempt.holder = me;
        return attempt;
    }
    attempt.status = cannotLock(folder, EBUSY);
    return attempt;
}

ProjectLock::Attempt ProjectLock::takeOver(const std::string& folder, std::string_view program) {
    release();
    const std::string path = JoinPath(folder, kLockFileName);
    ::unlink(path.c_str());
    return acquire(folder, program);
}

bool ProjectLock::held() const {
    return fd_ >= 0 && sameEntry(fd_, path_);
}

void ProjectLock::release() {
    if (fd_ < 0)
        return;
    // Removed while still locked, so that nobody takes a lock on a file that is going away.
    if (sameEntry(fd_, path_))
        ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
    folder_.clear();
    path_.clear();
}

std::optional<LockHolder> ProjectLock::Probe(const std::string& folder) {
    const std::string path = JoinPath(folder, kLockFileName);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::optional<LockHolder> result;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        const int error = errno;
        const LockHolder holder = parseHolder(readAllFrom(fd));
        if (error == EWOULDBLOCK || holderAlive(holder))
            result = holder;
    }
    ::close(fd);
    return result;
}

} // namespace qloom
