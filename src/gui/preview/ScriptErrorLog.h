#pragma once

// The list of script errors the preview page reported during this run, mirrored into js.log in
// the program folder. The list is emptied once it grows beyond 200 lines; the file keeps the
// 201 lines just written until the next error rewrites it.

#include "model/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace qloom {

inline constexpr std::string_view kScriptErrorLogName = "js.log";
inline constexpr size_t kScriptErrorListLimit = 200;

// Lines of a list box's text: "" has none, a trailing line break ends the last line.
std::vector<std::string> SplitListLines(std::string_view text);

// Writes every line followed by CR LF, replacing the file. Fails with "Cannot create file %s".
Status WriteScriptErrorLog(const std::string& path, const std::vector<std::string>& lines);

// True when the list has grown past the limit and is to be emptied (after the file was written).
bool ScriptErrorListOverflows(size_t lineCount);

} // namespace qloom
