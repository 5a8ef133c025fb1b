#include "model/Conversions.h"
#include "model/MenuTable.h"
#include "model/Project.h"
#include "script/FixedTexts.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace qloom;

namespace {

std::unique_ptr<Project> projectWith(int menus) {
    auto p = std::make_unique<Project>();
    p->settings.ProjectFolder = "/tmp/unused";
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(p->table).ok);
    return p;
}

// Header line numbers counted from 1, as they stand in the file.
const std::string& line(const Project& p, size_t number) {
    return p.HeaderLines.at(number - 1);
}

std::string arrayLine(const Project& p, const std::string& column) {
    const std::string prefix = "var " + column + " = new Array (";
    for (const auto& l : p.HeaderLines)
        if (l.compare(0, prefix.size(), prefix) == 0)
            return l;
    ADD_FAILURE() << "no array line for " << column;
    return {};
}

const std::vector<std::string> kIntegerColumns = {"MTCH", "MX", "MY", "MW", "MA", "FL", "OO"};
const std::vector<std::string> kTextColumns = {"MTC", "MTM", "CO", "CC", "CM"};

} // namespace

TEST(Writer, OneDefaultMenuFinalVariantHeader) {
    const std::vector<std::string> expected = {
        "qLoomIDE_Ver = \"1.00\";",
        "",
        "var cDefCap=\"#FFFFFF\", fDefCap=\"Arial\", fDefCapS=12, cDefMenu=\"#FFFFFF\", "
        "fDefMenu=\"Arial\", fDefMenuS=12, PRJ_sTemplate=\"Temp.html\";",
        "document.write('\\",
        "<style type=\"text/css\">\\",
        ".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; "
        "font-family:\"'+fDefCap+'\"; font-size:'+fDefCapS+'pt;}\\",
        ".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
        "font-size:'+fDefMenuS+'pt;}\\",
        "');",
        "var numOfMenus=1,scrIN=20,scrOUT=10,IDE=0,iSelectedMenu=0,errs=\"\",old_pageYOffset=0,"
        "widthChk,heightChk;",
        "var PR = new Array (numOfMenus);",
        "var MTC = new Array (\"Caption\");",
        "var MTCH = new Array (22,0);",
        "var MTM = new Array (\"Blank menu\");",
        "var MX = new Array (10,0);",
        "var MY = new Array (10,0);",
        "var MW = new Array (150,0);",
        "var CO = new Array (\"transparent\");",
        "var CC = new Array (\"#000000\");",
        "var CM = new Array (\"#008080\");",
        "var MA = new Array (0,0);",
        "var FL = new Array (1,0);",
        "var OO = new Array (0,0);",
    };
    auto p = projectWith(1);
    ComposeScript(*p, false);
    ASSERT_EQ(p->HeaderLines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(p->HeaderLines[i], expected[i]) << "header line " << i + 1;
}

TEST(Writer, OneDefaultMenuFileHeaderIsByteExact) {
    const std::string expectedHeader =
        "qLoomIDE_Ver = \"1.00\";\r\n"
        "\r\n"
        "var cDefCap=\"#FFFFFF\", fDefCap=\"Arial\", fDefCapS=12, cDefMenu=\"#FFFFFF\", "
        "fDefMenu=\"Arial\", fDefMenuS=12, PRJ_sTemplate=\"Temp.html\";\r\n"
        "document.write('\\\r\n"
        "<style type=\"text/css\">\\\r\n"
        ".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; "
        "font-family:\"'+fDefCap+'\"; font-size:'+fDefCapS+'pt;}\\\r\n"
        ".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
        "font-size:'+fDefMenuS+'pt;}\\\r\n"
        "');\r\n"
        "var numOfMenus=1,scrIN=20,scrOUT=10,IDE=0,iSelectedMenu=0,errs=\"\",old_pageYOffset=0,"
        "widthChk,heightChk;\r\n"
        "var PR = new Array (numOfMenus);\r\n"
        "var MTC = new Array (\"Caption\");\r\n"
        "var MTCH = new Array (22,0);\r\n"
        "var MTM = new Array (\"Blank menu\");\r\n"
        "var MX = new Array (10,0);\r\n"
        "var MY = new Array (10,0);\r\n"
        "var MW = new Array (150,0);\r\n"
        "var CO = new Array (\"transparent\");\r\n"
        "var CC = new Array (\"#000000\");\r\n"
        "var CM = new Array (\"#008080\");\r\n"
        "var MA = new Array (0,0);\r\n"
        "var FL = new Array (1,0);\r\n"
        "var OO = new Array (0,0);\r\n";
    auto p = projectWith(1);
    ComposeScript(*p, false);
    const std::string file = AssembleScript(*p, false);
    const size_t at = file.find("qLoomIDE_Ver");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(file.substr(at, expectedHeader.size()), expectedHeader);
    // The comment block stands before it, line for line.
    EXPECT_EQ(file.rfind("/*\r\n", 0), 0u);
    EXPECT_EQ(file.substr(at - 4, 4), "*/\r\n");
    // Every line ends with CR LF, the last one included.
    for (size_t i = 0; i < file.size(); ++i) {
        const bool crAlone = file[i] == '\r' && (i + 1 == file.size() || file[i + 1] != '\n');
        const bool lfAlone = file[i] == '\n' && (i == 0 || file[i - 1] != '\r');
        ASSERT_FALSE(crAlone || lfAlone) << "bare line end at " << i;
    }
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
}

TEST(Writer, PreviewVariantDiffersOnlyInTheIdeFlag) {
    auto p = projectWith(3);
    ComposeScript(*p, false);
    const auto finalLines = p->HeaderLines;
    ComposeScript(*p, true);
    ASSERT_EQ(p->HeaderLines.size(), finalLines.size());
    for (size_t i = 0; i < finalLines.size(); ++i) {
        if (i + 1 == 9)
            EXPECT_NE(p->HeaderLines[i], finalLines[i]);
        else
            EXPECT_EQ(p->HeaderLines[i], finalLines[i]) << "header line " << i + 1;
    }
    EXPECT_NE(line(*p, 9).find(",IDE=1,iSelectedMenu=2,"), std::string::npos) << line(*p, 9);
}

TEST(Writer, ComposingAgainStartsFromNothing) {
    auto p = projectWith(2);
    p->HeaderLines = {"stale"};
    ComposeScript(*p, true);
    ComposeScript(*p, true);
    EXPECT_EQ(p->HeaderLines.size(), 22u);
    EXPECT_EQ(line(*p, 1), "qLoomIDE_Ver = \"1.00\";");
}

TEST(Writer, NoMenusGiveEmptyArrays) {
    auto p = projectWith(0);
    p->table.SelectedMenu = 4; // kept from an earlier project; written as it is
    ComposeScript(*p, false);
    EXPECT_EQ(line(*p, 9).rfind("var numOfMenus=0,", 0), 0u) << line(*p, 9);
    EXPECT_NE(line(*p, 9).find("iSelectedMenu=4,"), std::string::npos);
    for (const auto& column : kIntegerColumns)
        EXPECT_EQ(arrayLine(*p, column), "var " + column + " = new Array ();");
    for (const auto& column : kTextColumns)
        EXPECT_EQ(arrayLine(*p, column), "var " + column + " = new Array ();");
}

TEST(Writer, TwoMenusCarryNoPaddingElement) {
    auto p = projectWith(2);
    ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(*p, "MX"), "var MX = new Array (10,162);");
    EXPECT_EQ(arrayLine(*p, "MY"), "var MY = new Array (10,10);");
    EXPECT_EQ(arrayLine(*p, "MTC"), "var MTC = new Array (\"Caption\",\"Caption\");");
    EXPECT_EQ(arrayLine(*p, "CM"), "var CM = new Array (\"#008080\",\"#008080\");");
    EXPECT_EQ(arrayLine(*p, "FL"), "var FL = new Array (1,1);");
}

TEST(Writer, SettingsAndNumbersAreWrittenInDecimal) {
    auto p = projectWith(2);
    p->table.MX[0] = -5;
    p->table.MY[1] = -2147483647 - 1;
    p->settings.cDefCap = 0x0000FF;
    p->settings.cDefMenu = 0x808000;
    p->settings.fDefCap = "Times New Roman";
    p->settings.fDefMenuS = 9;
    p->settings.scrIN = 999;
    p->settings.TemplateFileName = "index.html";
    ComposeScript(*p, false);
    EXPECT_EQ(line(*p, 3), "var cDefCap=\"#FF0000\", fDefCap=\"Times New Roman\", fDefCapS=12, "
                           "cDefMenu=\"#008080\", fDefMenu=\"Arial\", fDefMenuS=9, "
                           "PRJ_sTemplate=\"index.html\";");
    EXPECT_EQ(line(*p, 9).rfind("var numOfMenus=2,scrIN=999,scrOUT=10,IDE=0,", 0), 0u);
    EXPECT_EQ(arrayLine(*p, "MX"), "var MX = new Array (-5,162);");
    EXPECT_EQ(arrayLine(*p, "MY"), "var MY = new Array (10,-2147483648);");
}

TEST(Writer, CaptionsAreEscapedAndSpanOneFileLinePerHtmlLine) {
    auto p = projectWith(1);
    p->table.MTC[0] = "<B>one</B>\r\ntwo \"quoted\" C:\\dir\\";
    ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(*p, "MTC"),
              "var MTC = new Array (\"<B>one</B>\\\r\ntwo \\\"quoted\\\" C:\\\\dir\\\\\");");
    EXPECT_EQ(arrayLine(*p, "MTC").find("\r\n"), arrayLine(*p, "MTC").find("</B>") + 5);
}

// The reader removes one wrapper from every body that is not horizontal, so every such body is
// wrapped, one the user wrapped included: otherwise the typed wrapper would be lost on reading.
TEST(Writer, EveryBodyThatIsNotHorizontalGetsTheNoBreakWrapper) {
    auto p = projectWith(5);
    p->table.OO[0] = 1;
    p->table.MTM[0] = "Item \"1\"";
    p->table.OO[1] = 1;
    p->table.MTM[1] = "<nObR>Item</nObR>";
    p->table.OO[2] = 0;
    p->table.MTM[2] = "<nObR>Item</nObR>";
    p->table.OO[3] = 1;
    p->table.MTM[3] = "<NOBR>x";
    p->table.OO[4] = 7; // shown as vertical by the page
    p->table.MTM[4] = "y";
    ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(*p, "MTM"), "var MTM = new Array (\"<nObR>Item \\\"1\\\"</nObR>\","
                                    "\"<nObR><nObR>Item</nObR></nObR>\",\"<nObR>Item</nObR>\","
                                    "\"<nObR><NOBR>x</nObR>\",\"<nObR>y</nObR>\");");
    // The table itself keeps the body as the user typed it.
    EXPECT_EQ(p->table.MTM[0], "Item \"1\"");
}

TEST(Writer, CaptionFollowsTheOrientationUntilEdited) {
    auto p = projectWith(3);
    p->table.OO[0] = 1; // vertical, default caption: swapped
    p->table.OO[1] = 1;
    p->table.MTC[1] = "Caption "; // edited: never swapped
    p->table.OO[2] = 2;           // not an orientation the writer knows: left alone
    p->table.SelectedMenu = 1;
    std::vector<int32_t> hookRows;
    const CaptionSwapHook hook = [&](int32_t row, const std::string&) { hookRows.push_back(row); };

    ComposeScript(*p, false, hook);
    EXPECT_EQ(p->table.MTC[0], kVerticalDefaultCaption);
    EXPECT_EQ(p->table.MTC[1], "Caption ");
    EXPECT_EQ(p->table.MTC[2], "Caption");
    EXPECT_TRUE(hookRows.empty()) << "the selected row was not swapped";
    EXPECT_EQ(arrayLine(*p, "MTC"), "var MTC = new Array (\"" +
                                        EscapeJsString(kVerticalDefaultCaption) +
                                        "\",\"Caption \",\"Caption\");");

    // Back to horizontal with that row selected: the editor hears about it.
    p->table.OO[0] = 0;
    p->table.SelectedMenu = 0;
    std::string shown;
    ComposeScript(*p, true, [&](int32_t row, const std::string& caption) {
        hookRows.push_back(row);
        shown = caption;
    });
    EXPECT_EQ(p->table.MTC[0], "Caption");
    EXPECT_EQ(hookRows, std::vector<int32_t>{0});
    EXPECT_EQ(shown, "Caption");

    // A swap without a hook is fine too.
    p->table.OO[0] = 1;
    ComposeScript(*p, true);
    EXPECT_EQ(p->table.MTC[0], kVerticalDefaultCaption);
}

TEST(Writer, ManyMenusStayOnTwelveArrayLines) {
    auto p = projectWith(0);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(AddMenu(p->table).ok);
    ComposeScript(*p, false);
    ASSERT_EQ(p->HeaderLines.size(), 22u);
    const std::string& mx = arrayLine(*p, "MX");
    EXPECT_EQ(std::count(mx.begin(), mx.end(), ','), 499);
    EXPECT_EQ(mx.substr(mx.size() - 2), ");");
}

TEST(CommentBlock, NineLinesThatHoldNothingTheReaderLooksFor) {
    const std::string block(CommentBlock());
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = block.size();
        lines.push_back(block.substr(start, end - start));
        start = end;
        if (start < block.size() && block[start] == '\r')
            ++start;
        if (start < block.size() && block[start] == '\n')
            ++start;
    }
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines.front(), "/*");
    EXPECT_EQ(lines.back(), "*/");
    EXPECT_NE(block.find("qLoom"), std::string::npos);
    EXPECT_NE(block.find("1.02"), std::string::npos);
    // The block ends nowhere before its closing line.
    EXPECT_EQ(block.find("*/"), block.rfind("*/"));

    const std::vector<std::string> readerTexts = {
        "qLoomIDE_Ver = ", "var numOfMenus=", "scrIN=",          "scrOUT=",
        "cDefCap=\"",      "cDefMenu=\"",     "fDefCap=\"",      "fDefMenu=\"",
        "fDefCapS=",       "fDefMenuS=",      "PRJ_sTemplate=\""};
    for (const auto& text : readerTexts)
        EXPECT_EQ(block.find(text), std::string::npos) << text;
    for (const auto& column :
         {"MTC", "MTCH", "MTM", "MX", "MY", "MW", "CO", "CC", "CM", "MA", "FL", "OO"}) {
        const std::string prefix = std::string("var ") + column + " = new Array (";
        EXPECT_EQ(block.find(prefix), std::string::npos) << prefix;
    }
}
