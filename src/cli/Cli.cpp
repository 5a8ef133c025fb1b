#include "cli/Cli.h"

#include "cli/ProjectJson.h"
#include "model/Conversions.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ProjectLock.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

namespace qloom::cli {

namespace {

struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags;
};

Arguments split(const std::vector<std::string>& args) {
    Arguments out;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].size() > 1 && args[i].compare(0, 2, "--") == 0)
            out.flags.push_back(args[i]);
        else
            out.positional.push_back(args[i]);
    }
    return out;
}

int usageError(std::ostream& err, const std::string& problem) {
    err << problem << '\n' << msg::kCliUsage;
    return kExitUsage;
}

// Checks the shape of a command line: exactly `required` positionals, up to `optional` more,
// and only the flags named in `allowed`.
std::optional<int> checkShape(const Arguments& a, size_t required, size_t optional,
                              const std::vector<std::string>& allowed, std::ostream& err) {
    for (const auto& flag : a.flags) {
        bool known = false;
        for (const auto& name : allowed)
            known = known || flag == name;
        if (!known)
            return usageError(err, msg::Format(msg::kCliUnexpectedArgument, flag));
    }
    if (a.positional.size() < required)
        return usageError(err, msg::Format(msg::kCliMissingArgument, "FOLDER"));
    if (a.positional.size() > required + optional)
        return usageError(
            err, msg::Format(msg::kCliUnexpectedArgument, a.positional[required + optional]));
    if (!a.positional.empty() && a.positional[0].empty())
        return usageError(err, msg::Format(msg::kCliMissingArgument, "FOLDER"));
    return std::nullopt;
}

bool hasFlag(const Arguments& a, const std::string& name) {
    for (const auto& flag : a.flags)
        if (flag == name)
            return true;
    return false;
}

int failed(std::ostream& err, const std::string& message) {
    err << OneLine(message) << '\n';
    return kExitFailed;
}

// Reads the project of `path` (a folder or a script file) into `project`.
int load(const std::string& path, Project& project, std::ostream& err) {
    std::string file = path;
    if (EntryExists(StripTrailingBackslash(path)) && !FileExists(path))
        file = JoinPath(StripTrailingBackslash(path), kScriptFileName);
    const LoadResult result = LoadProject(file, project);
    for (const std::string& text : result.messages)
        err << OneLine(text) << '\n';
    switch (result.outcome) {
    case LoadOutcome::Loaded:
        return kExitOk;
    case LoadOutcome::NotProject:
        return kExitNotProject;
    case LoadOutcome::Error:
        break;
    }
    return failed(err, result.status.message);
}

std::unique_ptr<Project> projectIn(const std::string& folder) {
    auto project = std::make_unique<Project>();
    project->settings.projectFolder = StripTrailingBackslash(folder);
    return project;
}

int save(Project& project, bool forPreview, std::ostream& err) {
    // As every save of the editor: a default caption follows the menu's orientation.
    (void)SwapDefaultCaptions(project);
    const Status saved = SaveScript(project, forPreview);
    return saved ? kExitOk : failed(err, saved.message);
}

int refused(std::ostream& err, const std::string& message) {
    err << OneLine(message) << '\n';
    return kExitRefused;
}

// The guard of every command that writes: the project's lock, held until the command ends, so
// that a qLoom window opened meanwhile waits for it and one already open is not written over
// behind its back. With --force the command writes anyway: over a lock held by a running
// qLoom, which will then notice the changed file, and over a script without write permission.
std::optional<int> guardWrite(const std::string& folder, const Arguments& a, ProjectLock& lock,
                              std::ostream& err) {
    const bool force = hasFlag(a, "--force");
    const ProjectLock::Attempt attempt = lock.acquire(folder, "qloom-cli");
    if (attempt.state == ProjectLock::State::HeldByOther && !force)
        return refused(err, msg::Format(msg::Format(msg::kCliProjectLocked, folder),
                                        DescribeHolder(attempt.holder)));
    const std::string script = JoinPath(folder, kScriptFileName);
    // A script whose state cannot be told is tried: the write says what is wrong with it.
    const Expected<bool> readOnly = IsReadOnlyFile(script);
    if (!force && readOnly && *readOnly)
        return refused(err, msg::Format(msg::kCliScriptReadOnly, script));
    return std::nullopt;
}

int dump(const Arguments& a, std::ostream& out, std::ostream& err) {
    if (auto bad = checkShape(a, 1, 0, {}, err))
        return *bad;
    auto project = std::make_unique<Project>();
    const int loaded = load(a.positional[0], *project, err);
    if (loaded != kExitOk)
        return loaded;
    out << ProjectToJson(*project).dump(2) << '\n';
    return kExitOk;
}

int write(const Arguments& a, std::istream& in, std::ostream& err) {
    if (auto bad = checkShape(a, 1, 0, {"--preview", "--force"}, err))
        return *bad;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto project = projectIn(a.positional[0]);
    const Status read = ProjectFromJsonText(text, *project);
    if (!read)
        return failed(err, read.message + " " + std::string(msg::kCliNothingWritten));
    ProjectLock lock;
    if (auto stop = guardWrite(project->settings.projectFolder, a, lock, err))
        return *stop;
    return save(*project, hasFlag(a, "--preview"), err);
}

int create(const Arguments& a, std::ostream& err) {
    if (auto bad = checkShape(a, 1, 0, {"--force"}, err))
        return *bad;
    auto project = projectIn(a.positional[0]);
    const std::string& folder = project->settings.projectFolder;
    // Another project's menus are not replaced by an empty one unless asked for.
    if (FileExists(JoinPath(folder, kScriptFileName)) && !hasFlag(a, "--force"))
        return failed(err, msg::Format(msg::kCliProjectExists, folder));
    ProjectLock lock;
    if (auto stop = guardWrite(folder, a, lock, err))
        return *stop;
    return save(*project, false, err);
}

int add(const Arguments& a, std::ostream& err) {
    if (auto bad = checkShape(a, 1, 1, {"--force"}, err))
        return *bad;
    int32_t count = 1;
    if (a.positional.size() == 2) {
        if (!TryParseInt(a.positional[1], count) || count < 1 || count > Project::kCapacity)
            return usageError(err, msg::Format(msg::kCliBadMenuNumber, a.positional[1]));
    }
    auto project = projectIn(a.positional[0]);
    // Locked before reading: menus added to what another writer is about to replace would be
    // lost.
    ProjectLock lock;
    if (auto stop = guardWrite(project->settings.projectFolder, a, lock, err))
        return *stop;
    const int loaded = load(project->settings.projectFolder, *project, err);
    if (loaded != kExitOk)
        return loaded;
    // All or nothing: a request that does not fit adds no menu at all.
    if (project->menuCount() > Project::kCapacity - count)
        return failed(err,
                      std::string(msg::kTableFull) + " " + std::string(msg::kCliNothingWritten));
    for (int32_t i = 0; i < count; ++i)
        (void)AddMenu(*project);
    return save(*project, false, err);
}

int finalize(const Arguments& a, std::ostream& err) {
    if (auto bad = checkShape(a, 1, 0, {"--force"}, err))
        return *bad;
    auto project = projectIn(a.positional[0]);
    ProjectLock lock;
    if (auto stop = guardWrite(project->settings.projectFolder, a, lock, err))
        return *stop;
    const int loaded = load(project->settings.projectFolder, *project, err);
    if (loaded != kExitOk)
        return loaded;
    (void)SwapDefaultCaptions(*project);
    const Status done = FinalizeProject(*project);
    return done ? kExitOk : failed(err, done.message);
}

} // namespace

std::string OneLine(const std::string& message) {
    std::string out;
    bool inBreak = false;
    for (const char c : message) {
        if (c == '\r' || c == '\n') {
            if (!inBreak)
                out += ' ';
            inBreak = true;
        } else {
            out += c;
            inBreak = false;
        }
    }
    return out;
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    if (args.empty())
        return usageError(err, msg::Format(msg::kCliMissingArgument, "command"));
    const std::string& command = args[0];
    const Arguments a = split(args);
    // Asking for help is never a usage error, wherever it stands on the line.
    if (command == "-h" || command == "help" || hasFlag(a, "--help") || command == "--help") {
        out << msg::kCliUsage;
        return kExitOk;
    }
    if (command == "--version") {
        out << "qloom-cli " << QLOOM_VERSION << '\n';
        return kExitOk;
    }
    if (command == "dump")
        return dump(a, out, err);
    if (command == "write")
        return write(a, in, err);
    if (command == "new")
        return create(a, err);
    if (command == "add")
        return add(a, err);
    if (command == "finalize")
        return finalize(a, err);
    return usageError(err, msg::Format(msg::kCliUnknownCommand, command));
}

} // namespace qloom::cli
