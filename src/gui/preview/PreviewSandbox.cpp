#include "gui/preview/PreviewSandbox.h"

#include <fstream>
#include <sstream>

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
