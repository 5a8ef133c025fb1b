#include "model/internal/GluedWords.h"

#include "model/ByteScan.h"

#include "model/Conversions.h"

#include <algorithm>
#include <array>

namespace qloom {

namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || isBreak(c);
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum class Piece { Text, InlineTag, OtherTag, Comment, Raw };

// Tags that only change how text looks: a break between them and a word is still no space.
// Sorted by length: the checks read every tag of every menu on every change.
bool isInline(std::string_view name) {
    switch (name.size()) {
    case 1: {
        const char c = lower(name[0]);
        return c == 'a' || c == 'b' || c == 'i' || c == 'q' || c == 's' || c == 'u';
    }
    case 2:
        return EqualsIgnoringAsciiCase(name, "em") || EqualsIgnoringAsciiCase(name, "tt");
    case 3:
        return EqualsIgnoringAsciiCase(name, "big") || EqualsIgnoringAsciiCase(name, "sub") ||
               EqualsIgnoringAsciiCase(name, "sup") || EqualsIgnoringAsciiCase(name, "var") ||
               EqualsIgnoringAsciiCase(name, "kbd");
    case 4:
        return EqualsIgnoringAsciiCase(name, "font") || EqualsIgnoringAsciiCase(name, "span") ||
               EqualsIgnoringAsciiCase(name, "abbr") || EqualsIgnoringAsciiCase(name, "cite") ||
               EqualsIgnoringAsciiCase(name, "code") || EqualsIgnoringAsciiCase(name, "mark") ||
               EqualsIgnoringAsciiCase(name, "samp") || EqualsIgnoringAsciiCase(name, "nobr");
    case 5:
        return EqualsIgnoringAsciiCase(name, "small");
    case 6:
        return EqualsIgnoringAsciiCase(name, "strong") || EqualsIgnoringAsciiCase(name, "strike");
    default:
        return false;
    }
}

size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, size_t from) {
    for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i)
        if (EqualsIgnoringAsciiCase(text.substr(i, lowerNeedle.size()), lowerNeedle))
            return i;
    return std::string_view::npos;
}

// The end of a tag that starts at `at`: the first ">" outside a quoted attribute value (a quote
// opens a value only right after "=").
size_t tagEnd(std::string_view html, size_t at) {
    const char* const data = html.data();
    const size_t n = html.size();
    size_t i = at + 1;
    while (i < n) {
        const size_t k =
            static_cast<size_t>(bytescan::findAny<'>', '"', '\''>(data + i, data + n) - data);
        if (k >= n)
            return n;
        if (html[k] == '>')
            return k + 1;
        size_t b = k;
        while (b > at + 1 && isBlank(html[b - 1]))
            --b;
        if (html[b - 1] != '=') {
            i = k + 1;
            continue;
        }
        const size_t close = html.find(html[k], k + 1);
        if (close == std::string_view::npos)
            return n;
        i = close + 1;
    }
    return n;
}

// One piece of markup that starts with "<" at `start`.
struct Markup {
    size_t end = 0;
    Piece piece = Piece::OtherTag;
};

// Whether a "<" at `at` starts markup the way a browser's reader sees it (see HtmlFacts): a
// letter, "/", "!" or "?" must follow, else the "<" is text.
bool startsMarkup(std::string_view html, size_t at) {
    const char next = at + 1 < html.size() ? html[at + 1] : '\0';
    return isAlpha(next) || next == '/' || next == '!' || next == '?';
}

// Reads the markup at `at`: a comment, a tag, or a script or style sheet with its content.
Markup readMarkup(std::string_view html, size_t at) {
    const size_t n = html.size();
    Markup m;
    if (html.compare(at, 4, "<!--") == 0) {
        const size_t close = html.find("-->", at + 4);
        m.end = close == std::string_view::npos ? n : close + 3;
        m.piece = Piece::Comment;
        return m;
    }
    const bool closing = html[at + 1] == '/';
    const size_t nameStart = at + 1 + (closing ? 1 : 0);
    size_t nameEnd = nameStart;
    while (nameEnd < n && !isBlank(html[nameEnd]) && html[nameEnd] != '>' && html[nameEnd] != '/')
        ++nameEnd;
    const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
    m.end = tagEnd(html, at);
    if (isInline(name)) {
        m.piece = Piece::InlineTag;
    } else if (!closing && (EqualsIgnoringAsciiCase(name, "script") ||
                            EqualsIgnoringAsciiCase(name, "style"))) {
        const std::string_view close =
            EqualsIgnoringAsciiCase(name, "script") ? "</script" : "</style";
        const size_t found = findIgnoringCase(html, close, m.end);
        const size_t gt = found == std::string_view::npos ? n : html.find('>', found);
        m.end = gt == std::string_view::npos ? n : gt + 1;
        m.piece = Piece::Raw;
    }
    return m;
}

// What stands next to a break once the break is gone.
enum class Side { Nothing, Blank, Visible };

struct Neighbour {
    Side side = Side::Nothing;
    char c = '\0'; // the visible character itself (';' or '&' for an entity)
};

bool isBlankEntity(std::string_view name) {
    return EqualsIgnoringAsciiCase(name, "nbsp") || EqualsIgnoringAsciiCase(name, "#160") ||
           EqualsIgnoringAsciiCase(name, "#xa0") || EqualsIgnoringAsciiCase(name, "ensp") ||
           EqualsIgnoringAsciiCase(name, "emsp") || EqualsIgnoringAsciiCase(name, "thinsp") ||
           EqualsIgnoringAsciiCase(name, "#32") || EqualsIgnoringAsciiCase(name, "#x20");
}

Neighbour visibleOrBlank(bool blank, char c) {
    return blank ? Neighbour{Side::Blank, ' '} : Neighbour{Side::Visible, c};
}

// The character before text position `end` in [start, end), or Nothing. Line breaks vanish like
// the one being judged, so they are passed over.
Neighbour lastIn(std::string_view html, size_t start, size_t end) {
    while (end > start && isBreak(html[end - 1]))
        --end;
    if (end <= start)
        return {};
    const char c = html[end - 1];
    if (isBlank(c))
        return {Side::Blank, ' '};
    if (static_cast<unsigned char>(c) == 0xA0 && end - 1 > start &&
        static_cast<unsigned char>(html[end - 2]) == 0xC2)
        return {Side::Blank, ' '};
    if (c == ';') {
        const size_t from = end > start + 10 ? end - 10 : start;
        const size_t amp = html.substr(from, end - from).rfind('&');
        if (amp != std::string_view::npos) {
            const std::string_view name = html.substr(from + amp + 1, end - 1 - (from + amp + 1));
            if (!name.empty() && name.find_first_of(" \t\r\n<>&") == std::string_view::npos)
                return visibleOrBlank(isBlankEntity(name), '&');
        }
    }
    return {Side::Visible, c};
}

Neighbour firstIn(std::string_view html, size_t start, size_t end) {
    while (start < end && isBreak(html[start]))
        ++start;
    if (start >= end)
        return {};
    const char c = html[start];
    if (isBlank(c))
        return {Side::Blank, ' '};
    if (static_cast<unsigned char>(c) == 0xC2 && start + 1 < end &&
        static_cast<unsigned char>(html[start + 1]) == 0xA0)
        return {Side::Blank, ' '};
    if (c == '&') {
        const size_t semi = html.substr(start, std::min<size_t>(end - start, 11)).find(';');
        if (semi != std::string_view::npos && semi > 1) {
            const std::string_view name = html.substr(start + 1, semi - 1);
            if (name.find_first_of(" \t\r\n<>&") == std::string_view::npos)
                return visibleOrBlank(isBlankEntity(name), '&');
        }
    }
    return {Side::Visible, c};
}

// Characters that carry no glue on the side of the break where they stand.
bool joinsNothingBefore(char c) {
    return c == '-' || c == '(' || c == '[' || c == '{' || c == '/';
}

bool joinsNothingAfter(char c) {
    return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == ')' ||
           c == ']' || c == '}';
}

// Inside a tag: characters of a name or a value, which a vanished break runs together.
bool isTagWordChar(char c) {
    return !isBlank(c) && c != '<' && c != '>' && c != '=' && c != '"' && c != '\'' && c != '/';
}

// At most a dozen characters of the word that ends at `end` (or starts at `start`), cut at a
// character boundary so that UTF-8 stays whole.
std::string wordBefore(std::string_view html, size_t lowest, size_t end, bool inTag) {
    size_t start = end;
    while (start > lowest && end - start < 12) {
        const char c = html[start - 1];
        if (isBlank(c) || c == '>' || c == '<' || (inTag && !isTagWordChar(c)))
            break;
        --start;
    }
    while (start < end && (static_cast<unsigned char>(html[start]) & 0xC0) == 0x80)
        ++start;
    return std::string(html.substr(start, end - start));
}

std::string wordAfter(std::string_view html, size_t start, size_t highest, bool inTag) {
    size_t end = start;
    while (end < highest && end - start < 12) {
        const char c = html[end];
        if (isBlank(c) || c == '<' || c == '>' || (inTag && !isTagWordChar(c)))
            break;
        ++end;
    }
    while (end > start && end < highest && (static_cast<unsigned char>(html[end]) & 0xC0) == 0x80)
        --end;
    return std::string(html.substr(start, end - start));
}

// Breaks inside the tag [start, end) that run a name or value into the next.
void tagBreaks(std::string_view html, size_t start, size_t end, std::vector<GluedBreak>& out) {
    const char* const data = html.data();
    size_t i = start;
    while (true) {
        i = static_cast<size_t>(bytescan::findAny<'\r', '\n'>(data + i, data + end) - data);
        if (i >= end)
            return;
        const size_t runStart = i;
        while (i < end && isBreak(html[i]))
            ++i;
        if (i >= end || !isTagWordChar(html[runStart - 1]) || !isTagWordChar(html[i]))
            continue;
        GluedBreak& found = out.emplace_back();
        found.offset = runStart;
        found.insideTag = true;
        found.before = wordBefore(html, start, runStart, true);
        found.after = wordAfter(html, i, end, true);
    }
}

} // namespace

std::vector<GluedBreak> FindGluedBreaks(std::string_view html) {
    std::vector<GluedBreak> out;
    const char* const data = html.data();
    const size_t n = html.size();
    if (bytescan::findAny<'\r', '\n'>(data, data + n) == data + n)
        return out;

    size_t textStart = 0; // where the current stretch of text began
    size_t leftStart = 0; // the last earlier stretch of text that held a character,
    size_t leftEnd = 0;   // with only formatting tags and comments since
    bool leftValid = false;
    size_t judgedUntil = 0; // breaks before this were judged with the one before them
    size_t i = 0;
    while (i < n) {
        const size_t at =
            static_cast<size_t>(bytescan::findAny<'<', '\r', '\n'>(data + i, data + n) - data);
        if (at >= n)
            break;
        if (html[at] == '<') {
            if (!startsMarkup(html, at)) {
                i = at + 1; // a lone "<" is text
                continue;
            }
            if (lastIn(html, textStart, at).side != Side::Nothing) {
                leftStart = textStart;
                leftEnd = at;
                leftValid = true;
            }
            const Markup m = readMarkup(html, at);
            if (m.piece == Piece::InlineTag || m.piece == Piece::OtherTag)
                tagBreaks(html, at, m.end, out);
            if (m.piece == Piece::OtherTag || m.piece == Piece::Raw)
                leftValid = false;
            i = m.end;
            textStart = i;
            continue;
        }
        // A run of line breaks in text.
        size_t runEnd = at;
        while (runEnd < n && isBreak(html[runEnd]))
            ++runEnd;
        i = runEnd;
        if (at < judgedUntil)
            continue; // a break before it looked across this one already
        Neighbour left = lastIn(html, textStart, at);
        size_t wordEnd = at, wordLowest = textStart;
        if (left.side == Side::Nothing && leftValid) {
            left = lastIn(html, leftStart, leftEnd);
            wordEnd = leftEnd;
            wordLowest = leftStart;
            while (wordEnd > wordLowest && isBreak(html[wordEnd - 1]))
                --wordEnd;
        }
        if (left.side != Side::Visible || joinsNothingBefore(left.c))
            continue;
        // Looks ahead through formatting tags and comments to the next character.
        Neighbour right;
        size_t wordStart = runEnd, wordHighest = n;
        for (size_t k = runEnd; k < n;) {
            size_t lt = html.find('<', k);
            while (lt != std::string_view::npos && !startsMarkup(html, lt))
                lt = html.find('<', lt + 1);
            const size_t stop = lt == std::string_view::npos ? n : lt;
            right = firstIn(html, k, stop);
            if (right.side != Side::Nothing) {
                wordStart = k;
                while (wordStart < stop && isBreak(html[wordStart]))
                    ++wordStart;
                wordHighest = stop;
                break;
            }
            if (stop >= n)
                break;
            const Markup m = readMarkup(html, stop);
            if (m.piece != Piece::InlineTag && m.piece != Piece::Comment)
                break;
            k = m.end;
        }
        if (right.side != Side::Nothing)
            judgedUntil = wordStart;
        if (right.side != Side::Visible || joinsNothingAfter(right.c))
            continue;
        GluedBreak& found = out.emplace_back();
        found.offset = at;
        found.before = wordBefore(html, wordLowest, wordEnd, false);
        found.after = wordAfter(html, wordStart, wordHighest, false);
    }
    return out;
}

} // namespace qloom
