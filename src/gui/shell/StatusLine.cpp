#include "gui/shell/internal/StatusLine.h"

#include "model/Messages.h"

#include <vector>

namespace qloom {

namespace {
// Byte offset where each character starts, plus the total size at the end. A stray
// continuation byte counts as a character of its own so that malformed text still shortens.
std::vector<size_t> characterStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation || starts.empty() ||
            (static_cast<unsigned char>(text[starts.back()]) & 0x80) == 0)
            starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}
} // namespace

std::string StatusLineText(std::string_view folder) {
    return std::string(msg::kActiveProjectPrefix) + std::string(folder);
}

std::string ShortenStatusText(std::string_view full, const TextWidthFn& width, int limit) {
    std::string text(full);
    const std::vector<size_t> starts = characterStarts(full);
    const long count = static_cast<long>(starts.size()) - 1;
    const long middle = count / 2;
    const long minHead = static_cast<long>(msg::kActiveProjectPrefix.size());
    long k = 2;
    while (width(text) > limit) {
        ++k;
        long head = middle - k;
        if (head < minHead)
            head = minHead;
        const long tail = middle + k;
        const size_t headEnd = head + 1 < count ? starts[head + 1] : full.size();
        text = std::string(full.substr(0, headEnd)) + "...";
        if (tail >= count)
            break;
        text += full.substr(starts[tail]);
    }
    return text;
}

} // namespace qloom
