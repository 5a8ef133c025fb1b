#pragma once

// What the preview page may reach. The page is often a downloaded template or carries HTML
// pasted from the web, and it runs as a local file: without these rules its script could read
// any file of the user and send it away. The rules need no browser, so they are tested alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qloom {

enum class SchemeRule {
    Allow,           // data:, blob:, qrc: carry nothing from outside the page
    AllowInsideRoot, // file: only below the allowed root
    Block,           // everything else: http(s), ws(s), ftp, unknown schemes
};

// `scheme` in lower case, without the colon.
SchemeRule RuleForScheme(std::string_view scheme);

// Whether `path` is `root` or lies below it. Both must be absolute, canonical (no "..", no
// symbolic links) and without a trailing separator (except "/" itself).
bool PathInsideRoot(std::string_view path, std::string_view root);

enum class SiteFolderVerdict {
    Ok,
    Outside, // does not contain the project folder
    TooWide, // the root folder, the home folder or a folder above it
};

// Checks a site folder against the project folder and the user's home folder (all canonical).
SiteFolderVerdict CheckSiteFolder(std::string_view site, std::string_view project,
                                  std::string_view home);

// Resident memory of process `pid` in bytes, from /proc; nothing when it cannot be read.
std::optional<uint64_t> ResidentBytesOf(int64_t pid);

} // namespace qloom
