#include "script/ScriptSaver.h"

#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/FixedTexts.h"
#include "script/LineEnds.h"

namespace qloom {

std::string StripTrailingBackslash(std::string_view path) {
    // The root "/" is a single character and so keeps its separator, as a drive root would.
    if (path.size() >= 2 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

bool PathExists(std::string_view path) {
    return EntryExists(StripTrailingBackslash(path));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/')
        out += '/';
    out.append(name);
    return out;
}

std::string AssembleScript(const Project& project, bool forPreview) {
    std::string out;
    size_t estimate = CommentBlock().size() + RuntimeTemplate().size() + 64;
    if (forPreview)
        estimate += EditingLayer().size();
    for (const auto& line : project.HeaderLines)
        estimate += line.size() + 2;
    out.reserve(estimate + estimate / 16);

    AppendLinesCrLf(out, CommentBlock());
    for (const auto& line : project.HeaderLines) {
        // Each entry is one line of the header (the empty one included); caption and body
        // lines may hold their own line breaks and then span several lines of the file.
        if (line.empty())
            out += "\r\n";
        else
            AppendLinesCrLf(out, line);
    }
    AppendLinesCrLf(out, RuntimeTemplate());
    if (forPreview)
        AppendLinesCrLf(out, EditingLayer());
    return out;
}

Status SaveScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap) {
    ComposeScript(project, forPreview, onSelectedSwap);
    const std::string text = AssembleScript(project, forPreview);

    // Without an active project there is no folder to write to; the working folder of the
    // process is no substitute.
    const std::string& folder = project.settings.ProjectFolder;
    if (folder.empty())
        return Status::failure(msg::Format(msg::kCannotCreateFile, kScriptFileName));
    if (!PathExists(folder))
        CreateFolderOneLevel(folder);

    const std::string scriptPath = JoinPath(folder, kScriptFileName);
    if (!WriteFileReplacing(scriptPath, text))
        return Status::failure(msg::Format(msg::kCannotCreateFile, scriptPath));

    const std::string templatePath = JoinPath(folder, project.settings.TemplateFileName);
    if (!FileExists(templatePath)) {
        if (!WriteNewFile(templatePath, NormaliseLineEnds(DefaultPage())))
            return Status::failure(msg::Format(msg::kCannotCreateFile, templatePath));
    }
    return Status::success();
}

Status FinalizeProject(Project& project, const CaptionSwapHook& onSelectedSwap) {
    Status saved = SaveScript(project, false, onSelectedSwap);
    if (!saved)
        return saved;
    const std::string readMePath = JoinPath(project.settings.ProjectFolder, kReadMeFileName);
    if (!WriteFileReplacing(readMePath, NormaliseLineEnds(ReadMeText())))
        return Status::failure(msg::Format(msg::kCannotCreateFile, readMePath));
    return Status::success();
}

} // namespace qloom
