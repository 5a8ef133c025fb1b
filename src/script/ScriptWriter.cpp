#include "script/ScriptWriter.h"

#include "model/Conversions.h"
#include "model/MenuColumns.h"

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

// Room for a text column: the texts with some escaping, the separators and quotes, and the
// escaper's worst-case working room for the longest text, so that a column is built in place.
size_t textColumnEstimate(const std::vector<Menu>& menus, std::string Menu::*field, size_t extra) {
    size_t total = 0;
    size_t longest = 0;
    for (const Menu& menu : menus) {
        const size_t size = (menu.*field).size();
        total += size;
        longest = std::max(longest, size);
    }
    return 32 + total + total / 8 + menus.size() * extra + 3 * longest + 16;
}

// One array line of the table's column, every menu in row order.
std::string columnLine(const std::vector<Menu>& menus, const MenuColumn& column) {
    const size_t rows = menus.size();
    const size_t extra = 3 + (column.noBreakWhenVertical ? 13 : 0);
    ColumnText text(column.isNumber() ? 32 + rows * 12
                                      : textColumnEstimate(menus, column.text, extra));
    text.append("var ");
    text.append(column.fileName);
    text.append(" = new Array (");
    for (size_t i = 0; i < rows; ++i) {
        const Menu& menu = menus[i];
        const bool separator = i > 0;
        switch (column.kind) {
        case ColumnKind::Integer:
            appendInt(text, separator, menu.*column.number);
            break;
        case ColumnKind::Colour:
            appendQuoted(text, separator, menu.*column.text);
            break;
        case ColumnKind::Html:
            // A vertical body stays on one line so its width is how far it slides out. A body
            // the user wrapped already is wrapped again: the reader removes exactly one wrapper
            // from every vertical body, so the body reads back as it was typed.
            if (column.noBreakWhenVertical && menu.orientation != 0)
                appendQuotedEscaped(text, separator, menu.*column.text, kNoBreakOpen,
                                    kNoBreakClose);
            else
                appendQuotedEscaped(text, separator, menu.*column.text);
            break;
        }
    }
    // new Array(n) with one number would make an empty array of length n.
    if (rows == 1 && column.isNumber())
        text.append(",0");
    text.append(");");
    return text.finish();
}

} // namespace

std::string SmallScreenLine(const ProjectSettings& s) {
    std::string line = "var Qloom={breakpoint:";
    line += std::to_string(s.smallScreenBreakpoint);
    line += ",place:";
    line += std::to_string(s.smallScreenPlace);
    line += ",caption:\"";
    line += EscapeJsString(s.smallScreenCaption);
    line += "\"};";
    return line;
}

std::vector<std::string> ComposeScript(const Project& project, bool forPreview) {
    const ProjectSettings& s = project.settings;
    // The project holds at most kCapacity menus; a larger vector is not written beyond it.
    const std::vector<Menu>& menus = project.menus;

    std::string defaults = "var cDefCap=\"";
    defaults += ColorToHtml(s.captionTextColor);
    defaults += "\", fDefCap=\"";
    defaults += s.captionFont;
    defaults += "\", fDefCapS=";
    defaults += std::to_string(s.captionFontSize);
    defaults += ", cDefMenu=\"";
    defaults += ColorToHtml(s.bodyTextColor);
    defaults += "\", fDefMenu=\"";
    defaults += s.bodyFont;
    defaults += "\", fDefMenuS=";
    defaults += std::to_string(s.bodyFontSize);
    defaults += ", PRJ_sTemplate=\"";
    defaults += s.templateFileName;
    defaults += "\";";

    std::string count = "var numOfMenus=";
    count += std::to_string(menus.size());
    count += ",scrIN=";
    count += std::to_string(s.closeStep);
    count += ",scrOUT=";
    count += std::to_string(s.openStep);
    count += ",IDE=";
    count += forPreview ? "1" : "0";
    count += ",iSelectedMenu=";
    count += std::to_string(project.selected);
    count += ",errs=\"\",old_pageYOffset=0,widthChk,heightChk;";

    std::vector<std::string> lines;
    lines.reserve(2 + 1 + kStyleLines.size() + 2 + kMenuColumnCount + 1);
    lines.emplace_back("qLoomIDE_Ver = \"1.00\";");
    lines.emplace_back();
    lines.push_back(std::move(defaults));
    for (const auto style : kStyleLines)
        lines.emplace_back(style);
    lines.push_back(std::move(count));
    lines.emplace_back("var PR = new Array (numOfMenus);");
    for (const MenuColumn& column : kMenuColumns)
        lines.push_back(columnLine(menus, column));
    lines.push_back(SmallScreenLine(s));
    return lines;
}

} // namespace qloom
