#include "model/Conversions.h"
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
    p->settings.projectFolder = "/tmp/unused";
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(*p).ok());
    return p;
}

// Header line numbers counted from 1, as they stand in the file.
using Header = std::vector<std::string>;

const std::string& line(const Header& header, size_t number) {
    return header.at(number - 1);
}

std::string arrayLine(const Header& header, const std::string& column) {
    const std::string prefix = "var " + column + " = new Array (";
    for (const auto& l : header)
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
    const Header header = ComposeScript(*p, false);
    ASSERT_EQ(header.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(header[i], expected[i]) << "header line " << i + 1;
    // The small-screen settings follow as the last line; a new project lets the page decide.
    EXPECT_EQ(header.back(), "var Qloom={breakpoint:-1,place:0,caption:\"Menu\"};");
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
    Header header = ComposeScript(*p, false);
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
    Header header = ComposeScript(*p, false);
    const auto finalLines = header;
    header = ComposeScript(*p, true);
    ASSERT_EQ(header.size(), finalLines.size());
    for (size_t i = 0; i < finalLines.size(); ++i) {
        if (i + 1 == 9)
            EXPECT_NE(header[i], finalLines[i]);
        else
            EXPECT_EQ(header[i], finalLines[i]) << "header line " << i + 1;
    }
    EXPECT_NE(line(header, 9).find(",IDE=1,iSelectedMenu=2,"), std::string::npos)
        << line(header, 9);
}

TEST(Writer, ComposingTwiceGivesTheSameHeader) {
    auto p = projectWith(2);
    const Header first = ComposeScript(*p, true);
    const Header header = ComposeScript(*p, true);
    EXPECT_EQ(header.size(), 23u);
    EXPECT_EQ(header, first);
    EXPECT_EQ(line(header, 1), "qLoomIDE_Ver = \"1.00\";");
}

TEST(Writer, NoMenusGiveEmptyArrays) {
    auto p = projectWith(0);
    p->selected = 4; // kept from an earlier project; written as it is
    Header header = ComposeScript(*p, false);
    EXPECT_EQ(line(header, 9).rfind("var numOfMenus=0,", 0), 0u) << line(header, 9);
    EXPECT_NE(line(header, 9).find("iSelectedMenu=4,"), std::string::npos);
    for (const auto& column : kIntegerColumns)
        EXPECT_EQ(arrayLine(header, column), "var " + column + " = new Array ();");
    for (const auto& column : kTextColumns)
        EXPECT_EQ(arrayLine(header, column), "var " + column + " = new Array ();");
}

TEST(Writer, TwoMenusCarryNoPaddingElement) {
    auto p = projectWith(2);
    Header header = ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(header, "MX"), "var MX = new Array (10,162);");
    EXPECT_EQ(arrayLine(header, "MY"), "var MY = new Array (10,10);");
    EXPECT_EQ(arrayLine(header, "MTC"), "var MTC = new Array (\"Caption\",\"Caption\");");
    EXPECT_EQ(arrayLine(header, "CM"), "var CM = new Array (\"#008080\",\"#008080\");");
    EXPECT_EQ(arrayLine(header, "FL"), "var FL = new Array (1,1);");
}

TEST(Writer, SettingsAndNumbersAreWrittenInDecimal) {
    auto p = projectWith(2);
    p->menus[0].left = -5;
    p->menus[1].top = -2147483647 - 1;
    p->settings.captionTextColor = 0x0000FF;
    p->settings.bodyTextColor = 0x808000;
    p->settings.captionFont = "Times New Roman";
    p->settings.bodyFontSize = 9;
    p->settings.closeStep = 999;
    p->settings.templateFileName = "index.html";
    Header header = ComposeScript(*p, false);
    EXPECT_EQ(line(header, 3), "var cDefCap=\"#FF0000\", fDefCap=\"Times New Roman\", fDefCapS=12, "
                               "cDefMenu=\"#008080\", fDefMenu=\"Arial\", fDefMenuS=9, "
                               "PRJ_sTemplate=\"index.html\";");
    EXPECT_EQ(line(header, 9).rfind("var numOfMenus=2,scrIN=999,scrOUT=10,IDE=0,", 0), 0u);
    EXPECT_EQ(arrayLine(header, "MX"), "var MX = new Array (-5,162);");
    EXPECT_EQ(arrayLine(header, "MY"), "var MY = new Array (10,-2147483648);");
}

TEST(Writer, CaptionsAreEscapedAndSpanOneFileLinePerHtmlLine) {
    auto p = projectWith(1);
    p->menus[0].captionHtml = "<B>one</B>\r\ntwo \"quoted\" C:\\dir\\";
    Header header = ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(header, "MTC"),
              "var MTC = new Array (\"<B>one</B>\\\r\ntwo \\\"quoted\\\" C:\\\\dir\\\\\");");
    EXPECT_EQ(arrayLine(header, "MTC").find("\r\n"), arrayLine(header, "MTC").find("</B>") + 5);
}

// The reader removes one wrapper from every body that is not horizontal, so every such body is
// wrapped, one the user wrapped included: otherwise the typed wrapper would be lost on reading.
TEST(Writer, EveryBodyThatIsNotHorizontalGetsTheNoBreakWrapper) {
    auto p = projectWith(5);
    p->menus[0].orientation = 1;
    p->menus[0].bodyHtml = "Item \"1\"";
    p->menus[1].orientation = 1;
    p->menus[1].bodyHtml = "<nObR>Item</nObR>";
    p->menus[2].orientation = 0;
    p->menus[2].bodyHtml = "<nObR>Item</nObR>";
    p->menus[3].orientation = 1;
    p->menus[3].bodyHtml = "<NOBR>x";
    p->menus[4].orientation = 7; // shown as vertical by the page
    p->menus[4].bodyHtml = "y";
    Header header = ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(header, "MTM"), "var MTM = new Array (\"<nObR>Item \\\"1\\\"</nObR>\","
                                        "\"<nObR><nObR>Item</nObR></nObR>\",\"<nObR>Item</nObR>\","
                                        "\"<nObR><NOBR>x</nObR>\",\"<nObR>y</nObR>\");");
    // The table itself keeps the body as the user typed it.
    EXPECT_EQ(p->menus[0].bodyHtml, "Item \"1\"");
}

TEST(Writer, CaptionFollowsTheOrientationUntilEdited) {
    auto p = projectWith(3);
    p->menus[0].orientation = 1; // vertical, default caption: swapped
    p->menus[1].orientation = 1;
    p->menus[1].captionHtml = "Caption "; // edited: never swapped
    p->menus[2].orientation = 2;          // not an orientation the writer knows: left alone

    EXPECT_EQ(SwapDefaultCaptions(*p), std::vector<int32_t>{0});
    EXPECT_EQ(p->menus[0].captionHtml, kVerticalDefaultCaption);
    EXPECT_EQ(p->menus[1].captionHtml, "Caption ");
    EXPECT_EQ(p->menus[2].captionHtml, "Caption");
    const Header header = ComposeScript(*p, false);
    EXPECT_EQ(arrayLine(header, "MTC"), "var MTC = new Array (\"" +
                                            EscapeJsString(kVerticalDefaultCaption) +
                                            "\",\"Caption \",\"Caption\");");

    // Back to horizontal: the next save's swap turns it back, and only that row.
    p->menus[0].orientation = 0;
    EXPECT_EQ(SwapDefaultCaptions(*p), std::vector<int32_t>{0});
    EXPECT_EQ(p->menus[0].captionHtml, "Caption");
    EXPECT_TRUE(SwapDefaultCaptions(*p).empty());
}

// Composing, assembling and saving read the project and change nothing in it, not even where
// the caption swap would: a compose that changed the project would make saving an edit that
// undo does not know.
TEST(Writer, ComposingAndSavingLeaveTheProjectAsItWas) {
    auto p = projectWith(4);
    p->menus[0].orientation = 1;                       // would be swapped to the vertical caption
    p->menus[1].captionHtml = kVerticalDefaultCaption; // horizontal: would be swapped back
    p->menus[2].orientation = 1;
    p->menus[2].bodyHtml = "<nObR>wrapped</nObR>";
    p->selected = 2;
    p->settings.smallScreenCaption = "Menü \"x\"";
    const Project before = *p;
    const Project& constant = *p;
    const Header header = ComposeScript(constant, true);
    EXPECT_TRUE(p->sameMenus(before));
    EXPECT_EQ(p->settings, before.settings);
    (void)AssembleScript(constant, false);
    EXPECT_TRUE(p->sameMenus(before));
    // The header shows the captions as they stand: the swap is the saver's caller's edit.
    EXPECT_EQ(arrayLine(header, "MTC").rfind("var MTC = new Array (\"Caption\",", 0), 0u);
}

TEST(Writer, ManyMenusStayOnTwelveArrayLines) {
    auto p = projectWith(0);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(AddMenu(*p).ok());
    Header header = ComposeScript(*p, false);
    ASSERT_EQ(header.size(), 23u);
    const std::string& mx = arrayLine(header, "MX");
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
