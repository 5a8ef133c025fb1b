#include "model/GluedWords.h"

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

bool sameWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (lower(text[i]) != lowerWord[i])
            return false;
    return true;
}

enum class Piece { Text, InlineTag, OtherTag, Comment, Raw };

struct Token {
    size_t start = 0, end = 0;
    Piece piece = Piece::Text;
};

// Tags that only change how text looks: a break between them and a word is still no space.
bool isInline(std::string_view name) {
    static constexpr std::array<std::string_view, 24> kInline = {
        "a",      "abbr",   "b",    "big", "cite", "code", "em",    "font",
        "i",      "kbd",    "mark", "q",   "s",    "samp", "small", "span",
        "strike", "strong", "sub",  "sup", "tt",   "u",    "var",   "nobr"};
    return std::any_of(kInline.begin(), kInline.end(),
                       [name](std::string_view word) { return sameWord(name, word); });
}

size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, size_t from) {
    for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i)
        if (sameWord(text.substr(i, lowerNeedle.size()), lowerNeedle))
            return i;
    return std::string_view::npos;
}

// The end of a tag that starts at `at`: the first ">" outside a quoted attribute value.
size_t tagEnd(std::string_view html, size_t at) {
    char last = '\0';
    for (size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '>')
            return i + 1;
        if ((c == '"' || c == '\'') && last == '=') {
            const size_t close = html.find(c, i + 1);
            if (close == std::string_view::npos)
                return html.size();
            i = close;
            last = c;
            continue;
        }
        if (!isBlank(c))
            last = c;
    }
    return html.size();
}

// Splits the HTML the way a browser's reader does (see HtmlFacts): text, tags, comments, and
// the content of scripts and style sheets, which is no text.
std::vector<Token> tokenize(std::string_view html) {
    std::vector<Token> tokens;
    size_t textStart = 0;
    size_t i = 0;
    const size_t n = html.size();
    const auto addText = [&](size_t end) {
        if (end > textStart)
            tokens.push_back({textStart, end, Piece::Text});
    };
    while (i < n) {
        i = html.find('<', i);
        if (i == std::string_view::npos)
            break;
        const char next = i + 1 < n ? html[i + 1] : '\0';
        if (!(isAlpha(next) || next == '/' || next == '!' || next == '?')) {
            ++i;
            continue;
        }
        addText(i);
        Token token{i, n, Piece::OtherTag};
        if (html.compare(i, 4, "<!--") == 0) {
            const size_t close = html.find("-->", i + 4);
            token.end = close == std::string_view::npos ? n : close + 3;
            token.piece = Piece::Comment;
        } else {
            size_t nameStart = i + 1 + (next == '/' ? 1 : 0);
            size_t nameEnd = nameStart;
            while (nameEnd < n && !isBlank(html[nameEnd]) && html[nameEnd] != '>' &&
                   html[nameEnd] != '/')
                ++nameEnd;
            const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
            token.end = tagEnd(html, i);
            if (isInline(name)) {
                token.piece = Piece::InlineTag;
            } else if (next != '/' && (sameWord(name, "script") || sameWord(name, "style"))) {
                const std::string_view close = sameWord(name, "script") ? "</script" : "</style";
                const size_t at = findIgnoringCase(html, close, token.end);
                const size_t gt = at == std::string_view::npos ? n : html.find('>', at);
                token.end = gt == std::string_view::npos ? n : gt + 1;
                token.piece = Piece::Raw;
            }
        }
        tokens.push_back(token);
        i = token.end;
        textStart = i;
    }
    addText(n);
    return tokens;
}

// What stands next to a break once the break is gone.
enum class Side { Nothing, Blank, Visible };

struct Neighbour {
    Side side = Side::Nothing;
    char c = '\0'; // the visible character itself (';' or '&' for an entity)
};

bool isBlankEntity(std::string_view name) {
    return sameWord(name, "nbsp") || sameWord(name, "#160") || sameWord(name, "#xa0") ||
           sameWord(name, "ensp") || sameWord(name, "emsp") || sameWord(name, "thinsp") ||
           sameWord(name, "#32") || sameWord(name, "#x20");
}

Neighbour visibleOrBlank(bool blank, char c) {
    return blank ? Neighbour{Side::Blank, ' '} : Neighbour{Side::Visible, c};
}

// The character before text position `end` (exclusive) in [start, end), or Nothing.
Neighbour lastIn(std::string_view html, size_t start, size_t end) {
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

} // namespace

std::vector<GluedBreak> FindGluedBreaks(std::string_view html) {
    std::vector<GluedBreak> out;
    if (html.find_first_of("\r\n") == std::string_view::npos)
        return out;
    const std::vector<Token> tokens = tokenize(html);
    for (size_t t = 0; t < tokens.size(); ++t) {
        const Token& token = tokens[t];
        if (token.piece == Piece::Comment || token.piece == Piece::Raw)
            continue;
        const bool inTag = token.piece != Piece::Text;
        size_t i = token.start;
        while (i < token.end) {
            if (!isBreak(html[i])) {
                ++i;
                continue;
            }
            const size_t runStart = i;
            while (i < token.end && isBreak(html[i]))
                ++i;
            const size_t runEnd = i;
            GluedBreak found;
            found.offset = runStart;
            found.insideTag = inTag;
            if (inTag) {
                if (runStart == token.start || runEnd == token.end)
                    continue;
                if (!isTagWordChar(html[runStart - 1]) || !isTagWordChar(html[runEnd]))
                    continue;
                found.before = wordBefore(html, token.start, runStart, true);
                found.after = wordAfter(html, runEnd, token.end, true);
                out.push_back(std::move(found));
                continue;
            }
            // Walks outwards through formatting tags and comments to the nearest character.
            Neighbour left = lastIn(html, token.start, runStart);
            size_t leftEnd = runStart, leftLowest = token.start;
            for (size_t k = t; left.side == Side::Nothing && k-- > 0;) {
                const Token& prev = tokens[k];
                if (prev.piece == Piece::Text) {
                    left = lastIn(html, prev.start, prev.end);
                    leftEnd = prev.end;
                    leftLowest = prev.start;
                } else if (prev.piece != Piece::InlineTag && prev.piece != Piece::Comment) {
                    break;
                }
            }
            if (left.side != Side::Visible || joinsNothingBefore(left.c))
                continue;
            Neighbour right = firstIn(html, runEnd, token.end);
            size_t rightStart = runEnd, rightHighest = token.end;
            for (size_t k = t + 1; right.side == Side::Nothing && k < tokens.size(); ++k) {
                const Token& next = tokens[k];
                if (next.piece == Piece::Text) {
                    right = firstIn(html, next.start, next.end);
                    rightStart = next.start;
                    rightHighest = next.end;
                } else if (next.piece != Piece::InlineTag && next.piece != Piece::Comment) {
                    break;
                }
            }
            if (right.side != Side::Visible || joinsNothingAfter(right.c))
                continue;
            found.before = wordBefore(html, leftLowest, leftEnd, false);
            found.after = wordAfter(html, rightStart, rightHighest, false);
            out.push_back(std::move(found));
        }
    }
    return out;
}

} // namespace qloom
