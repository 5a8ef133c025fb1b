#pragma once

// Copying a picture into the project folder, so that the page finds it by its bare file name.

#include <string>
#include <string_view>

namespace qloom {

enum class ImageCopyOutcome {
    Copied,       // the file now lies in the project folder (a same-named file was replaced)
    AlreadyThere, // the picked file is the project folder's own file: nothing to copy
    Failed,       // missing source, unwritable folder ...
};

// Copies `source` to folder + "/" + its file name. "The same file" is decided by the file system
// (same device and inode), because names are case-sensitive here and one file can be reached by
// several paths; copying a file onto itself would truncate it. A relative source is taken
// relative to the project folder. A picture is never copied over the script or the template page
// (`templateName`): that would destroy the project file or the user's page.
ImageCopyOutcome CopyImageIntoProject(std::string_view source, std::string_view projectFolder,
                                      std::string_view templateName = {});

// The message shown when the copy fails.
std::string CannotCopyText(std::string_view source);

} // namespace qloom
