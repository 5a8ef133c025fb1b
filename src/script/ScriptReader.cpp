#include "script/ScriptReader.h"

#include "model/ByteScan.h"
#include "model/Conversions.h"
#include "model/MenuColumns.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"
#include "script/TemplateName.h"
#include "script/internal/LineEnds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace qloom {

namespace {

constexpr std::string_view kVersionLine = "qLoomIDE_Ver = \"1.00\";";
constexpr std::string_view kVersionPrefix = "qLoomIDE_Ver = \"";

// The header statements that the writer always starts at the beginning of a line. Their
// position anchors the search for everything else. The array lines follow in the order of the
// column table, from kFirstArray on.
enum LinePrefix : size_t {
    kVersion,
    kDefaults,
    kCount,
    kFirstArray,
    kLinePrefixCount = kFirstArray + kMenuColumnCount
};

constexpr size_t npos = std::string_view::npos;

const std::array<std::string, kLinePrefixCount>& linePrefixStore() {
    static const std::array<std::string, kLinePrefixCount> prefixes = [] {
        std::array<std::string, kLinePrefixCount> p;
        p[kVersion] = std::string(kVersionPrefix);
        p[kDefaults] = "var cDefCap=\"";
        p[kCount] = "var numOfMenus=";
        for (size_t c = 0; c < kMenuColumnCount; ++c)
            p[kFirstArray + c] = "var " + std::string(kMenuColumns[c].fileName) + " = new Array (";
        return p;
    }();
    return prefixes;
}

std::string_view linePrefix(size_t which) {
    return linePrefixStore()[which];
}

// The small-screen settings line; only looked for after the last array line.
constexpr std::string_view kSmallScreenPrefix = "var Qloom={";
// The widest breakpoint taken from a file, in CSS px: wider than any screen, and a number the
// page's arithmetic handles.
constexpr int32_t kMaxBreakpoint = 100000;

// A fresh first menu: what a row gets when the file does not say.
const Menu& defaultMenu() {
    static const Menu menu = NewMenu();
    return menu;
}

// The columns of the rows being read, one slot per column of the table, sized to the menu
// count. The texts are views into the reader's unescaped bytes (or into the default menu) until
// they are taken over.
struct Rows {
    int32_t count = 0;
    std::array<std::vector<int32_t>, kMenuColumnCount> numbers;
    std::array<std::vector<std::string_view>, kMenuColumnCount> texts;
};

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Finds the statement lines of a text whose breaks are all CR LF.
    void indexLineStarts();
    // The same in one pass with the check that every break is CR LF; false when one is not
    // (the index is then of no use).
    bool indexIfCrLfOnly();

    LoadResult run(Project& project);

private:
    void show(std::string message) const { messages_.push_back(std::move(message)); }
    void readSmallScreen(ProjectSettings& settings) const;
    void considerLine(const char* line, size_t& missing);
    size_t statementEnd(size_t from) const;
    size_t findLinePrefix(LinePrefix which) const;
    size_t findInStatement(LinePrefix anchor, std::string_view prefix) const;

    void cannotFind(std::string_view prefix) const;
    bool fail(std::string message);
    bool convert(std::string_view piece, int32_t& out);

    std::string readQuoted(size_t found, std::string_view prefix) const;
    bool readNumber(size_t found, std::string_view prefix, int32_t& out);
    size_t readStrings(size_t from, int32_t n, std::vector<std::string_view>& column);
    bool readNumbers(size_t from, int32_t n, std::vector<int32_t>& column, size_t& count);

    std::string_view text_;
    mutable std::vector<std::string> messages_;
    std::array<size_t, kLinePrefixCount> lineStart_{};
    std::optional<std::string> error_;
    // The unescaped texts, one element after the other. A block has room for everything from
    // the first element it took to the end of the text; another one is needed only when an
    // array is read again from an earlier place (a hand-edited file), so the texts of a load
    // cost one allocation rather than one each.
    std::vector<std::unique_ptr<char[]>> arenas_;
    char* arenaFree_ = nullptr;
    size_t arenaRoom_ = 0;
};

// One pass over the lines: for each statement prefix, the first line that begins with it and
// does not continue a string of the line before (such a line ends in a backslash; every line
// break inside a caption or body is written that way). A caption showing "var MX = new Array ("
// on a line of its own therefore cannot be mistaken for the MX array.
void Reader::indexLineStarts() {
    lineStart_.fill(npos);
    size_t missing = kLinePrefixCount;
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    if (begin == end)
        return;
    considerLine(begin, missing);
    // Only lines starting with "v" or "q" can hold a statement; the lines of a long body are
    // skipped a block at a time.
    for (const char* p = begin; missing > 0; ++p) {
        p = bytescan::findLineStartingWith<'v', 'q'>(p, end);
        if (p == end)
            break;
        considerLine(p, missing);
    }
}

void Reader::considerLine(const char* line, size_t& missing) {
    const char* const begin = text_.data();
    // Every break is a CR LF pair, so the previous line's last byte is three back.
    if (line - begin >= 3 && line[-3] == '\\')
        return;
    const std::string_view rest(line, static_cast<size_t>(begin + text_.size() - line));
    for (size_t k = 0; k < kLinePrefixCount; ++k) {
        if (lineStart_[k] == npos && rest.substr(0, linePrefix(k).size()) == linePrefix(k)) {
            lineStart_[k] = static_cast<size_t>(line - begin);
            --missing;
        }
    }
}

bool Reader::indexIfCrLfOnly() {
#if defined(__SSE2__)
    // Reading a saved file is mostly this pass and the one over the bodies, so the check and
    // the search for statement lines share their trip through memory. Per block of sixteen:
    // the LF bits must be the CR bits moved up by one (as in HasOnlyCrLfBreaks), and a line
    // that may hold a statement starts with "v" or "q" right after a LF.
    lineStart_.fill(npos);
    size_t missing = kLinePrefixCount;
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    if (begin == end)
        return true;
    considerLine(begin, missing);
    const char* p = begin;
    unsigned crCarry = 0;
    unsigned lfCarry = 0;
    while (missing > 0 && end - p >= 16) {
        const unsigned cr = bytescan::blockMask<'\r'>(p);
        const unsigned lf = bytescan::blockMask<'\n'>(p);
        if (lf != (((cr << 1) | crCarry) & 0xFFFFu))
            return false;
        for (unsigned starts = ((lf << 1) | lfCarry) & bytescan::blockMask<'v', 'q'>(p) & 0xFFFFu;
             starts != 0 && missing > 0; starts &= starts - 1)
            considerLine(p + bytescan::lowestBit(starts), missing);
        crCarry = cr >> 15;
        lfCarry = lf >> 15;
        p += 16;
    }
    // The rest is only checked, from the CR whose LF is still to come; a last piece shorter
    // than a block may still hold a statement line.
    if (!HasOnlyCrLfBreaks(text_.substr(static_cast<size_t>(p - begin) - crCarry)))
        return false;
    for (const char* q = p == begin ? p + 1 : p; missing > 0 && q < end; ++q) {
        if (q[-1] == '\n' && (*q == 'v' || *q == 'q'))
            considerLine(q, missing);
    }
    return true;
#else
    if (!HasOnlyCrLfBreaks(text_))
        return false;
    indexLineStarts();
    return true;
#endif
}

// The end of the logical line that starts at `from`: lines ending in a backslash continue.
size_t Reader::statementEnd(size_t from) const {
    size_t pos = from;
    for (;;) {
        const size_t eol = text_.find("\r\n", pos);
        if (eol == npos)
            return text_.size();
        if (eol == 0 || text_[eol - 1] != '\\')
            return eol;
        pos = eol + 2;
    }
}

// Position right after the prefix; the first occurrence anywhere when no line starts with it,
// so hand-edited files that moved a statement still read.
size_t Reader::findLinePrefix(LinePrefix which) const {
    const std::string_view prefix = linePrefix(which);
    size_t at = lineStart_[which];
    if (at == npos)
        at = text_.find(prefix);
    return at == npos ? npos : at + prefix.size();
}

// A value of the defaults or count line is looked for in its own statement first, outside the
// quoted values there: a font named "fDefMenuS=5" must not be read as the menu font size.
size_t Reader::findInStatement(LinePrefix anchor, std::string_view prefix) const {
    const size_t start = lineStart_[anchor];
    if (start != npos) {
        const std::string_view statement = text_.substr(start, statementEnd(start) - start);
        bool quoted = false;
        for (size_t i = 0; i < statement.size(); ++i) {
            if (!quoted && statement.substr(i, prefix.size()) == prefix)
                return start + i + prefix.size();
            if (statement[i] == '"')
                quoted = !quoted;
        }
    }
    const size_t at = text_.find(prefix);
    return at == npos ? npos : at + prefix.size();
}

void Reader::cannotFind(std::string_view prefix) const {
    std::string message(msg::kCannotFindPrefix);
    message.append(prefix);
    message.append(msg::kCannotFindSuffix);
    show(std::move(message));
}

bool Reader::fail(std::string message) {
    if (!error_)
        error_ = std::move(message);
    return false;
}

bool Reader::convert(std::string_view piece, int32_t& out) {
    if (TryParseInt(piece, out))
        return true;
    return fail(msg::Format(msg::kNotValidInteger, piece));
}

std::string Reader::readQuoted(size_t found, std::string_view prefix) const {
    if (found == npos) {
        cannotFind(prefix);
        return {};
    }
    size_t end = text_.find('"', found);
    if (end == npos)
        end = text_.size();
    return std::string(text_.substr(found, end - found));
}

bool Reader::readNumber(size_t found, std::string_view prefix, int32_t& out) {
    out = 0;
    if (found == npos) {
        cannotFind(prefix);
        return true;
    }
    size_t pos = found;
    while (pos < text_.size() && text_[pos] == ' ')
        ++pos;
    size_t end = pos;
    // "p" ends a value written with a unit: 12pt and 12px read as 12.
    while (end < text_.size() && text_[end] != ',' && text_[end] != ';' && text_[end] != ' ' &&
           text_[end] != 'p')
        ++end;
    if (end == pos) {
        cannotFind(prefix);
        return true;
    }
    return convert(text_.substr(pos, end - pos), out);
}

// Reads up to n double-quoted elements from `from` on; everything between elements is skipped,
// a closing parenthesis included, so a short array takes its missing elements from the strings
// that follow. Returns how many rows were filled; an element cut off by the end of the text
// fills none.
size_t Reader::readStrings(size_t from, int32_t n, std::vector<std::string_view>& column) {
    size_t stored = 0;
    const char* const end = text_.data() + text_.size();
    const char* p = text_.data() + from;
    while (stored < static_cast<size_t>(n)) {
        p = static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(end - p)));
        if (p == nullptr)
            break;
        // The element is never longer than the rest of the text; the extra block is the
        // scan's store room.
        const size_t room = JsUnescapedRoom(static_cast<size_t>(end - p));
        if (arenaRoom_ < room) {
            arenas_.emplace_back(new char[room]);
            arenaFree_ = arenas_.back().get();
            arenaRoom_ = room;
        }
        char* const out = arenaFree_;
        char* w = out;
        const char* const after = WriteJsUnescaped(p + 1, end, w);
        if (after == nullptr)
            break;
        const size_t size = static_cast<size_t>(w - out);
        column[stored++] = std::string_view(out, size);
        arenaFree_ += size;
        arenaRoom_ -= size;
        p = after;
    }
    return stored;
}

// Each "," and ")" ends an element; the text between, trimmed, must be an integer. A last
// element cut off by the end of the text still counts when it holds anything.
bool Reader::readNumbers(size_t from, int32_t n, std::vector<int32_t>& column, size_t& count) {
    count = 0;
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* piece = begin + from;
    while (count < static_cast<size_t>(n) && piece <= end) {
        // Most elements are plain decimals right before their separator; nine digits at most
        // cannot overflow. Anything else takes the general way below.
        {
            const char* q = piece;
            const bool negative = q < end && *q == '-';
            q += negative ? 1 : 0;
            const char* const digits = q;
            int32_t value = 0;
            while (q < end && q - digits < 9 && static_cast<unsigned>(*q - '0') < 10u)
                value = value * 10 + (*q++ - '0');
            if (q > digits && q < end && (*q == ',' || *q == ')')) {
                column[count++] = negative ? -value : value;
                piece = q + 1;
                continue;
            }
        }
        const char* const stop = bytescan::findAny<',', ')'>(piece, end);
        const std::string_view element =
            TrimBlanksView(std::string_view(piece, static_cast<size_t>(stop - piece)));
        if (stop == end) {
            // Cut off by the end of the text: counts only when it holds anything.
            if (!element.empty()) {
                if (!convert(element, column[count]))
                    return false;
                ++count;
            }
            break;
        }
        if (!convert(element, column[count]))
            return false;
        ++count;
        piece = stop + 1;
    }
    return true;
}

// The small-screen line stands after the last array line; a file written before the settings
// existed has none and reads as Off, without a message. Values a hand edit spoiled are brought
// back into range rather than refused: the line is a preference, not the project's data.
void Reader::readSmallScreen(ProjectSettings& settings) const {
    settings.smallScreenBreakpoint = kBreakpointOff;
    settings.smallScreenPlace = kPlaceTopLeft;
    settings.smallScreenCaption = "Menu";
    const size_t after = findLinePrefix(static_cast<LinePrefix>(kLinePrefixCount - 1));
    if (after == npos)
        return;
    size_t at = after;
    for (;;) {
        at = text_.find(kSmallScreenPrefix, at);
        if (at == npos)
            return;
        if (text_[at - 1] == '\n')
            break;
        at += kSmallScreenPrefix.size();
    }
    const size_t end = std::min(text_.find("\r\n", at), text_.size());
    const std::string_view line = text_.substr(at, end - at);

    auto number = [&](std::string_view key, int32_t fallback) {
        const size_t found = line.find(key);
        if (found == npos)
            return fallback;
        const size_t from = found + key.size();
        const size_t stop = std::min(line.find_first_of(",}", from), line.size());
        int32_t value = fallback;
        return TryParseInt(TrimBlanksView(line.substr(from, stop - from)), value) ? value
                                                                                  : fallback;
    };
    settings.smallScreenBreakpoint =
        std::clamp(number("breakpoint:", kBreakpointAuto), kBreakpointAuto, kMaxBreakpoint);
    const int32_t place = number("place:", kPlaceTopLeft);
    settings.smallScreenPlace =
        place < kPlaceTopLeft || place > kPlaceFirstMenu ? kPlaceTopLeft : place;

    constexpr std::string_view kCaptionKey = "caption:\"";
    const size_t found = line.find(kCaptionKey);
    if (found == npos)
        return;
    const char* const from = line.data() + found + kCaptionKey.size();
    const char* const stop = line.data() + line.size();
    std::unique_ptr<char[]> room(new char[JsUnescapedRoom(static_cast<size_t>(stop - from) + 1)]);
    char* w = room.get();
    if (WriteJsUnescaped(from, stop, w) == nullptr)
        return;
    // A button caption is one line; a break a hand edit put in becomes a blank.
    std::string caption(room.get(), static_cast<size_t>(w - room.get()));
    for (char& c : caption)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!TrimBlanks(caption).empty())
        settings.smallScreenCaption = std::move(caption);
}

LoadResult Reader::run(Project& project) {
    LoadResult result;
    auto stopped = [&](std::string message) {
        result.outcome = LoadOutcome::Error;
        result.status = Status::failure(std::move(message));
        result.messages = std::move(messages_);
        return std::move(result);
    };

    if (text_.find(kVersionLine) == npos) {
        const std::string version = readQuoted(findLinePrefix(kVersion), kVersionPrefix);
        if (!version.empty()) {
            std::string message(msg::kOtherVersion);
            message += version;
            message.append(msg::kDownloadLines);
            show(std::move(message));
        } else {
            show(std::string(msg::kNotAProject));
        }
        result.outcome = LoadOutcome::NotProject;
        result.messages = std::move(messages_);
        return result;
    }

    // The rows read so far; the active project is touched only once the whole file is read.
    Rows table;
    ProjectSettings settings = project.settings;

    if (!readNumber(findLinePrefix(kCount), "var numOfMenus=", table.count))
        return stopped(*error_);
    // A count outside 0..kCapacity can only come from a damaged or foreign file, so the load is
    // refused before anything else is read.
    if (table.count < 0 || table.count > Project::kCapacity)
        return stopped(msg::Format(msg::kMenuCountOutOfRange, std::to_string(table.count)));

    auto number = [&](LinePrefix anchor, std::string_view prefix, int32_t& out) {
        return readNumber(findInStatement(anchor, prefix), prefix, out);
    };
    auto quoted = [&](std::string_view prefix) {
        return readQuoted(findInStatement(kDefaults, prefix), prefix);
    };
    // A colour that is missing or not "#RRGGBB" keeps the new-project white rather than turning
    // into a colour the user never chose.
    auto colour = [&](std::string_view prefix, ColorValue& out) {
        ColorValue value = 0xFFFFFF;
        TryHtmlToColor(quoted(prefix), value);
        out = value;
    };
    // These texts are written unescaped into the script and the page's style rule, and the
    // template name is joined to the project folder: a hand-edited file must not smuggle in
    // quotes, separators or a folder part. A text that cleaning leaves as it is was written by
    // this program (its settings dialog cleans every text) and is kept exactly, blanks included.
    auto cleaned = [&](std::string_view prefix, std::string_view fallback) {
        std::string raw = quoted(prefix);
        if (CleanSettingText(raw, fallback) == raw)
            return raw;
        return CleanSettingText(TrimBlanks(raw), fallback);
    };

    if (!number(kCount, "scrIN=", settings.closeStep) ||
        !number(kCount, "scrOUT=", settings.openStep))
        return stopped(*error_);
    colour("cDefCap=\"", settings.captionTextColor);
    colour("cDefMenu=\"", settings.bodyTextColor);
    settings.captionFont = cleaned("fDefCap=\"", "Arial");
    settings.bodyFont = cleaned("fDefMenu=\"", "Arial");
    if (!number(kDefaults, "fDefCapS=", settings.captionFontSize) ||
        !number(kDefaults, "fDefMenuS=", settings.bodyFontSize))
        return stopped(*error_);
    // Cleaned as the settings dialog cleans a typed name. A name no page can have would break
    // every save, or get the user's page overwritten by a file qLoom writes itself.
    {
        constexpr std::string_view prefix = "PRJ_sTemplate=\"";
        const size_t found = findInStatement(kDefaults, prefix);
        const std::string raw = readQuoted(found, prefix);
        settings.templateFileName = CleanTemplateName(raw);
        if (!IsUsableTemplateName(settings.templateFileName)) {
            if (found != npos)
                show(msg::Format(msg::kTemplateNameRefused, raw));
            settings.templateFileName = std::string(kDefaultTemplateName);
        }
    }

    const int32_t n = table.count;
    const Menu& d = defaultMenu();
    if (n > 0) {
        // Rows the file does not fill (a missing array, or a text that ends early) hold the
        // values of a new menu, so every row in use is one the editor and the writer accept.
        for (size_t c = 0; c < kMenuColumnCount; ++c) {
            const MenuColumn& column = kMenuColumns[c];
            if (column.isNumber())
                table.numbers[c].assign(static_cast<size_t>(n), d.*column.number);
            else
                table.texts[c].assign(static_cast<size_t>(n), d.*column.text);
        }

        for (size_t c = 0; c < kMenuColumnCount; ++c) {
            const size_t which = kFirstArray + c;
            const size_t from = findLinePrefix(static_cast<LinePrefix>(which));
            if (from == npos) {
                cannotFind(linePrefix(which));
                continue;
            }
            size_t count = 0;
            if (kMenuColumns[c].isNumber()) {
                if (!readNumbers(from, n, table.numbers[c], count))
                    return stopped(*error_);
            } else {
                count = readStrings(from, n, table.texts[c]);
            }
            if (count < static_cast<size_t>(n))
                show(msg::Format(msg::kArrayEndsEarly, linePrefix(which)));
        }

        // Colour texts are written back unescaped into the script and the page's style rules:
        // one that could break out of them gets the new-menu colour, and the user is told which
        // (a few lines at most, however many rows a damaged file spoils).
        constexpr size_t kMaxListed = 10;
        std::string replaced;
        size_t listed = 0;
        size_t unlisted = 0;
        const size_t orientation = ColumnIndex(ColumnOf(&Menu::orientation));
        const size_t caption = ColumnIndex(ColumnOf(&Menu::captionHtml));
        for (int32_t i = 0; i < n; ++i) {
            const int32_t oo = table.numbers[orientation][static_cast<size_t>(i)];
            for (size_t c = 0; c < kMenuColumnCount; ++c) {
                const MenuColumn& column = kMenuColumns[c];
                if (column.isNumber())
                    continue;
                std::string_view& text = table.texts[c][static_cast<size_t>(i)];
                // The writer wraps such a text of every row that is not horizontal, and the
                // page shows every such row as vertical; one wrapper is removed from each, so a
                // text of any orientation reads back as it was saved.
                if (column.noBreakWhenVertical && oo != 0)
                    text = StripNoBreak(text);
                if (column.kind == ColumnKind::Colour && !IsKeptColourText(text)) {
                    if (listed++ < kMaxListed)
                        replaced += msg::Format(
                            msg::Format(msg::Format(msg::kColourReplacedLine, MenuLabel(i)),
                                        column.fileName),
                            text);
                    else
                        ++unlisted;
                    text = d.*column.text;
                }
            }
            // The first save swaps a default caption that does not suit the row's orientation;
            // doing it here already shows the project as every save will write it.
            std::string_view& shown = table.texts[caption][static_cast<size_t>(i)];
            if (const char* swapped = SwappedDefaultCaption(oo, shown))
                shown = swapped;
        }
        if (listed > 0) {
            std::string message(msg::kColoursReplacedHead);
            message += replaced;
            if (unlisted > 0)
                message += msg::Format(msg::kColoursReplacedMore, std::to_string(unlisted));
            message += msg::kColoursReplacedTail;
            show(std::move(message));
        }
    }
    readSmallScreen(settings);

    // Take over. Menus already there keep their strings, which mostly have the room for the
    // texts read; a project without menus leaves the selection where it was.
    std::vector<Menu>& menus = project.menus;
    menus.resize(static_cast<size_t>(n));
    for (size_t c = 0; c < kMenuColumnCount; ++c) {
        const MenuColumn& column = kMenuColumns[c];
        if (column.isNumber()) {
            const std::vector<int32_t>& values = table.numbers[c];
            for (size_t i = 0; i < values.size(); ++i)
                menus[i].*column.number = values[i];
        } else {
            const std::vector<std::string_view>& values = table.texts[c];
            for (size_t i = 0; i < values.size(); ++i)
                (menus[i].*column.text).assign(values[i]);
        }
    }
    if (n > 0)
        project.selected = 0;
    settings.projectFolder = project.settings.projectFolder;
    project.settings = std::move(settings);
    result.outcome = LoadOutcome::Loaded;
    result.messages = std::move(messages_);
    return result;
}

} // namespace

LoadResult LoadProjectFromText(std::string_view text, Project& project) {
    // Files this program wrote need no rewriting; only other line ends cost a copy.
    if (text.empty() || text.back() == '\n') {
        Reader reader(text);
        if (reader.indexIfCrLfOnly())
            return reader.run(project);
    }
    const std::string normalised = NormaliseLineEnds(text);
    Reader reader(normalised);
    reader.indexLineStarts();
    return reader.run(project);
}

LoadResult LoadProject(const std::string& path, Project& project) {
    std::string text;
    if (Status read = ReadWholeFile(path, text); !read) {
        LoadResult failed;
        failed.status = std::move(read);
        return failed;
    }
    LoadResult result = LoadProjectFromText(text, project);
    // The default page could never be written where a folder stands.
    std::string& name = project.settings.templateFileName;
    if (result.outcome == LoadOutcome::Loaded && name != kDefaultTemplateName &&
        TemplateNameIsFolder(FolderOf(path), name)) {
        result.messages.push_back(msg::Format(msg::kTemplateNameRefused, name));
        name = std::string(kDefaultTemplateName);
    }
    return result;
}

} // namespace qloom
