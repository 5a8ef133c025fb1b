#include "script/ScriptSaver.h"

#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/FixedTexts.h"
#include "script/ScriptWriter.h"
#include "script/internal/LineEnds.h"

#include <deque>
#include <vector>

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

namespace {

// The fixed blocks in their written form, made once.
struct FixedBlocks {
    std::string comment = NormaliseLineEnds(CommentBlock());
    std::string runtime = NormaliseLineEnds(RuntimeTemplate());
    std::string editing = NormaliseLineEnds(EditingLayer());
};

const FixedBlocks& fixedBlocks() {
    static const FixedBlocks blocks;
    return blocks;
}

// The script as consecutive pieces: the fixed blocks, and each header line with CR LF after it
// (the empty one included). Caption and body lines may hold their own line breaks and then span
// several lines of the file. A line already in that form is used where it is; any other is
// rewritten into `rewritten`, which must outlive the pieces.
std::vector<std::string_view> scriptPieces(const std::vector<std::string>& header, bool forPreview,
                                           std::deque<std::string>& rewritten) {
    constexpr std::string_view kCrLf = "\r\n";
    std::vector<std::string_view> pieces;
    pieces.reserve(2 * header.size() + 3);
    pieces.emplace_back(fixedBlocks().comment);
    for (const auto& line : header) {
        if (line.empty()) {
            pieces.push_back(kCrLf);
        } else if (HasOnlyCrLfBreaks(line)) {
            pieces.emplace_back(line);
            if (line.back() != '\n')
                pieces.push_back(kCrLf);
        } else {
            pieces.emplace_back(rewritten.emplace_back(NormaliseLineEnds(line)));
        }
    }
    pieces.emplace_back(fixedBlocks().runtime);
    if (forPreview)
        pieces.emplace_back(fixedBlocks().editing);
    return pieces;
}

// Replaces the file atomically; the failure names the file that could not be written, and the
// link too when the path is a symbolic link (the write then happens beside its target).
Status replaceFile(const std::string& path, const std::vector<std::string_view>& pieces,
                   const WriteFaults& faults) {
    Status written = WriteFileReplacing(path, pieces, faults);
    if (written)
        return written;
    const std::string target = ResolveLinkTarget(path);
    if (target.empty() || target == path)
        return written;
    Status named =
        Status::failure(msg::Format(msg::Format(msg::kCannotReplaceLinkTarget, target), path));
    named.file = target;
    named.reason = written.reason;
    if (!named.reason.empty())
        named.message += ": " + named.reason;
    return named;
}

} // namespace

std::string AssembleScript(const Project& project, bool forPreview) {
    const std::vector<std::string> header = ComposeScript(project, forPreview);
    std::deque<std::string> rewritten;
    const std::vector<std::string_view> pieces = scriptPieces(header, forPreview, rewritten);
    size_t size = 0;
    for (const auto piece : pieces)
        size += piece.size();
    std::string out;
    out.reserve(size);
    for (const auto piece : pieces)
        out.append(piece);
    return out;
}

Status SaveScript(const Project& project, bool forPreview, const WriteFaults& faults) {
    const std::vector<std::string> header = ComposeScript(project, forPreview);
    // Written piece by piece: the header lines are most of the file and need no second copy.
    std::deque<std::string> rewritten;
    const std::vector<std::string_view> pieces = scriptPieces(header, forPreview, rewritten);

    // Without an active project there is no folder to write to; the working folder of the
    // process is no substitute.
    const std::string& folder = project.settings.projectFolder;
    if (folder.empty())
        return Status::failure(msg::Format(msg::kCannotCreateFile, kScriptFileName));
    if (!PathExists(folder))
        CreateFolderOneLevel(folder);

    const std::string scriptPath = JoinPath(folder, kScriptFileName);
    if (Status written = replaceFile(scriptPath, pieces, faults); !written)
        return written;

    const std::string templatePath = JoinPath(folder, project.settings.templateFileName);
    if (!FileExists(templatePath))
        return WriteNewFile(templatePath, NormaliseLineEnds(DefaultPage()), faults);
    return Status::success();
}

Status FinalizeProject(const Project& project, const WriteFaults& faults) {
    Status saved = SaveScript(project, false, faults);
    if (!saved)
        return saved;
    const std::string readMePath = JoinPath(project.settings.projectFolder, kReadMeFileName);
    const std::string readMe = NormaliseLineEnds(ReadMeText());
    return replaceFile(readMePath, {readMe}, faults);
}

} // namespace qloom
