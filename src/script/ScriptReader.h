#pragma once

#include "model/Project.h"

#include <functional>
#include <string>
#include <string_view>

namespace qloom {

// Shows one reader message (modal in the GUI) and returns when the user has closed it.
using ShowMessageFn = std::function<void(const std::string& text)>;

enum class LoadOutcome {
    Loaded,     // project replaced (even if "Cannot find" messages were shown)
    NotProject, // not a project of this version; message(s) shown, nothing changed
    Error,      // stopped by a run-time error (errorMessage), nothing changed
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Error;
    std::string errorMessage; // for Error: the text for the general error report
};

// Reads a script file into a separate table and settings and takes them over into `project`
// (table and settings except ProjectFolder) only when the outcome is Loaded.
LoadResult LoadProject(const std::string& path, Project& project, const ShowMessageFn& showMessage);
LoadResult LoadProjectFromText(std::string_view text, Project& project,
                               const ShowMessageFn& showMessage);

} // namespace qloom
