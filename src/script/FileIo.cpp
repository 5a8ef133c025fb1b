#include "script/FileIo.h"

#include "model/Messages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
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

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail a save
// whose data already reached the disk.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return cannotOpen(path, error);
    }
    std::string data;
    if (S_ISREG(st.st_mode) && st.st_size > 0)
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

bool EntryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

void CreateFolderOneLevel(const std::string& path) {
    ::mkdir(path.c_str(), 0777);
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
            const std::string folder = FolderOf(current);
            target = (folder == "/" ? "" : folder) + "/" + target;
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
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return cannotCreate(path, error);
    }
    syncFolder(folder);
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
    return Status::success();
}

} // namespace qloom
