#pragma once

#include "model/Project.h"
#include "model/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace qloom {

enum class LoadOutcome {
    Loaded,     // project replaced (even if there are messages to show)
    NotProject, // not a project of this version; `messages` say so, nothing changed
    Error,      // stopped by a run-time error (`status`), nothing changed
};

// What a load did. The messages ("Cannot find: ...", the other-version notice, replaced
// colours, ...) are in reading order; the GUI shows them one box at a time, the command-line
// tool prints them.
struct [[nodiscard]] LoadResult {
    LoadOutcome outcome = LoadOutcome::Error;
    std::vector<std::string> messages;
    Status status; // for Error: the text for the general error report
};

// Reads a script file into a separate project and takes it over into `project` (menus,
// selection and settings except projectFolder) only when the outcome is Loaded.
LoadResult LoadProject(const std::string& path, Project& project);
LoadResult LoadProjectFromText(std::string_view text, Project& project);

} // namespace qloom
