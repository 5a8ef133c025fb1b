#include "script/ScriptWriter.h"

#include "model/Conversions.h"

#include <algorithm>
#include <array>
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

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string menuBodyElement(const std::string& body, int32_t orientation) {
    const std::string escaped = EscapeJsString(body);
    // A vertical body stays on one line so its width is how far it slides out; a body the
    // user already wrapped is not wrapped twice.
    if (orientation == 0 || escaped.compare(0, kNoBreakOpen.size(), kNoBreakOpen) == 0)
        return quoted(escaped);
    std::string out = "\"";
    out += kNoBreakOpen;
    out += escaped;
    out += kNoBreakClose;
    out += '"';
    return out;
}

void swapCaption(MenuTable& table, int32_t row, const CaptionSwapHook& onSelectedSwap) {
    std::string& caption = table.MTC[row];
    const char* replacement = nullptr;
    if (table.OO[row] == 0 && caption == kVerticalDefaultCaption)
        replacement = kDefaultCaption;
    else if (table.OO[row] == 1 && caption == kDefaultCaption)
        replacement = kVerticalDefaultCaption;
    if (replacement == nullptr)
        return;
    caption = replacement;
    if (row == table.SelectedMenu && onSelectedSwap)
        onSelectedSwap(row, caption);
}

} // namespace

void ComposeScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap) {
    MenuTable& table = project.table;
    const ProjectSettings& s = project.settings;
    // The table is trusted, but a count beyond the columns must not read outside them.
    const int32_t rows = std::clamp(table.MenuCount, 0, MenuTable::kCapacity);

    std::array<std::string, kColumns> arrays;
    for (int column = 0; column < kColumns; ++column) {
        arrays[column] = "var ";
        arrays[column] += kColumnNames[column];
        arrays[column] += " = new Array (";
    }

    for (int32_t i = 0; i < rows; ++i) {
        swapCaption(table, i, onSelectedSwap);
        const std::string separator = i == 0 ? "" : ",";
        for (auto& text : arrays)
            text += separator;
        arrays[MTC] += quoted(EscapeJsString(table.MTC[i]));
        arrays[MTCH] += std::to_string(table.MTCH[i]);
        arrays[MTM] += menuBodyElement(table.MTM[i], table.OO[i]);
        arrays[MX] += std::to_string(table.MX[i]);
        arrays[MY] += std::to_string(table.MY[i]);
        arrays[MW] += std::to_string(table.MW[i]);
        arrays[CO] += quoted(table.CO[i]);
        arrays[CC] += quoted(table.CC[i]);
        arrays[CM] += quoted(table.CM[i]);
        arrays[MA] += std::to_string(table.MA[i]);
        arrays[FL] += std::to_string(table.FL[i]);
        arrays[OO] += std::to_string(table.OO[i]);
    }

    for (int column = 0; column < kColumns; ++column) {
        // new Array(n) with one number would make an empty array of length n.
        if (rows == 1 && isIntegerColumn(column))
            arrays[column] += ",0";
        arrays[column] += ");";
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
        lines.push_back(std::move(text));
}

} // namespace qloom
