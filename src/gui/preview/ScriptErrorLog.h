#pragma once

// The list of script errors the preview page reported during this run, mirrored into js.log. The
// list keeps its latest kScriptErrorListLimit lines (older ones fall off the top) and js.log is
// rewritten whole with them.

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

} // namespace qloom
