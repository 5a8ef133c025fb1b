#include "script/LineEnds.h"

namespace qloom {

void AppendLinesCrLf(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + text.size() / 32 + 2);
    size_t lineStart = 0;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        out.append(text.substr(lineStart, i - lineStart));
        out.append("\r\n");
        i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
        lineStart = i;
    }
    if (lineStart < n) {
        out.append(text.substr(lineStart));
        out.append("\r\n");
    }
}

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    AppendLinesCrLf(out, text);
    return out;
}

} // namespace qloom
