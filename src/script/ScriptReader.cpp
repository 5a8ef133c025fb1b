#include "script/ScriptReader.h"

#include "model/ByteScan.h"
#include "model/Conversions.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/LineEnds.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"
#include "script/TemplateName.h"

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
// position anchors the search for everything else.
enum LinePrefix : size_t {
    kVersion,
    kDefaults,
    kCount,
    kMTC,
    kMTCH,
    kMTM,
    kMX,
    kMY,
    kMW,
    kCO,
    kCC,
    kCM,
    kMA,
    kFL,
    kOO,
    kLinePrefixCount
};

constexpr std::array<std::string_view, kLinePrefixCount> kLinePrefixes = {
    kVersionPrefix,          "var cDefCap=\"",         "var numOfMenus=",
    "var MTC = new Array (", "var MTCH = new Array (", "var MTM = new Array (",
    "var MX = new Array (",  "var MY = new Array (",   "var MW = new Array (",
    "var CO = new Array (",  "var CC = new Array (",   "var CM = new Array (",
    "var MA = new Array (",  "var FL = new Array (",   "var OO = new Array (",
};

constexpr size_t npos = std::string_view::npos;

// The values of a fresh first menu: what a row gets when the file does not say.
struct DefaultRow {
    int32_t MX, MY, MW, MTCH, MA, FL, OO;
    std::string MTC, MTM, CO, CC, CM;
};

const DefaultRow& defaultRow() {
    static const DefaultRow row = [] {
        MenuTable scratch;
        AddMenu(scratch);
        return DefaultRow{scratch.MX[0],  scratch.MY[0], scratch.MW[0], scratch.MTCH[0],
                          scratch.MA[0],  scratch.FL[0], scratch.OO[0], scratch.MTC[0],
                          scratch.MTM[0], scratch.CO[0], scratch.CC[0], scratch.CM[0]};
    }();
    return row;
}

// The columns of the rows being read, sized to the menu count. The texts are views into the
// reader's unescaped bytes (or into the default row) until they are taken over.
struct Rows {
    int32_t MenuCount = 0;
    std::vector<int32_t> MX, MY, MW, MTCH, MA, FL, OO;
    std::vector<std::string_view> MTC, MTM, CO, CC, CM;
};

class Reader {
public:
    Reader(std::string_view text, const ShowMessageFn& show) : text_(text), show_(show) {}

    // Finds the statement lines of a text whose breaks are all CR LF.
    void indexLineStarts();
    // The same in one pass with the check that every break is CR LF; false when one is not
    // (the index is then of no use).
    bool indexIfCrLfOnly();

    LoadResult run(Project& project);

private:
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
    const ShowMessageFn& show_;
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
        if (lineStart_[k] == npos && rest.substr(0, kLinePrefixes[k].size()) == kLinePrefixes[k]) {
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
    const std::string_view prefix = kLinePrefixes[which];
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
    show_(message);
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

LoadResult Reader::run(Project& project) {
    LoadResult result;

    if (text_.find(kVersionLine) == npos) {
        const std::string version = readQuoted(findLinePrefix(kVersion), kVersionPrefix);
        if (!version.empty()) {
            std::string message(msg::kOtherVersion);
            message += version;
            message.append(msg::kDownloadLines);
            show_(message);
        } else {
            show_(std::string(msg::kNotAProject));
        }
        result.outcome = LoadOutcome::NotProject;
        return result;
    }

    // The rows read so far; the active table is touched only once the whole file has been read.
    Rows table;
    ProjectSettings settings = project.settings;

    if (!readNumber(findLinePrefix(kCount), "var numOfMenus=", table.MenuCount))
        return {LoadOutcome::Error, *error_};
    // The table has room for kCapacity rows and nothing else may be written; a count outside
    // that range can only come from a damaged or foreign file, so the load is refused before
    // anything else is read.
    if (table.MenuCount < 0 || table.MenuCount > MenuTable::kCapacity)
        return {LoadOutcome::Error,
                msg::Format(msg::kMenuCountOutOfRange, std::to_string(table.MenuCount))};

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

    if (!number(kCount, "scrIN=", settings.scrIN) || !number(kCount, "scrOUT=", settings.scrOUT))
        return {LoadOutcome::Error, *error_};
    colour("cDefCap=\"", settings.cDefCap);
    colour("cDefMenu=\"", settings.cDefMenu);
    settings.fDefCap = cleaned("fDefCap=\"", "Arial");
    settings.fDefMenu = cleaned("fDefMenu=\"", "Arial");
    if (!number(kDefaults, "fDefCapS=", settings.fDefCapS) ||
        !number(kDefaults, "fDefMenuS=", settings.fDefMenuS))
        return {LoadOutcome::Error, *error_};
    // Cleaned as the settings dialog cleans a typed name. A name no page can have would break
    // every save, or get the user's page overwritten by a file qLoom writes itself.
    {
        constexpr std::string_view prefix = "PRJ_sTemplate=\"";
        const size_t found = findInStatement(kDefaults, prefix);
        const std::string raw = readQuoted(found, prefix);
        settings.TemplateFileName = CleanTemplateName(raw);
        if (!IsUsableTemplateName(settings.TemplateFileName)) {
            if (found != npos)
                show_(msg::Format(msg::kTemplateNameRefused, raw));
            settings.TemplateFileName = std::string(kDefaultTemplateName);
        }
    }

    const int32_t n = table.MenuCount;
    if (n > 0) {
        // Rows the file does not fill (a missing array, or a text that ends early) hold the
        // values of a new menu, so every row in use is one the editor and the writer accept.
        const DefaultRow& d = defaultRow();
        table.MX.assign(n, d.MX);
        table.MY.assign(n, d.MY);
        table.MW.assign(n, d.MW);
        table.MTCH.assign(n, d.MTCH);
        table.MA.assign(n, d.MA);
        table.FL.assign(n, d.FL);
        table.OO.assign(n, d.OO);
        table.MTC.assign(n, d.MTC);
        table.MTM.assign(n, d.MTM);
        table.CO.assign(n, d.CO);
        table.CC.assign(n, d.CC);
        table.CM.assign(n, d.CM);

        auto endsEarly = [&](LinePrefix which) {
            show_(msg::Format(msg::kArrayEndsEarly, kLinePrefixes[which]));
        };
        auto strings = [&](LinePrefix which, std::vector<std::string_view>& column) {
            const size_t from = findLinePrefix(which);
            if (from == npos)
                return cannotFind(kLinePrefixes[which]);
            if (readStrings(from, n, column) < static_cast<size_t>(n))
                endsEarly(which);
        };
        auto numbers = [&](LinePrefix which, std::vector<int32_t>& column) {
            const size_t from = findLinePrefix(which);
            if (from == npos) {
                cannotFind(kLinePrefixes[which]);
                return true;
            }
            size_t count = 0;
            if (!readNumbers(from, n, column, count))
                return false;
            if (count < static_cast<size_t>(n))
                endsEarly(which);
            return true;
        };

        strings(kMTC, table.MTC);
        if (!numbers(kMTCH, table.MTCH))
            return {LoadOutcome::Error, *error_};
        strings(kMTM, table.MTM);
        if (!numbers(kMX, table.MX) || !numbers(kMY, table.MY) || !numbers(kMW, table.MW))
            return {LoadOutcome::Error, *error_};
        strings(kCO, table.CO);
        strings(kCC, table.CC);
        strings(kCM, table.CM);
        if (!numbers(kMA, table.MA) || !numbers(kFL, table.FL) || !numbers(kOO, table.OO))
            return {LoadOutcome::Error, *error_};

        // Colour texts are written back unescaped into the script and the page's style rules:
        // one that could break out of them gets the new-menu colour, and the user is told which
        // (a few lines at most, however many rows a damaged file spoils).
        constexpr size_t kMaxListed = 10;
        std::string replaced;
        size_t listed = 0;
        size_t unlisted = 0;
        auto keepColour = [&](std::string_view& text, std::string_view column,
                              std::string_view fallback, int32_t row) {
            if (IsKeptColourText(text))
                return;
            if (listed++ < kMaxListed)
                replaced += msg::Format(
                    msg::Format(msg::Format(msg::kColourReplacedLine, MenuLabel(row)), column),
                    text);
            else
                ++unlisted;
            text = fallback;
        };
        for (int32_t i = 0; i < n; ++i) {
            // The writer wraps the body of every row that is not horizontal, and the page shows
            // every such row as vertical; one wrapper is removed from each, so a body of any
            // orientation reads back as it was saved.
            if (table.OO[i] != 0)
                table.MTM[i] = StripNoBreak(table.MTM[i]);
            // The first save swaps a default caption that does not suit the row's orientation;
            // doing it here already shows the project as every save will write it.
            if (const char* caption = SwappedDefaultCaption(table.OO[i], table.MTC[i]))
                table.MTC[i] = caption;
            keepColour(table.CO[i], "CO", d.CO, i);
            keepColour(table.CC[i], "CC", d.CC, i);
            keepColour(table.CM[i], "CM", d.CM, i);
        }
        if (listed > 0) {
            std::string message(msg::kColoursReplacedHead);
            message += replaced;
            if (unlisted > 0)
                message += msg::Format(msg::kColoursReplacedMore, std::to_string(unlisted));
            message += msg::kColoursReplacedTail;
            show_(message);
        }
    }

    // Take over. The table keeps its storage for the full capacity; rows from MenuCount up are
    // leftovers. A project without menus leaves the selection where it was. The texts are
    // copied into the strings already there, which mostly have the room for them.
    MenuTable& t = project.table;
    for (int32_t i = 0; i < n; ++i) {
        t.MX[i] = table.MX[i];
        t.MY[i] = table.MY[i];
        t.MW[i] = table.MW[i];
        t.MTCH[i] = table.MTCH[i];
        t.MA[i] = table.MA[i];
        t.FL[i] = table.FL[i];
        t.OO[i] = table.OO[i];
        t.MTC[i].assign(table.MTC[i]);
        t.MTM[i].assign(table.MTM[i]);
        t.CO[i].assign(table.CO[i]);
        t.CC[i].assign(table.CC[i]);
        t.CM[i].assign(table.CM[i]);
    }
    t.MenuCount = n;
    if (n > 0)
        t.SelectedMenu = 0;
    settings.ProjectFolder = project.settings.ProjectFolder;
    project.settings = std::move(settings);
    result.outcome = LoadOutcome::Loaded;
    return result;
}

} // namespace

LoadResult LoadProjectFromText(std::string_view text, Project& project,
                               const ShowMessageFn& showMessage) {
    // Files this program wrote need no rewriting; only other line ends cost a copy.
    if (text.empty() || text.back() == '\n') {
        Reader reader(text, showMessage);
        if (reader.indexIfCrLfOnly())
            return reader.run(project);
    }
    const std::string normalised = NormaliseLineEnds(text);
    Reader reader(normalised, showMessage);
    reader.indexLineStarts();
    return reader.run(project);
}

LoadResult LoadProject(const std::string& path, Project& project,
                       const ShowMessageFn& showMessage) {
    std::string text;
    ReadFailure failure = ReadFailure::None;
    if (!ReadWholeFile(path, text, &failure))
        return {LoadOutcome::Error, ReadFailureText(failure, path)};
    LoadResult result = LoadProjectFromText(text, project, showMessage);
    // The default page could never be written where a folder stands.
    std::string& name = project.settings.TemplateFileName;
    if (result.outcome == LoadOutcome::Loaded && name != kDefaultTemplateName &&
        TemplateNameIsFolder(FolderOf(path), name)) {
        showMessage(msg::Format(msg::kTemplateNameRefused, name));
        name = std::string(kDefaultTemplateName);
    }
    return result;
}

} // namespace qloom
