#pragma once

#include "model/Project.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// A file address written in caption or menu HTML, as it stands there.
struct HtmlReference {
    size_t offset = 0; // byte offset of the value in the HTML
    std::string value; // entities such as &amp; already read
};

// The addresses of SRC, HREF, BACKGROUND, POSTER, DATA, SRCSET (each candidate) and of url(...)
// in STYLE attributes, in the order they appear. Comments and scripts are skipped. Never fails.
std::vector<HtmlReference> FindReferences(std::string_view html);

// The path of a local file an address names, percent-decoded, with its query and fragment cut
// off: "pics/a%20b.png?v=2" gives "pics/a b.png". Nothing for what is not a file of the site: an
// address with a scheme (http:, https:, mailto:, data:, javascript:, file:, ...), one that starts
// with "//" (another host) or "#" (a place in the same page), and an empty one.
std::optional<std::string> LocalPath(std::string_view address);

// The file a local path names: relative paths against the project folder (the page that shows
// the menus lives there), paths starting with "/" against the site folder, which is the project
// folder when no site folder is set. Lexically normalised; no file is looked at.
std::string ResolveLocalPath(std::string_view path, std::string_view projectFolder,
                             std::string_view siteFolder);

// One local file the project refers to.
struct SiteFile {
    std::string path;       // relative to the project folder ("pics/logo.png", "../style.css")
    bool exists = false;    // a file or folder of that name is there
    bool template_ = false; // the template page, the page that shows the menus
};

// The local files of the site: the template page, then what the captions and bodies of all
// menus refer to, each once, in the order first met. Existence is looked up on disk.
std::vector<SiteFile> ListSiteFiles(const Project& project, std::string_view siteFolder);

// True when a file or folder exists at `path` (no exceptions, no error dialogs).
bool LocalFileExists(const std::string& path);

// `path` relative to `folder` when it lies below it or near it; the path itself otherwise.
std::string RelativeToFolder(const std::string& path, std::string_view folder);

} // namespace qloom
