#include "gui/shell/ProjectFolders.h"

#include "model/Messages.h"
#include "script/ScriptSaver.h"

#include <sys/stat.h>
#include <unistd.h>

namespace qloom {

std::string ProposeProjectName(std::string_view programFolder, const PathExistsFn& exists) {
    auto nameFor = [](int n) {
        return std::string(msg::kProposedNamePrefix) + (n < 10 ? "0" : "") + std::to_string(n);
    };
    int n = 1;
    while (exists(JoinPath(programFolder, nameFor(n))))
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

bool MakeProjectFolder(const std::string& path) {
    return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
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

std::string ResolveChooserPath(std::string_view text, std::string_view currentFolder) {
    const std::string stripped = StripTrailingBackslash(text);
    if (stripped.empty())
        return std::string(currentFolder);
    if (stripped.front() == '/')
        return stripped;
    return JoinPath(currentFolder, stripped);
}

std::string CannotCreateFolderText(std::string_view path) {
    return std::string(msg::kCannotCreateFolderHead) + std::string(path) +
           std::string(msg::kCannotCreateFolderTail);
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

std::string ProgramFolderOf(std::string_view programFile) {
    const auto slash = programFile.rfind('/');
    if (slash == std::string_view::npos)
        return "./";
    return std::string(programFile.substr(0, slash + 1));
}

} // namespace qloom
