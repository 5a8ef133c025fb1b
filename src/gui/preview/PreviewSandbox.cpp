#include "gui/preview/PreviewSandbox.h"

#include "model/Conversions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>

namespace qloom {

SchemeRule RuleForScheme(std::string_view scheme) {
    if (scheme == "file")
        return SchemeRule::AllowInsideRoot;
    if (scheme == "data" || scheme == "blob" || scheme == "qrc")
        return SchemeRule::Allow;
    return SchemeRule::Block;
}

bool PathInsideRoot(std::string_view path, std::string_view root) {
    if (root.empty() || root.front() != '/' || path.empty() || path.front() != '/')
        return false;
    if (path.size() < root.size() || path.compare(0, root.size(), root) != 0)
        return false;
    // "/home/a/site" must not admit "/home/a/site-secrets".
    return path.size() == root.size() || root.back() == '/' || path[root.size()] == '/';
}

namespace {} // namespace

std::optional<std::string> FileUrlPathBytes(std::string_view encodedPath) {
    std::string bytes;
    bytes.reserve(encodedPath.size());
    for (size_t i = 0; i < encodedPath.size(); ++i) {
        char c = encodedPath[i];
        if (c == '%' && i + 2 < encodedPath.size() && HexDigitValue(encodedPath[i + 1]) >= 0 &&
            HexDigitValue(encodedPath[i + 2]) >= 0) {
            c = static_cast<char>(HexDigitValue(encodedPath[i + 1]) * 16 +
                                  HexDigitValue(encodedPath[i + 2]));
            // An encoded slash or backslash would make one name of two for one reader and not
            // for the other.
            if (c == '/' || c == '\\')
                return std::nullopt;
            i += 2;
        }
        if (c == '\0')
            return std::nullopt;
        bytes += c;
    }
    if (bytes.empty() || bytes.front() != '/')
        return std::nullopt;
    return bytes;
}

std::string CanonicalBytes(const std::string& path) {
    if (path.empty())
        return {};
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

bool LocalPathAllowed(const std::string& path, std::string_view root,
                      std::string_view missingAllowed) {
    if (root.empty() || path.empty() || path.front() != '/')
        return false;
    // realpath follows every link to its final target as it stands now, byte for byte.
    const std::string resolved = CanonicalBytes(path);
    if (!resolved.empty()) {
        // A FIFO, device or socket is no page's file: opening one could hang the engine.
        struct stat target {};
        return PathInsideRoot(resolved, root) && ::stat(resolved.c_str(), &target) == 0 &&
               (S_ISREG(target.st_mode) || S_ISDIR(target.st_mode));
    }
    if (errno != ENOENT || missingAllowed.empty() || path != missingAllowed)
        return false;
    // The template page not yet written: its folder must exist inside the root, and no dangling
    // link may stand in its place.
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) == 0)
        return false;
    const size_t slash = path.rfind('/');
    const std::string name = path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return false;
    const std::string folder =
        CanonicalBytes(slash == 0 ? std::string("/") : path.substr(0, slash));
    return !folder.empty() && PathInsideRoot(folder, root);
}

SiteFolderVerdict CheckSiteFolder(std::string_view site, std::string_view project,
                                  std::string_view home) {
    if (site.empty() || site == "/")
        return SiteFolderVerdict::TooWide;
    if (!home.empty() && PathInsideRoot(home, site))
        return SiteFolderVerdict::TooWide;
    if (!PathInsideRoot(project, site))
        return SiteFolderVerdict::Outside;
    return SiteFolderVerdict::Ok;
}

std::optional<uint64_t> ResidentBytesOf(int64_t pid) {
    if (pid <= 0)
        return std::nullopt;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") != 0)
            continue;
        std::istringstream fields(line.substr(6));
        uint64_t kilobytes = 0;
        if (fields >> kilobytes)
            return kilobytes * 1024;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace qloom
