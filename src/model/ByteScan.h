#pragma once

// Block-wise byte searches for the text hot paths (escaping for the script, line ends, reading
// a script back). Menu bodies are mostly ordinary characters with a quote, a backslash or a line
// break every few dozen bytes, so the work is finding the next such byte and moving the run
// before it in one piece. With SSE2 sixteen bytes are examined at a time; elsewhere one.

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qloom::bytescan {

template <char... Set> inline bool isAny(char c) {
    return ((c == Set) || ...);
}

#if defined(__SSE2__)

inline constexpr size_t kBlock = 16;

// Bit k is set when byte k of the sixteen at p is one of Set.
template <char... Set> inline unsigned blockMask(const char* p) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Set)))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

inline unsigned lowestBit(unsigned mask) {
    return static_cast<unsigned>(__builtin_ctz(mask));
}

#else

inline constexpr size_t kBlock = 1;

template <char... Set> inline unsigned blockMask(const char* p) {
    return isAny<Set...>(*p) ? 1u : 0u;
}

inline unsigned lowestBit(unsigned) {
    return 0;
}

#endif

// The first byte in [p, end) that is one of Set, or end.
template <char... Set> inline const char* findAny(const char* p, const char* end) {
    while (static_cast<size_t>(end - p) >= kBlock) {
        const unsigned mask = blockMask<Set...>(p);
        if (mask != 0)
            return p + lowestBit(mask);
        p += kBlock;
    }
    while (p < end && !isAny<Set...>(*p))
        ++p;
    return p;
}

// Copies the bytes from p up to the first one of Set (or end) to w and advances both past the
// copied run. Whole blocks are stored before the stop is known, so up to kBlock bytes beyond
// the run may be overwritten: the caller's buffer must have that much room after the run.
template <char... Set> inline void copyUntilAny(const char*& p, const char* end, char*& w) {
    while (static_cast<size_t>(end - p) >= kBlock) {
        const unsigned mask = blockMask<Set...>(p);
        std::memcpy(w, p, kBlock);
        if (mask != 0) {
            const unsigned run = lowestBit(mask);
            p += run;
            w += run;
            return;
        }
        p += kBlock;
        w += kBlock;
    }
    while (p < end && !isAny<Set...>(*p))
        *w++ = *p++;
}

// The first byte in [p, end) that is one of Set and directly follows a LF: where a line starts
// with one of them. A LF just before p does not count.
template <char... Set> inline const char* findLineStartingWith(const char* p, const char* end) {
    unsigned afterLf = 0;
#if defined(__SSE2__)
    while (static_cast<size_t>(end - p) >= kBlock) {
        const unsigned lfBits = blockMask<'\n'>(p);
        const unsigned starts = ((lfBits << 1) | afterLf) & blockMask<Set...>(p) & 0xFFFFu;
        if (starts != 0)
            return p + lowestBit(starts);
        afterLf = lfBits >> 15;
        p += kBlock;
    }
#endif
    for (; p < end; ++p) {
        if (afterLf != 0 && isAny<Set...>(*p))
            return p;
        afterLf = *p == '\n' ? 1u : 0u;
    }
    return end;
}

} // namespace qloom::bytescan
