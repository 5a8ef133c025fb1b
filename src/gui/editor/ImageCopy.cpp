#include "gui/editor/internal/ImageCopy.h"

#include "gui/editor/internal/HtmlFragments.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qloom {

namespace fs = std::filesystem;

namespace {
// The one message of every failed copy, with what the system said kept apart.
Status cannotCopy(std::string_view source, const Status& cause = {}) {
    Status failed = Status::failure(CannotCopyText(source));
    failed.reason = cause.reason;
    failed.file = cause.file.empty() ? std::string(source) : cause.file;
    return failed;
}
} // namespace

Expected<ImageCopyOutcome> CopyImageIntoProject(std::string_view source,
                                                std::string_view projectFolder,
                                                std::string_view templateName) {
    const std::string name = FileNamePart(source);
    if (source.empty() || name.empty())
        return cannotCopy(source);
    fs::path from{std::string(source)};
    // A typed bare or relative name can only mean the project folder: the program's working
    // folder is nothing the user sees.
    if (from.is_relative())
        from = fs::path(std::string(projectFolder)) / from;
    const fs::path to{JoinPath(projectFolder, name)};
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        return cannotCopy(source,
                          Status::systemFailure({}, from.string(), ec ? ec.value() : ENOENT));
    if (fs::exists(to, ec) && fs::equivalent(from, to, ec))
        return ImageCopyOutcome::AlreadyThere;
    if (name == kScriptFileName || (!templateName.empty() && name == templateName))
        return cannotCopy(source, Status::failure({}));
    // Read as a regular file of bounded size, not copied by name: the source may have turned
    // into a FIFO or a device since the check above.
    std::string bytes;
    if (Status read = ReadWholeFile(from.string(), bytes); !read)
        return cannotCopy(source, read);
    if (Status written = WriteFileReplacing(to.string(), bytes); !written)
        return cannotCopy(source, written);
    return ImageCopyOutcome::Copied;
}

std::string CannotCopyText(std::string_view source) {
    std::string text(msg::kCannotCopyHead);
    text += source;
    text += msg::kCannotCopyTail;
    return text;
}

} // namespace qloom
