#include "script/FileIo.h"

#include "model/Messages.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qloom {

namespace {

Status cannotCreate(const std::string& path, int error) {
    return Status::systemFailure(msg::Format(msg::kCannotCreateFile, path), path, error);
}

Status cannotOpen(const std::string& path, int error) {
    return Status::systemFailure(msg::Format(msg::kCannotOpenFile, path), path, error);
}

bool writeAll(int fd, std::string_view data, size_t budget, int faultError) {
    size_t done = 0;
    while (done < data.size()) {
        size_t chunk = data.size() - done;
        if (chunk > (1u << 20))
            chunk = 1u << 20;
        if (done + chunk > budget) {
            chunk = budget - done;
            if (chunk == 0) {
                errno = faultError;
                return false;
            }
        }
        const ssize_t n = ::write(fd, data.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

size_t WriteFaults::bytesAllowed(const std::string&) const {
    return std::numeric_limits<size_t>::max();
}

int WriteFaults::error() const {
    return ENOSPC;
}

const WriteFaults& RealWrites() {
    static const WriteFaults none;
    return none;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

Status ReadWholeFile(const std::string& path, std::string& out) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer for good, in the user-interface
    // thread; with it the open returns at once and the type check below refuses the FIFO.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return cannotOpen(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return cannotOpen(path, error);
    }
    // Devices (/dev/zero never ends), sockets, FIFOs and folders are no files of a project.
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode))
            return cannotOpen(path, EISDIR);
        Status refused = Status::failure(msg::Format(msg::kCannotOpenFile, path) + ": " +
                                         std::string(msg::kNotRegularFile));
        refused.reason = msg::kNotRegularFile;
        refused.file = path;
        return refused;
    }
    if (st.st_size > static_cast<off_t>(kMaxReadBytes)) {
        ::close(fd);
        return cannotOpen(path, EFBIG);
    }
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return cannotOpen(path, error);
        }
        // A file that grows while it is read is still bounded.
        if (data.size() + static_cast<size_t>(n) > kMaxReadBytes) {
            ::close(fd);
            return cannotOpen(path, EFBIG);
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    out = std::move(data);
    return Status::success();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// The system's reason why its user may not change the file `st` describes (EACCES, EROFS or
// EPERM), 0 when they may. A file nobody may write counts as read-only for root too, who could
// write it but was told not to.
int readOnlyReason(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return 0;
    if (::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        return errno;
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    return 0;
}

} // namespace

Expected<bool> IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        // Nothing there: a save makes the file.
        if (error == ENOENT)
            return false;
        return cannotOpen(path, error);
    }
    return readOnlyReason(path, st) != 0;
}

Status CheckFileWritable(const std::string& path, std::string text) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return Status::success();
    const int reason = readOnlyReason(path, st);
    if (reason == 0)
        return Status::success();
    return Status::systemFailure(std::move(text), path, reason);
}

bool EntryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

void CreateFolderOneLevel(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0)
        return;
    // The new folder's entry must reach the disk with the files written into it, or a power
    // cut could lose the folder and with it a script whose own write was flushed.
    SyncFolder(path);
    SyncFolder(FolderOf(path));
}

Status WriteFileReplacing(const std::string& path, std::string_view data,
                          const WriteFaults& faults) {
    return WriteFileReplacing(path, std::vector<std::string_view>{data}, faults);
}

std::string ResolveLinkTarget(const std::string& path) {
    std::string current = path;
    // As many links as the system itself follows in one path.
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size())
            return {};
        target.resize(static_cast<size_t>(n));
        if (target.empty())
            return {};
        // A relative target counts from the folder that holds the link.
        if (target[0] != '/') {
            std::string absolute = FolderOf(current);
            if (absolute == "/")
                absolute.clear();
            absolute += '/';
            absolute += target;
            target = std::move(absolute);
        }
        current = std::move(target);
    }
    return {};
}

Status WriteFileReplacing(const std::string& path, const std::vector<std::string_view>& pieces,
                          const WriteFaults& faults) {
    // Renaming over a symbolic link would replace the link by a plain file and leave whatever
    // it points to (a page in a web site's folder, say) stale; the target is replaced instead.
    const std::string target = ResolveLinkTarget(path);
    if (target.empty())
        return cannotCreate(path, ELOOP);
    const std::string folder = FolderOf(target);
    const std::string stem = (folder == "/" ? "" : folder) + "/." + nameOf(target) + ".saving-" +
                             std::to_string(::getpid()) + "-";
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return cannotCreate(path, errno);
    }
    if (fd < 0)
        return cannotCreate(path, EEXIST);
    // Held until the file is renamed or removed: a temporary file nobody holds is a crash's
    // leftover, which opening the project may remove (RemoveLeftoverSaves).
    ::flock(fd, LOCK_EX);

    // A replaced file keeps its permissions; a new one gets the umask's.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    size_t budget = faults.bytesAllowed(path);
    bool ok = true;
    int error = 0;
    for (const std::string_view piece : pieces) {
        ok = writeAll(fd, piece, budget, faults.error());
        if (!ok)
            break;
        budget -= std::min(budget, piece.size());
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    error = ok ? 0 : errno;
    // Renamed (or removed) while still open, so the lock covers the file's whole life under
    // its temporary name.
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok)
        ::unlink(temp.c_str());
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        return cannotCreate(path, error);
    SyncFolder(folder);
    return Status::success();
}

Status WriteNewFile(const std::string& path, std::string_view data, const WriteFaults& faults) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return cannotCreate(path, errno);
    bool ok = writeAll(fd, data, faults.bytesAllowed(path), faults.error());
    if (ok && ::fsync(fd) != 0)
        ok = false;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(path.c_str());
        return cannotCreate(path, error);
    }
    // Flushed with its folder, as the script is, so the page survives a power cut with it.
    SyncFolder(FolderOf(path));
    return Status::success();
}

namespace {

// The process id in a temporary file's name (".NAME.saving-PID-N"), or 0.
long pidInLeftoverName(const std::string& name) {
    const auto at = name.rfind(".saving-");
    if (at == std::string::npos)
        return 0;
    return std::strtol(name.c_str() + at + 8, nullptr, 10);
}

} // namespace

int RemoveLeftoverSaves(const std::string& folder, int maxAgeSeconds) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 10 || name[0] != '.' || name.find(".saving-") == std::string::npos)
            continue;
        const std::string path = (folder == "/" ? "" : folder) + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A writer on this machine that is still running and wrote lately may be between
        // creating its file and locking it; its file stays.
        const long pid = pidInLeftoverName(name);
        const bool writerAlive =
            pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        if (writerAlive && now - st.st_mtime < maxAgeSeconds)
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // A writer holds its file locked until it renames it; a file nobody locks is left over.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    if (removed > 0)
        SyncFolder(folder);
    return removed;
}

} // namespace qloom
