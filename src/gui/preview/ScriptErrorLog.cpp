#include "gui/preview/ScriptErrorLog.h"

#include "model/Messages.h"

#include <cstdio>

namespace qloom {

std::vector<std::string> SplitListLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

Status WriteScriptErrorLog(const std::string& path, const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return Status::failure(msg::Format(msg::kCannotCreateFile, path));
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return Status::failure(msg::Format(msg::kCannotCreateFile, path));
    return Status::success();
}

void ScriptErrorLog::append(std::string line) {
    lines_.push_back(std::move(line));
    while (lines_.size() > kScriptErrorListLimit)
        lines_.pop_front();
}

std::string ScriptErrorLog::text() const {
    std::string joined;
    for (const std::string& line : lines_) {
        if (&line != &lines_.front())
            joined += '\n';
        joined += line;
    }
    return joined;
}

Status ScriptErrorLog::writeTo(const std::string& path) const {
    return WriteScriptErrorLog(path, std::vector<std::string>(lines_.begin(), lines_.end()));
}

} // namespace qloom
