#include "model/HtmlFacts.h"

#include "model/internal/Contrast.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace qloom {

namespace {

constexpr double kPxPerPoint = 96.0 / 72.0;
constexpr double kLineHeightEm = 1.15;
constexpr double kCharWidthEm = 0.5;

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Character classes of the tag reader, one table look-up per byte.
enum : uint8_t { kBlank = 1, kSlash = 2, kEquals = 4, kGreater = 8 };
const std::array<uint8_t, 256> kClass = [] {
    std::array<uint8_t, 256> t{};
    for (char c : {' ', '\t', '\r', '\n', '\f'})
        t[static_cast<unsigned char>(c)] = kBlank;
    t['/'] = kSlash;
    t['='] = kEquals;
    t['>'] = kGreater;
    return t;
}();

// Position of the first character at or after `i` whose class is in `stop`, or `n`.
size_t skipUntil(std::string_view s, size_t i, uint8_t stop) {
    while (i < s.size() && !(kClass[static_cast<unsigned char>(s[i])] & stop))
        ++i;
    return i;
}

size_t skipWhile(std::string_view s, size_t i, uint8_t keep) {
    while (i < s.size() && (kClass[static_cast<unsigned char>(s[i])] & keep))
        ++i;
    return i;
}

// `lowerWord` holds lower-case letters, digits, "#", "<" and "/" only, so setting the case bit of
// the text's characters is enough to compare them.
bool sameWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != lowerWord[i])
            return false;
    return true;
}

// Position of `lowerNeedle` in `text` from `from`, ignoring case; npos when absent.
size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, size_t from) {
    if (lowerNeedle.size() > text.size())
        return std::string_view::npos;
    for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i)
        if (sameWord(text.substr(i, lowerNeedle.size()), lowerNeedle))
            return i;
    return std::string_view::npos;
}

// Leading decimal digits ("120", "120px", "50%" gives 50); -1 when there are none.
int32_t leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    int64_t value = -1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>((value < 0 ? 0 : value) * 10 + (text[i] - '0'), 100000);
    return static_cast<int32_t>(value);
}

// FONT SIZE: 1 to 7, or relative to 3 with a sign. The browser maps the steps to fixed sizes
// (x-small ... xxx-large) whatever the surrounding font size is.
bool fontSizePoints(std::string_view text, double& points) {
    static constexpr std::array<double, 7> kSteps = {7.5, 9.75, 12, 13.5, 18, 24, 36};
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    int sign = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        sign = text[i++] == '+' ? 1 : -1;
    const int32_t n = leadingNumber(text.substr(i));
    if (n < 0)
        return false;
    const int64_t step = sign == 0 ? n : 3 + sign * static_cast<int64_t>(n);
    points = kSteps[static_cast<size_t>(std::clamp<int64_t>(step, 1, 7) - 1)];
    return true;
}

bool classListHas(std::string_view classes, std::string_view lowerName) {
    size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && isSpace(classes[i]))
            ++i;
        size_t end = i;
        while (end < classes.size() && !isSpace(classes[end]))
            ++end;
        if (end > i && sameWord(classes.substr(i, end - i), lowerName))
            return true;
        i = end;
    }
    return false;
}

// Visible characters hold something other than blanks and no-break spaces.
struct TextRun {
    bool visible = false;
    int32_t characters = 0; // for the width estimate; line breaks in the source do not count
};

TextRun readRun(std::string_view text) {
    TextRun run;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            const size_t semi = text.find(';', i + 1);
            if (semi != std::string_view::npos && semi - i <= 10) {
                const std::string_view name = text.substr(i + 1, semi - i - 1);
                const bool blank =
                    sameWord(name, "nbsp") || sameWord(name, "#160") || sameWord(name, "#xa0");
                run.visible = run.visible || !blank;
                ++run.characters;
                i = semi;
                continue;
            }
        }
        if (c == ' ' || static_cast<unsigned char>(c) == 0xA0) {
            ++run.characters;
        } else if (!isSpace(c)) {
            run.visible = true;
            ++run.characters;
        }
    }
    return run;
}

// The attributes of one tag that the checks look at.
struct Attributes {
    bool hasAlt = false, hasHref = false;
    std::string_view alt, color, size, height, width, classes;
};

enum class Tag { Other, Img, A, Font, Bold, Heading, Br, Block, Skipped };

// Sorted by length first: the checks read every tag of every menu on every change, and most
// names are rejected by their length and first letter.
Tag classify(std::string_view name, int& headingLevel) {
    const char first = name.empty() ? '\0' : lower(name[0]);
    switch (name.size()) {
    case 1:
        return first == 'a'   ? Tag::A
               : first == 'b' ? Tag::Bold
               : first == 'p' ? Tag::Block
                              : Tag::Other;
    case 2:
        if (first == 'h' && name[1] >= '1' && name[1] <= '6') {
            headingLevel = name[1] - '0';
            return Tag::Heading;
        }
        if (sameWord(name, "br"))
            return Tag::Br;
        return (sameWord(name, "li") || sameWord(name, "tr") || sameWord(name, "ul") ||
                sameWord(name, "ol") || sameWord(name, "hr") || sameWord(name, "dl") ||
                sameWord(name, "dt") || sameWord(name, "dd"))
                   ? Tag::Block
                   : Tag::Other;
    case 3:
        if (sameWord(name, "img"))
            return Tag::Img;
        return (sameWord(name, "div") || sameWord(name, "pre")) ? Tag::Block : Tag::Other;
    case 4:
        return sameWord(name, "font") ? Tag::Font : Tag::Other;
    case 5:
        if (sameWord(name, "style"))
            return Tag::Skipped;
        return sameWord(name, "table") ? Tag::Block : Tag::Other;
    case 6:
        if (sameWord(name, "strong"))
            return Tag::Bold;
        if (sameWord(name, "script"))
            return Tag::Skipped;
        return sameWord(name, "center") ? Tag::Block : Tag::Other;
    case 7:
        return sameWord(name, "address") ? Tag::Block : Tag::Other;
    case 10:
        return sameWord(name, "blockquote") ? Tag::Block : Tag::Other;
    default:
        return Tag::Other;
    }
}

class Scanner {
public:
    Scanner(std::string_view html, const HtmlContext& context) : html_(html), ctx_(context) {}

    HtmlFacts run() {
        size_t i = 0;
        const size_t n = html_.size();
        size_t textStart = 0;
        while (i < n) {
            const char* lt = static_cast<const char*>(std::memchr(html_.data() + i, '<', n - i));
            if (!lt)
                break;
            i = static_cast<size_t>(lt - html_.data());
            const char next = i + 1 < n ? html_[i + 1] : '\0';
            if (!(isAlpha(next) || next == '/' || next == '!' || next == '?')) {
                ++i; // a lone "<" is text
                continue;
            }
            text(html_.substr(textStart, i - textStart));
            i = markup(i);
            textStart = i;
        }
        if (textStart < n)
            text(html_.substr(textStart));
        if (inLink_)
            endLink();
        endLine(false);
        return facts_;
    }

private:
    enum class Kind : uint8_t { Font, Link, Bold, Heading };
    struct Entry {
        Kind kind;
        bool setsColor = false, setsPoints = false, setsBold = false;
        ColorValue color = 0;
        TextColorSource source = TextColorSource::ClassRule;
        double points = 0;
    };
    static constexpr size_t kDepth = 32;

    // Returns the position after the markup starting at `at` (a "<").
    size_t markup(size_t at) {
        const size_t n = html_.size();
        if (html_.compare(at, 4, "<!--") == 0) {
            const size_t end = html_.find("-->", at + 4);
            return end == std::string_view::npos ? n : end + 3;
        }
        size_t i = at + 1;
        const bool closing = html_[i] == '/';
        if (closing)
            ++i;
        if (i >= n || !isAlpha(html_[i])) { // "<!DOCTYPE", "<?xml", "</ x": up to the next ">"
            const size_t end = html_.find('>', i);
            return end == std::string_view::npos ? n : end + 1;
        }
        const size_t nameStart = i;
        i = skipUntil(html_, i, kBlank | kSlash | kGreater);
        int headingLevel = 0;
        const Tag tag = classify(html_.substr(nameStart, i - nameStart), headingLevel);
        Attributes attrs;
        i = attributes(i, attrs);
        if (closing)
            close(tag);
        else
            open(tag, attrs, headingLevel);
        if (!closing && tag == Tag::Skipped) { // the content of a script or style sheet is no text
            const std::string_view endTag =
                lower(html_[nameStart]) == 's' && lower(html_[nameStart + 1]) == 'c' ? "</script"
                                                                                     : "</style";
            const size_t end = findIgnoringCase(html_, endTag, i);
            if (end == std::string_view::npos)
                return n;
            const size_t gt = html_.find('>', end);
            return gt == std::string_view::npos ? n : gt + 1;
        }
        return i;
    }

    // Reads attributes from `i` up to and including the closing ">".
    size_t attributes(size_t i, Attributes& attrs) {
        const size_t n = html_.size();
        while (i < n) {
            i = skipWhile(html_, i, kBlank | kSlash);
            if (i >= n)
                return n;
            if (html_[i] == '>')
                return i + 1;
            const size_t nameStart = i;
            ++i; // a name may begin with "=" or a quote; it is still one character of name
            i = skipUntil(html_, i, kBlank | kEquals | kGreater | kSlash);
            const std::string_view name = html_.substr(nameStart, i - nameStart);
            i = skipWhile(html_, i, kBlank);
            std::string_view value;
            if (i < n && html_[i] == '=') {
                ++i;
                i = skipWhile(html_, i, kBlank);
                if (i < n && (html_[i] == '"' || html_[i] == '\'')) {
                    const char quote = html_[i++];
                    size_t end = html_.find(quote, i);
                    if (end == std::string_view::npos)
                        end = n;
                    value = html_.substr(i, end - i);
                    i = end < n ? end + 1 : n;
                } else {
                    const size_t start = i;
                    i = skipUntil(html_, i, kBlank | kGreater);
                    value = html_.substr(start, i - start);
                }
            }
            remember(name, value, attrs);
        }
        return n;
    }

    static void remember(std::string_view name, std::string_view value, Attributes& attrs) {
        switch (name.size()) {
        case 3:
            if (sameWord(name, "alt")) {
                attrs.hasAlt = true;
                attrs.alt = value;
            }
            break;
        case 4:
            if (sameWord(name, "href"))
                attrs.hasHref = true;
            else if (sameWord(name, "size"))
                attrs.size = value;
            break;
        case 5:
            if (sameWord(name, "color"))
                attrs.color = value;
            else if (sameWord(name, "width"))
                attrs.width = value;
            else if (sameWord(name, "class"))
                attrs.classes = value;
            break;
        case 6:
            if (sameWord(name, "height"))
                attrs.height = value;
            break;
        default:
            break;
        }
    }

    void open(Tag tag, const Attributes& attrs, int headingLevel) {
        switch (tag) {
        case Tag::Img:
            image(attrs);
            break;
        case Tag::A:
            if (!attrs.hasHref)
                break;     // a named anchor, not a link
            if (inLink_) { // browsers close an open link before starting the next
                endLink();
                pop(Kind::Link);
            }
            inLink_ = true;
            linkHasText_ = false;
            push(linkEntry(attrs.classes));
            break;
        case Tag::Font: {
            Entry e{Kind::Font};
            ColorValue c = 0;
            if (TryParseLegacyColor(attrs.color, c)) {
                e.setsColor = true;
                e.color = c;
                e.source = TextColorSource::FontElement;
            }
            e.setsPoints = fontSizePoints(attrs.size, e.points);
            push(e);
            break;
        }
        case Tag::Bold: {
            Entry e{Kind::Bold};
            e.setsBold = true;
            push(e);
            break;
        }
        case Tag::Heading: {
            static constexpr double kScale[] = {2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
            endLine(false);
            Entry e{Kind::Heading};
            e.setsBold = true;
            e.setsPoints = true;
            e.points = look().points * kScale[headingLevel - 1];
            push(e);
            break;
        }
        case Tag::Br:
            endLine(true);
            break;
        case Tag::Block:
            endLine(false);
            break;
        case Tag::Other:
        case Tag::Skipped:
            break;
        }
    }

    void close(Tag tag) {
        switch (tag) {
        case Tag::A:
            if (inLink_) {
                endLink();
                pop(Kind::Link);
            }
            break;
        case Tag::Font:
            pop(Kind::Font);
            break;
        case Tag::Bold:
            pop(Kind::Bold);
            break;
        case Tag::Heading:
            pop(Kind::Heading);
            endLine(false);
            break;
        case Tag::Br: // "</br>" breaks a line in every browser
            endLine(true);
            break;
        case Tag::Block:
            endLine(false);
            break;
        default:
            break;
        }
    }

    Entry linkEntry(std::string_view classes) const {
        Entry e{Kind::Link};
        e.setsColor = true;
        const TextLook* cls = nullptr;
        if (!classes.empty()) {
            cls = classListHas(classes, "clcap")    ? &ctx_.captionClass
                  : classListHas(classes, "clmenu") ? &ctx_.menuClass
                                                    : nullptr;
        }
        if (cls) {
            e.color = cls->color;
            e.source = TextColorSource::ClassRule;
            e.setsPoints = true;
            e.points = cls->points;
        } else {
            e.color = kBrowserLinkColor;
            e.source = TextColorSource::LinkDefault;
        }
        return e;
    }

    void push(const Entry& e) {
        if (depth_ < kDepth)
            stack_[depth_++] = e;
        else
            ++dropped_[static_cast<size_t>(e.kind)];
    }

    // Closes the innermost open element of this kind; a stray closing tag changes nothing.
    void pop(Kind kind) {
        auto& dropped = dropped_[static_cast<size_t>(kind)];
        if (dropped > 0) {
            --dropped;
            return;
        }
        for (size_t k = depth_; k-- > 0;) {
            if (stack_[k].kind == kind) {
                std::copy(stack_.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                          stack_.begin() + static_cast<std::ptrdiff_t>(depth_),
                          stack_.begin() + static_cast<std::ptrdiff_t>(k));
                --depth_;
                return;
            }
        }
    }

    TextLook look() const {
        TextLook l = ctx_.base;
        for (size_t k = 0; k < depth_; ++k) {
            const Entry& e = stack_[k];
            if (e.setsColor) {
                l.color = e.color;
                l.source = e.source;
            }
            if (e.setsPoints)
                l.points = e.points;
            l.bold = l.bold || e.setsBold;
        }
        return l;
    }

    void text(std::string_view t) {
        if (t.empty())
            return;
        const TextRun run = readRun(t);
        if (run.characters == 0)
            return;
        const TextLook l = look();
        const double px = l.points * kPxPerPoint;
        lineWidth_ += run.characters * kCharWidthEm * px;
        if (!run.visible)
            return;
        lineHeight_ = std::max(lineHeight_, px * kLineHeightEm);
        lineHasContent_ = true;
        facts_.hasText = true;
        if (inLink_)
            linkHasText_ = true;
        judge(l);
    }

    void judge(const TextLook& l) {
        if (judgedAny_ && l == lastJudged_)
            return;
        judgedAny_ = true;
        lastJudged_ = l;
        const double ratio =
            ContrastRatioOfLuminances(RelativeLuminance(l.color), ctx_.backgroundLuminance);
        const double threshold = ContrastThreshold(l.points, l.bold);
        if (!facts_.hasWorst || ratio / threshold < facts_.worstRatio / facts_.worstThreshold) {
            facts_.hasWorst = true;
            facts_.worst = l;
            facts_.worstRatio = ratio;
            facts_.worstThreshold = threshold;
        }
    }

    void image(const Attributes& attrs) {
        if (!attrs.hasAlt)
            ++facts_.imagesWithoutAlt;
        else if (readRun(attrs.alt).visible) {
            facts_.hasImageText = true;
            if (inLink_)
                linkHasText_ = true;
        }
        const int32_t h = leadingNumber(attrs.height);
        const int32_t w = leadingNumber(attrs.width);
        if (h > 0)
            lineHeight_ = std::max<double>(lineHeight_, h);
        if (w > 0)
            lineWidth_ += w;
        lineHasContent_ = true;
    }

    void endLink() {
        if (!linkHasText_)
            ++facts_.linksWithoutText;
        inLink_ = false;
    }

    // A line break always ends a line, even an empty one; a block boundary only a line that
    // holds something.
    void endLine(bool forced) {
        if (!lineHasContent_ && !forced)
            return;
        const double minimum = look().points * kPxPerPoint * kLineHeightEm;
        facts_.heightPx += std::max(lineHeight_, minimum);
        facts_.widthPx = std::max(facts_.widthPx, lineWidth_);
        lineHeight_ = 0;
        lineWidth_ = 0;
        lineHasContent_ = false;
    }

    std::string_view html_;
    const HtmlContext& ctx_;
    HtmlFacts facts_;
    std::array<Entry, kDepth> stack_{};
    size_t depth_ = 0;
    std::array<int32_t, 4> dropped_{};
    bool inLink_ = false, linkHasText_ = false;
    bool judgedAny_ = false;
    TextLook lastJudged_;
    double lineHeight_ = 0, lineWidth_ = 0;
    bool lineHasContent_ = false;
};

} // namespace

double ContrastThreshold(double points, bool bold) {
    return (points >= 18 || (bold && points >= 14)) ? 3.0 : 4.5;
}

HtmlFacts ScanHtml(std::string_view html, const HtmlContext& context) {
    return Scanner(html, context).run();
}

} // namespace qloom
