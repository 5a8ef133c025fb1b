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

// The file a file: URL's path names, as the browser opens it: the percent-encoding undone to raw
// bytes (a byte that is not UTF-8 stays that byte). Nothing for a path that is not absolute or
// holds an encoded NUL or slash, which no real page needs.
std::optional<std::string> FileUrlPathBytes(std::string_view encodedPath);

// Whether the page may open `path` (raw bytes, absolute): every symbolic link and ".." is
// resolved on the bytes themselves, and the final target must lie inside `root` (canonical
// bytes) and be a file or folder. A path that does not exist is refused unless it is
// `missingAllowed` (the template page, which the browser then reports as missing) and its folder
// lies inside the root.
bool LocalPathAllowed(const std::string& path, std::string_view root,
                      std::string_view missingAllowed);

// The canonical form of an existing folder or file, on bytes; empty when it cannot be resolved.
std::string CanonicalBytes(const std::string& path);

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
