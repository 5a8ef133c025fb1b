#include "script/LineEnds.h"

#include <cstdint>
#include <cstring>

namespace qloom {

namespace {

// True when one of the eight bytes of `word` equals `byte` (exact: no false answers).
inline bool hasByte(uint64_t word, char byte) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    const uint64_t x = word ^ (kOnes * static_cast<uint8_t>(byte));
    return ((x - kOnes) & ~x & (kOnes << 7)) != 0;
}

} // namespace

bool HasOnlyCrLfBreaks(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        // Most of a script is line content: step over eight bytes at a time without a break.
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (hasByte(word, '\r') || hasByte(word, '\n'))
                break;
            p += 8;
        }
        if (p == end)
            break;
        const char c = *p++;
        if (c == '\r') {
            if (p == end || *p != '\n')
                return false;
            ++p;
        } else if (c == '\n') {
            return false;
        }
    }
    return true;
}

void AppendLinesCrLf(std::string& out, std::string_view text) {
    // Texts this program wrote are already in this form; copy them in one piece.
    if (HasOnlyCrLfBreaks(text)) {
        out.append(text);
        if (!text.empty() && text.back() != '\n')
            out.append("\r\n");
        return;
    }
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
