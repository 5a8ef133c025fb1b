#pragma once

#include "model/Project.h"
#include "model/Result.h"
#include "script/FileIo.h"

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

// The whole script text (comment block, the composed header, runtime, editing layer in the
// preview variant), every line ended by CR LF. Changes nothing.
std::string AssembleScript(const Project& project, bool forPreview);

// Composes and writes Qloomscript.js into the project folder (created one level when missing),
// replacing the old file atomically, then writes the default page when the template is missing.
// Changes nothing in the project: the caption swap of a save is the caller's edit
// (SwapDefaultCaptions) right before it. `faults` is where a test makes the writes fail.
Status SaveScript(const Project& project, bool forPreview,
                  const WriteFaults& faults = RealWrites());

// Final save, then ReadMe.txt (only when the save succeeded).
Status FinalizeProject(const Project& project, const WriteFaults& faults = RealWrites());

} // namespace qloom
