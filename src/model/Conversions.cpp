#include "model/Conversions.h"

#include "model/ByteScan.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace qloom {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kNoBreakOpen = "<nObR>";
constexpr std::string_view kNoBreakClose = "</nObR>";

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Every line break (CR LF, lone CR, lone LF) becomes CR LF, so a break of any origin ends up
// as the same line continuation in the script and reads back as CR LF.
std::string NormaliseLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string ColorToHtml(ColorValue value) {
    std::string out = "#";
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned byte = (value >> shift) & 0xFFu;
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xFu];
    }
    return out;
}

bool TryHtmlToColor(std::string_view text, ColorValue& out) {
    if (text.size() < 7)
        return false;
    ColorValue result = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const int high = HexDigitValue(text[1 + 2 * channel]);
        const int low = HexDigitValue(text[2 + 2 * channel]);
        if (high < 0 || low < 0)
            return false;
        result |= static_cast<ColorValue>(high * 16 + low) << (8 * channel);
    }
    out = result;
    return true;
}

ColorValue HtmlToColor(std::string_view text) {
    ColorValue value = 0;
    return TryHtmlToColor(text, value) ? value : 0;
}

bool IsKeptColourText(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && c != '#' && c != '(' && c != ')' && c != ',' && c != '.' && c != '%' &&
            c != ' ')
            return false;
    }
    return true;
}

void AppendJsEscaped(std::string& out, std::string_view html) {
    if (html.empty())
        return;
    const size_t start = out.size();
    out.resize(start + JsEscapedRoom(html.size()));
    char* const base = &out[0];
    char* const end = WriteJsEscaped(base + start, html);
    out.resize(static_cast<size_t>(end - base));
}

static_assert(bytescan::kBlock <= 16, "JsEscapedRoom has room for one block");

char* WriteJsEscaped(char* w, std::string_view html) {
    const char* p = html.data();
    const char* const end = p + html.size();
#if defined(__SSE2__)
    // A body has something to escape every few bytes. Each block is examined once and all its
    // stops are taken from the same mask; only whole blocks while two are left, so that every
    // read here stays inside the text. Each stop takes exactly one byte (the LF of a CR LF is a
    // stop of its own that writes nothing), so finding the next stop never waits for a load.
    const char* const begin = p;
    while (end - p >= 32) {
        unsigned stops = bytescan::blockMask<'\\', '"', '\r', '\n'>(p);
        unsigned pos = 0;
        while (stops != 0) {
            const unsigned k = bytescan::lowestBit(stops);
            stops &= stops - 1;
            std::memcpy(w, p + pos, 16);
            w += k - pos;
            pos = k + 1;
            const char c = p[k];
            const char before = p + k > begin ? (p + k)[-1] : '\0';
            const bool isBreak = c == '\r' || c == '\n';
            w[0] = '\\';
            w[1] = isBreak ? '\r' : c;
            w[2] = '\n';
            const bool pairedLf = c == '\n' && before == '\r';
            w += pairedLf ? 0 : (isBreak ? 3 : 2);
        }
        std::memcpy(w, p + pos, 16);
        w += 16 - pos;
        p += 16;
    }
    // A CR at the end of the last block has had its continuation written; its LF, if it
    // follows, belongs to it.
    if (p > begin && p < end && p[-1] == '\r' && *p == '\n')
        ++p;
#endif
    for (;;) {
        bytescan::copyUntilAny<'\\', '"', '\r', '\n'>(p, end, w);
        if (p == end)
            break;
        const char c = *p++;
        *w++ = '\\';
        if (c == '\\' || c == '"') {
            *w++ = c;
            continue;
        }
        // Any break (CR LF, lone CR, lone LF) becomes the same line continuation.
        *w++ = '\r';
        *w++ = '\n';
        if (c == '\r' && p < end && *p == '\n')
            ++p;
    }
    return w;
}

std::string EscapeJsString(std::string_view html) {
    std::string out;
    AppendJsEscaped(out, html);
    return out;
}

const char* WriteJsUnescaped(const char* r, const char* end, char*& out) {
    // Worked on in a local: a byte stored through a char pointer may alias a pointer held by
    // reference, which would make the compiler reload it after every store.
    char* w = out;
#if defined(__SSE2__)
    // A body has an escape every few bytes. Each block is examined once and all its stops are
    // taken from the same two masks; only whole blocks while two are left, so that every read
    // here stays inside the text.
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    while (end - r >= 32) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
        const unsigned quotes =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, quote)));
        unsigned stops =
            quotes | static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, backslash)));
        unsigned pos = 0;
        while (stops != 0) {
            const unsigned k = bytescan::lowestBit(stops);
            std::memcpy(w, r + pos, 16);
            w += k - pos;
            if ((quotes >> k) & 1u) {
                out = w;
                return r + k + 1;
            }
            // Without branching on the kind of escape, which varies from one to the next:
            // \\ and \" give the character, a continuation drops only the backslash (its
            // CR LF stays), and before anything else the backslash stays.
            const char next = r[k + 1];
            const bool pair = next == '\\' || next == '"';
            *w = pair ? next : '\\';
            w += next != '\r' ? 1 : 0;
            pos = k + (pair ? 2 : 1);
            stops &= ~((1u << pos) - 1u);
        }
        if (pos < 16) {
            std::memcpy(w, r + pos, 16);
            w += 16 - pos;
            pos = 16;
        }
        r += pos;
    }
#endif
    while (r < end) {
        bytescan::copyUntilAny<'"', '\\'>(r, end, w);
        if (r == end)
            break;
        if (*r == '"') {
            out = w;
            return r + 1;
        }
        // A backslash at the very end stays.
        if (r + 1 == end) {
            *w++ = *r;
            break;
        }
        const char next = r[1];
        const bool pair = next == '\\' || next == '"';
        *w = pair ? next : '\\';
        w += next != '\r' ? 1 : 0;
        r += pair ? 2 : 1;
    }
    out = w;
    return nullptr;
}

std::string UnescapeJsString(std::string_view content) {
    // The result is never longer than the content.
    std::string out(JsUnescapedRoom(content.size()), '\0');
    char* const base = &out[0];
    char* w = base;
    WriteJsUnescaped(content.data(), content.data() + content.size(), w);
    out.resize(static_cast<size_t>(w - base));
    return out;
}

std::string_view StripNoBreak(std::string_view html) {
    const size_t markers = kNoBreakOpen.size() + kNoBreakClose.size();
    if (html.size() >= markers && html.substr(0, kNoBreakOpen.size()) == kNoBreakOpen &&
        html.substr(html.size() - kNoBreakClose.size()) == kNoBreakClose)
        return html.substr(kNoBreakOpen.size(), html.size() - markers);
    return html;
}

std::string CleanSettingText(std::string_view text, std::string_view defaultText) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '"' || c == '\'' || c == '/' || c == ':')
            continue;
        kept += c;
    }
    // A bare LF would end the script's string literal in the middle; as a CR LF it becomes a
    // line continuation like every other break.
    std::string out;
    for (const char c : NormaliseLineBreaks(kept)) {
        if (c == '\r')
            out += '\\';
        out += c;
    }
    if (out.empty() && !defaultText.empty())
        return std::string(defaultText);
    return out;
}

std::string_view TrimBlanksView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string TrimBlanks(std::string_view text) {
    return std::string(TrimBlanksView(text));
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool TryParseInt(std::string_view text, int32_t& out) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view rest = text.substr(i);
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

    // "$1F" or "0x1F": unsigned, must still fit the signed range.
    size_t hexStart = 0;
    if (!rest.empty() && rest[0] == '$')
        hexStart = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        hexStart = 2;
    if (hexStart > 0) {
        if (rest.size() == hexStart)
            return false;
        int64_t value = 0;
        for (size_t k = hexStart; k < rest.size(); ++k) {
            const int digit = HexDigitValue(rest[k]);
            if (digit < 0)
                return false;
            value = value * 16 + digit;
            if (value > kMax)
                return false;
        }
        out = static_cast<int32_t>(value);
        return true;
    }

    size_t k = 0;
    bool negative = false;
    if (k < rest.size() && (rest[k] == '-' || rest[k] == '+')) {
        negative = rest[k] == '-';
        ++k;
    }
    if (k == rest.size())
        return false;
    const int64_t limit = negative ? kMax + 1 : kMax;
    int64_t value = 0;
    for (; k < rest.size(); ++k) {
        const char c = rest[k];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > limit)
            return false;
    }
    out = static_cast<int32_t>(negative ? -value : value);
    return true;
}

int32_t ParseIntOr(std::string_view text, int32_t defaultValue) {
    int32_t value = 0;
    return TryParseInt(text, value) ? value : defaultValue;
}

int32_t ClampInt(int32_t value, int32_t lower, int32_t upper) {
    if (value < lower)
        value = lower;
    if (value > upper)
        value = upper;
    return value;
}

} // namespace qloom
