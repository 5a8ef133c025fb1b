#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

using PathExistsFn = std::function<bool(const std::string& path)>;

// The first free name "NewProject_01" ... "NewProject_09", "NewProject_10" ... inside
// `projectsFolder`; a file of that name counts as taken as much as a folder.
std::string ProposeProjectName(std::string_view projectsFolder, const PathExistsFn& exists);

// What the folder chooser's path box shows on opening: the tree's folder without its trailing
// separator, one separator, and the proposed name. With the root "/" this gives "//Name", which
// RepairDoubleSeparator turns back into "/Name"; with no proposed name the text ends in "/".
std::string ChooserPathText(std::string_view treeFolder, std::string_view proposedName);

// Replaces the first "//" by "/" (only the first).
std::string RepairDoubleSeparator(std::string_view path);

// The folder a new project goes into: the first doubled separator repaired, then one trailing
// separator stripped.
std::string NewProjectPath(std::string_view chooserText);

// Creates the last folder of `path` (its parent must exist). False when nothing was created,
// including when the folder was already there; `error` then receives the system's error number.
bool MakeProjectFolder(const std::string& path, int* error = nullptr);

// Whether qLoom can keep a project in `path`: an existing folder it may write into.
bool IsWritableFolder(const std::string& path);

// "Cannot use folder: " + path, for an existing folder (or file) qLoom cannot write into.
std::string CannotUseFolderText(std::string_view path);

// Makes the folder a new project goes into (one level; an existing folder is taken as it is).
// Empty when qLoom can keep a project there, otherwise the message that says why not.
std::string PrepareNewProjectFolder(const std::string& path);

// The longest of `roots` (mount points) that holds `folder`; "/" when none does.
std::string MountRootOf(std::string_view folder, const std::vector<std::string>& roots);

// The chooser's path box as a folder: one trailing separator stripped, and a relative text
// taken inside the list's current folder (an empty box names that folder itself).
std::string ResolveChooserPath(std::string_view text, std::string_view currentFolder);

// "Cannot create folder: " + path, then the list of characters a folder name cannot hold when
// the last name holds one of them (or no reason is known), otherwise the system's reason.
std::string CannotCreateFolderText(std::string_view path, std::string_view systemReason = {});

// The root, each ancestor and the folder itself, outermost first ("/a/b" -> "/", "/a", "/a/b").
std::vector<std::string> FolderChain(std::string_view folder);

// The folder of the program file, with a trailing separator.
std::string ProgramFolderOf(std::string_view programFile);

// The help pages' start page for a program in `programFolder`: share/qloom/help beside the
// program's bin folder, so an installed, a DESTDIR-staged and a build-tree program (whose build
// copies the pages there) each find their own.
std::string HelpIndexOf(std::string_view programFolder);

} // namespace qloom
