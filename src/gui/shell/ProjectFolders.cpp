#include "gui/shell/internal/ProjectFolders.h"

#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace qloom {

std::string ProposeProjectName(std::string_view projectsFolder, const PathExistsFn& exists) {
    auto nameFor = [](int n) {
        return std::string(msg::kProposedNamePrefix) + (n < 10 ? "0" : "") + std::to_string(n);
    };
    int n = 1;
    while (exists(JoinPath(projectsFolder, nameFor(n))))
        ++n;
    return nameFor(n);
}

std::string ChooserPathText(std::string_view treeFolder, std::string_view proposedName) {
    return StripTrailingBackslash(treeFolder) + "/" + StripTrailingBackslash(proposedName);
}

std::string RepairDoubleSeparator(std::string_view path) {
    std::string text(path);
    const auto at = text.find("//");
    if (at != std::string::npos)
        text.erase(at, 1);
    return text;
}

std::string NewProjectPath(std::string_view chooserText) {
    return StripTrailingBackslash(RepairDoubleSeparator(chooserText));
}

bool MakeProjectFolder(const std::string& path, int* error) {
    if (path.empty()) {
        if (error)
            *error = ENOENT;
        return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0) {
        // Flushed with its parent, as the script written into it will be.
        SyncFolder(path);
        SyncFolder(FolderOf(path));
        return true;
    }
    if (error)
        *error = errno;
    return false;
}

bool IsWritableFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string CannotUseFolderText(std::string_view path) {
    return std::string(msg::kCannotUseFolderHead) + std::string(path) +
           std::string(msg::kCannotUseFolderTail);
}

std::string PrepareNewProjectFolder(const std::string& path) {
    int error = 0;
    if (!MakeProjectFolder(path, &error) && !PathExists(path))
        return CannotCreateFolderText(path, std::strerror(error));
    // A file of that name, or a folder qLoom may not write into, would leave a project that can
    // be neither saved nor closed.
    if (!IsWritableFolder(path))
        return CannotUseFolderText(path);
    return {};
}

std::string MountRootOf(std::string_view folder, const std::vector<std::string>& roots) {
    std::string best = "/";
    for (const std::string& root : roots) {
        // "/mnt/a" holds "/mnt/a/x" but not "/mnt/ab".
        const std::string prefix = StripTrailingBackslash(root) + "/";
        const bool holds = folder == root || folder.substr(0, prefix.size()) == prefix;
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}

std::string ResolveChooserPath(std::string_view text, std::string_view currentFolder) {
    std::string stripped = StripTrailingBackslash(text);
    if (stripped.empty())
        return std::string(currentFolder);
    if (stripped.front() == '/')
        return stripped;
    return JoinPath(currentFolder, stripped);
}

std::string CannotCreateFolderText(std::string_view path, std::string_view systemReason) {
    const std::string head = std::string(msg::kCannotCreateFolderHead) + std::string(path);
    const std::string folder = StripTrailingBackslash(path);
    const std::string name = folder.substr(folder.find_last_of('/') + 1);
    // Blaming the name is only right when it holds a character other desktops refuse.
    if (systemReason.empty() || name.find_first_of("\\:*?\"<>|") != std::string::npos)
        return head + std::string(msg::kCannotCreateFolderTail);
    return head + "\r\n\r\n" + std::string(systemReason);
}

std::vector<std::string> FolderChain(std::string_view folder) {
    std::vector<std::string> chain{"/"};
    size_t at = 0;
    while (at < folder.size()) {
        while (at < folder.size() && folder[at] == '/')
            ++at;
        const size_t end = folder.find('/', at);
        if (at >= folder.size())
            break;
        const size_t stop = end == std::string_view::npos ? folder.size() : end;
        chain.push_back(JoinPath(chain.back(), folder.substr(at, stop - at)));
        at = stop;
    }
    return chain;
}

std::string HelpIndexOf(std::string_view programFolder) {
    const std::string folder = StripTrailingBackslash(programFolder);
    const auto slash = folder.rfind('/');
    const std::string prefix = slash == std::string::npos ? std::string("..")
                               : slash == 0               ? std::string()
                                                          : folder.substr(0, slash);
    return prefix + "/share/qloom/help/index.htm";
}

std::string ProgramFolderOf(std::string_view programFile) {
    const auto slash = programFile.rfind('/');
    if (slash == std::string_view::npos)
        return "./";
    return std::string(programFile.substr(0, slash + 1));
}

} // namespace qloom
