#include "script/ScriptWriter.h"

#include "model/Conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qloom {

namespace {

constexpr std::string_view kNoBreakOpen = "<nObR>";
constexpr std::string_view kNoBreakClose = "</nObR>";

// The five lines form one document.write of a style element; the class rules pick up the
// defaults line's variables when the page runs, and the runtime closes the element.
constexpr std::array<std::string_view, 5> kStyleLines = {
    "document.write('\\",
    "<style type=\"text/css\">\\",
    ".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:\"'+fDefCap+'\"; "
    "font-size:'+fDefCapS+'pt;}\\",
    ".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
    "font-size:'+fDefMenuS+'pt;}\\",
    "');",
};

// Array lines in file order; the reader finds each by its prefix.
enum Column { MTC, MTCH, MTM, MX, MY, MW, CO, CC, CM, MA, FL, OO, kColumns };
constexpr std::array<std::string_view, kColumns> kColumnNames = {
    "MTC", "MTCH", "MTM", "MX", "MY", "MW", "CO", "CC", "CM", "MA", "FL", "OO"};

bool isIntegerColumn(int column) {
    switch (column) {
    case MTCH:
    case MX:
    case MY:
    case MW:
    case MA:
    case FL:
    case OO:
        return true;
    default:
        return false;
    }
}

// One array line, written through a pointer into room made ahead: the columns are most of the
// script, and appending element by element to a string would check and grow it for each piece.
class ColumnText {
public:
    explicit ColumnText(size_t expected) { text_.resize(expected); }

    // Where the next `size` bytes go; commit() then says where they end.
    char* room(size_t size) {
        if (text_.size() - used_ < size)
            text_.resize(std::max(2 * text_.size(), used_ + size));
        return &text_[used_];
    }
    void commit(const char* end) { used_ = static_cast<size_t>(end - text_.data()); }

    void append(std::string_view piece) {
        char* const w = room(piece.size());
        std::memcpy(w, piece.data(), piece.size());
        commit(w + piece.size());
    }

    std::string finish() {
        text_.resize(used_);
        return std::move(text_);
    }

private:
    std::string text_;
    size_t used_ = 0;
};

void appendInt(ColumnText& out, bool separator, int32_t value) {
    char* w = out.room(1 + 11);
    *w = ',';
    w += separator ? 1 : 0;
    w = std::to_chars(w, w + 11, value).ptr;
    out.commit(w);
}

void appendQuoted(ColumnText& out, bool separator, std::string_view text) {
    char* w = out.room(1 + 2 + text.size());
    *w = ',';
    w += separator ? 1 : 0;
    *w++ = '"';
    std::memcpy(w, text.data(), text.size());
    w += text.size();
    *w++ = '"';
    out.commit(w);
}

void appendQuotedEscaped(ColumnText& out, bool separator, std::string_view text,
                         std::string_view open = "", std::string_view close = "") {
    char* w = out.room(1 + 2 + open.size() + close.size() + JsEscapedRoom(text.size()));
    *w = ',';
    w += separator ? 1 : 0;
    *w++ = '"';
    std::memcpy(w, open.data(), open.size());
    w = WriteJsEscaped(w + open.size(), text);
    std::memcpy(w, close.data(), close.size());
    w += close.size();
    *w++ = '"';
    out.commit(w);
}

void appendMenuBody(ColumnText& out, bool separator, const std::string& body, int32_t orientation) {
    // A vertical body stays on one line so its width is how far it slides out. A body the user
    // wrapped already is wrapped again: the reader removes exactly one wrapper from every
    // vertical body, so the body reads back as it was typed.
    if (orientation == 0)
        return appendQuotedEscaped(out, separator, body);
    appendQuotedEscaped(out, separator, body, kNoBreakOpen, kNoBreakClose);
}

// Room for a text column: the texts with some escaping, the separators and quotes, and the
// escaper's worst-case working room for the longest text, so that a column is built in place.
size_t textColumnEstimate(const std::vector<std::string>& column, int32_t rows, size_t extra) {
    size_t total = 0;
    size_t longest = 0;
    for (int32_t i = 0; i < rows; ++i) {
        const size_t size = column[i].size();
        total += size;
        longest = std::max(longest, size);
    }
    return 32 + total + total / 8 + static_cast<size_t>(rows) * extra + 3 * longest + 16;
}

void swapCaption(MenuTable& table, int32_t row, const CaptionSwapHook& onSelectedSwap) {
    const char* replacement = SwappedDefaultCaption(table.OO[row], table.MTC[row]);
    if (replacement == nullptr)
        return;
    table.MTC[row] = replacement;
    if (row == table.SelectedMenu && onSelectedSwap)
        onSelectedSwap(row, table.MTC[row]);
}

} // namespace

const char* SwappedDefaultCaption(int32_t orientation, std::string_view caption) {
    // Measured once: the reader asks for every row it loads.
    static const std::string_view vertical(kVerticalDefaultCaption);
    static const std::string_view horizontal(kDefaultCaption);
    if (orientation == 0 && caption == vertical)
        return kDefaultCaption;
    if (orientation == 1 && caption == horizontal)
        return kVerticalDefaultCaption;
    return nullptr;
}

void ComposeScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap) {
    MenuTable& table = project.table;
    const ProjectSettings& s = project.settings;
    // The table is trusted, but a count beyond the columns must not read outside them.
    const int32_t rows = std::clamp(table.MenuCount, 0, MenuTable::kCapacity);

    auto expected = [&](int column) {
        switch (column) {
        case MTC:
            return textColumnEstimate(table.MTC, rows, 3);
        case MTM:
            return textColumnEstimate(table.MTM, rows, 3 + 13);
        case CO:
            return textColumnEstimate(table.CO, rows, 3);
        case CC:
            return textColumnEstimate(table.CC, rows, 3);
        case CM:
            return textColumnEstimate(table.CM, rows, 3);
        default:
            return 32 + static_cast<size_t>(rows) * 12;
        }
    };
    std::vector<ColumnText> arrays;
    arrays.reserve(kColumns);
    for (int column = 0; column < kColumns; ++column) {
        ColumnText& text = arrays.emplace_back(expected(column));
        text.append("var ");
        text.append(kColumnNames[column]);
        text.append(" = new Array (");
    }

    for (int32_t i = 0; i < rows; ++i) {
        swapCaption(table, i, onSelectedSwap);
        const bool separator = i > 0;
        appendQuotedEscaped(arrays[MTC], separator, table.MTC[i]);
        appendInt(arrays[MTCH], separator, table.MTCH[i]);
        appendMenuBody(arrays[MTM], separator, table.MTM[i], table.OO[i]);
        appendInt(arrays[MX], separator, table.MX[i]);
        appendInt(arrays[MY], separator, table.MY[i]);
        appendInt(arrays[MW], separator, table.MW[i]);
        appendQuoted(arrays[CO], separator, table.CO[i]);
        appendQuoted(arrays[CC], separator, table.CC[i]);
        appendQuoted(arrays[CM], separator, table.CM[i]);
        appendInt(arrays[MA], separator, table.MA[i]);
        appendInt(arrays[FL], separator, table.FL[i]);
        appendInt(arrays[OO], separator, table.OO[i]);
    }

    for (int column = 0; column < kColumns; ++column) {
        // new Array(n) with one number would make an empty array of length n.
        if (rows == 1 && isIntegerColumn(column))
            arrays[column].append(",0");
        arrays[column].append(");");
    }

    std::string defaults = "var cDefCap=\"";
    defaults += ColorToHtml(s.cDefCap);
    defaults += "\", fDefCap=\"";
    defaults += s.fDefCap;
    defaults += "\", fDefCapS=";
    defaults += std::to_string(s.fDefCapS);
    defaults += ", cDefMenu=\"";
    defaults += ColorToHtml(s.cDefMenu);
    defaults += "\", fDefMenu=\"";
    defaults += s.fDefMenu;
    defaults += "\", fDefMenuS=";
    defaults += std::to_string(s.fDefMenuS);
    defaults += ", PRJ_sTemplate=\"";
    defaults += s.TemplateFileName;
    defaults += "\";";

    std::string count = "var numOfMenus=";
    count += std::to_string(rows);
    count += ",scrIN=";
    count += std::to_string(s.scrIN);
    count += ",scrOUT=";
    count += std::to_string(s.scrOUT);
    count += ",IDE=";
    count += forPreview ? "1" : "0";
    count += ",iSelectedMenu=";
    count += std::to_string(table.SelectedMenu);
    count += ",errs=\"\",old_pageYOffset=0,widthChk,heightChk;";

    std::vector<std::string>& lines = project.HeaderLines;
    lines.clear();
    lines.reserve(2 + 1 + kStyleLines.size() + 2 + kColumns);
    lines.emplace_back("qLoomIDE_Ver = \"1.00\";");
    lines.emplace_back();
    lines.push_back(std::move(defaults));
    for (const auto style : kStyleLines)
        lines.emplace_back(style);
    lines.push_back(std::move(count));
    lines.emplace_back("var PR = new Array (numOfMenus);");
    for (auto& text : arrays)
        lines.push_back(text.finish());
}

} // namespace qloom
