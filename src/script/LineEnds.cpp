#include "script/internal/LineEnds.h"

#include "model/ByteScan.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qloom {

bool HasOnlyCrLfBreaks(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
#if defined(__SSE2__)
    // Per block of sixteen: every LF must have a CR just before it and every CR an LF just
    // after it, i.e. the LF bits are the CR bits moved up by one (the CR of the previous
    // block's last byte carried in). A CR in the last byte is settled by the next block.
    unsigned carry = 0;
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (static_cast<size_t>(end - p) >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned crBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)));
        const unsigned lfBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        if (lfBits != (((crBits << 1) | carry) & 0xFFFFu))
            return false;
        carry = crBits >> 15;
        p += 16;
    }
    if (carry != 0) {
        if (p == end || *p != '\n')
            return false;
        ++p;
    }
#endif
    while (p < end) {
        p = bytescan::findAny<'\r', '\n'>(p, end);
        if (p == end)
            break;
        if (*p == '\n' || p + 1 == end || p[1] != '\n')
            return false;
        p += 2;
    }
    return true;
}

void AppendLinesCrLf(std::string& out, std::string_view text) {
    // Texts this program wrote are already in this form and are copied as they are. The check
    // and the copy go piece by piece, so that each piece is still in the cache when it is
    // copied; a piece never ends between the CR and the LF of a pair.
    constexpr size_t kPiece = 8192;
    const size_t start = out.size();
    out.reserve(start + text.size() + 2);
    bool clean = true;
    for (size_t at = 0; at < text.size();) {
        size_t size = std::min(kPiece, text.size() - at);
        if (text[at + size - 1] == '\r' && at + size < text.size())
            ++size;
        const std::string_view piece = text.substr(at, size);
        if (!HasOnlyCrLfBreaks(piece)) {
            clean = false;
            break;
        }
        out.append(piece);
        at += size;
    }
    if (clean) {
        if (!text.empty() && text.back() != '\n')
            out.append("\r\n");
        return;
    }
    out.resize(start);
    out.reserve(start + text.size() + text.size() / 32 + 2);
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* const lineEnd = bytescan::findAny<'\r', '\n'>(p, end);
        out.append(p, static_cast<size_t>(lineEnd - p));
        out.append("\r\n");
        if (lineEnd == end)
            break;
        p = lineEnd + ((*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') ? 2 : 1);
    }
}

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    AppendLinesCrLf(out, text);
    return out;
}

} // namespace qloom
