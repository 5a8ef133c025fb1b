#pragma once

#include "model/Project.h"
#include "model/Result.h"
#include "script/ScriptWriter.h"

#include <string>
#include <string_view>

namespace qloom {

inline constexpr std::string_view kScriptFileName = "Qloomscript.js";
inline constexpr std::string_view kReadMeFileName = "ReadMe.txt";

// Removes one trailing "/" unless the path is the root "/" (or a single character).
std::string StripTrailingBackslash(std::string_view path);
// True when the path (trailing separator stripped) names an existing file or folder.
bool PathExists(std::string_view path);
// folder + "/" + name, without doubling the separator of the root.
std::string JoinPath(std::string_view folder, std::string_view name);

// The whole script text (comment block, HeaderLines, runtime, editing layer in the preview
// variant), every line ended by CR LF. Expects HeaderLines to be freshly composed.
std::string AssembleScript(const Project& project, bool forPreview);

// Composes and writes Qloomscript.js into the project folder (created one level when missing),
// replacing the old file atomically, then writes the default page when the template is missing.
Status SaveScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap = {});

// Final save, then ReadMe.txt (only when the save succeeded).
Status FinalizeProject(Project& project, const CaptionSwapHook& onSelectedSwap = {});

} // namespace qloom
