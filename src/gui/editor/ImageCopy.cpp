#include "gui/editor/internal/ImageCopy.h"

#include "gui/editor/internal/HtmlFragments.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"

#include <filesystem>
#include <system_error>

namespace qloom {

namespace fs = std::filesystem;

ImageCopyOutcome CopyImageIntoProject(std::string_view source, std::string_view projectFolder,
                                      std::string_view templateName) {
    const std::string name = FileNamePart(source);
    if (source.empty() || name.empty())
        return ImageCopyOutcome::Failed;
    fs::path from{std::string(source)};
    // A typed bare or relative name can only mean the project folder: the program's working
    // folder is nothing the user sees.
    if (from.is_relative())
        from = fs::path(std::string(projectFolder)) / from;
    const fs::path to{JoinPath(projectFolder, name)};
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        return ImageCopyOutcome::Failed;
    if (fs::exists(to, ec) && fs::equivalent(from, to, ec))
        return ImageCopyOutcome::AlreadyThere;
    if (name == kScriptFileName || (!templateName.empty() && name == templateName))
        return ImageCopyOutcome::Failed;
    // Read as a regular file of bounded size, not copied by name: the source may have turned
    // into a FIFO or a device since the check above.
    std::string bytes;
    if (!ReadWholeFile(from.string(), bytes).ok)
        return ImageCopyOutcome::Failed;
    return WriteFileReplacing(to.string(), bytes) ? ImageCopyOutcome::Copied
                                                  : ImageCopyOutcome::Failed;
}

std::string CannotCopyText(std::string_view source) {
    std::string text(msg::kCannotCopyHead);
    text += source;
    text += msg::kCannotCopyTail;
    return text;
}

} // namespace qloom
