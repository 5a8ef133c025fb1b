#pragma once

// The list of script errors the preview page reported during this run, mirrored into js.log. The
// list keeps its latest kScriptErrorListLimit lines (older ones fall off the top) and js.log is
// rewritten whole with them.

#include "model/Result.h"

#include <deque>
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

// The lines themselves: what the page reported, byte for byte, at most kScriptErrorListLimit of
// them. js.log and anything that shows the errors are written from here and nowhere else.
class ScriptErrorLog {
public:
    // Adds one line at the end; past the limit the oldest line falls off the top.
    void append(std::string line);
    const std::deque<std::string>& lines() const { return lines_; }
    size_t size() const { return lines_.size(); }
    // The lines joined by line feeds, without a trailing one (as a list box shows them).
    std::string text() const;
    // Replaces the file at `path` with every line followed by CR LF.
    Status writeTo(const std::string& path) const;

private:
    std::deque<std::string> lines_;
};

} // namespace qloom
