#include "IoTestSupport.h"

#include "script/ScriptSaver.h"

#include "model/Messages.h"
#include "script/ScriptReader.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <gtest/gtest.h>

namespace qloom {
namespace {

using testing::loadFile;
using testing::loadText;

using testing::cannotFind;
using testing::MessageLog;

TEST(ScriptReader, UnreadableFileIsAnErrorAndChangesNothing) {
    testing::TempDir dir;
    // Only regular files are read: a FIFO would block the open for good and /dev/zero never
    // ends; both are refused at once, with the file named.
    ASSERT_EQ(::mkfifo(dir.file("fifo.js").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("zero.js").c_str()), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing.js"), ": No such file or directory"},
        {dir.path(), ": Is a directory"},
        {dir.file("fifo.js"), ": not a regular file"},
        {dir.file("zero.js"), ": not a regular file"}};
    for (const auto& [path, reason] : cases) {
        Project project = testing::sentinelProject();
        MessageLog log;
        const LoadResult result = loadFile(path, project, log);
        EXPECT_EQ(result.outcome, LoadOutcome::Error);
        EXPECT_EQ(result.status.message, "Cannot open file " + path + reason);
        EXPECT_EQ(result.status.file, path);
        EXPECT_TRUE(log.shown.empty());
        EXPECT_TRUE(testing::sameProject(project, testing::sentinelProject()));
    }
}

std::string scriptWithTemplate(const std::string& value) {
    return "qLoomIDE_Ver = \"1.00\";\r\nvar cDefCap=\"#FFFFFF\", fDefCap=\"Arial\", fDefCapS=12, "
           "cDefMenu=\"#FFFFFF\", fDefMenu=\"Arial\", fDefMenuS=12, PRJ_sTemplate=\"" +
           value + "\";\r\nvar numOfMenus=0,scrIN=20,scrOUT=10;\r\n";
}

// Every save joins the template name to the project folder and writes the default page there
// when no file exists: a name that is no file name breaks every save, and the program's own
// files would overwrite the user's page. Such names give way to Temp.html, and the message
// names what the file said.
TEST(ScriptReader, UnusableTemplateNamesBecomeTempHtmlWithAMessage) {
    for (const std::string raw : {"", "  ", ".", "..", " .. ", "Qloomscript.js", "README.TXT",
                                  "readme.txt", "/", "\\:", " / ", "QloomScript.JS"}) {
        Project project;
        project.settings.templateFileName = "before.html";
        MessageLog log;
        ASSERT_EQ(loadText(scriptWithTemplate(raw), project, log).outcome, LoadOutcome::Loaded)
            << raw;
        EXPECT_EQ(project.settings.templateFileName, "Temp.html") << raw;
        EXPECT_EQ(log.shown,
                  (std::vector<std::string>{msg::Format(msg::kTemplateNameRefused, raw)}))
            << raw;
    }
    // Names the settings dialog would take: blanks around them go, as the dialog drops them.
    for (const auto& [raw, kept] : std::vector<std::pair<std::string, std::string>>{
             {"index.htm", "index.htm"},
             {" page.html ", "page.html"},
             {"...", "..."},
             {"Qloomscript.js.html", "Qloomscript.js.html"},
             // A damaged file may break the name over lines: no backslash may be left at its
             // end, where it would escape the closing quote when saved.
             {"page.htm}\\\r\n'", "page.htm}"},
             {"pa\r\nge.htm", "page.htm"}}) {
        Project project;
        MessageLog log;
        ASSERT_EQ(loadText(scriptWithTemplate(raw), project, log).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(project.settings.templateFileName, kept);
        EXPECT_TRUE(log.shown.empty()) << raw;
    }
}

TEST(ScriptReader, TemplateNamingAFolderOfTheProjectBecomesTempHtml) {
    testing::TempDir dir;
    ::mkdir(dir.file("pages").c_str(), 0777);
    testing::writeBytes(dir.file("Qloomscript.js"), scriptWithTemplate("pages"));
    Project project;
    MessageLog log;
    ASSERT_EQ(loadFile(dir.file("Qloomscript.js"), project, log).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(project.settings.templateFileName, "Temp.html");
    EXPECT_EQ(log.shown,
              (std::vector<std::string>{msg::Format(msg::kTemplateNameRefused, "pages")}));

    // A file of that name is a page and stays.
    ::rmdir(dir.file("pages").c_str());
    testing::writeBytes(dir.file("pages"), "<HTML></HTML>");
    MessageLog quiet;
    ASSERT_EQ(loadFile(dir.file("Qloomscript.js"), project, quiet).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(project.settings.templateFileName, "pages");
    EXPECT_TRUE(quiet.shown.empty());
}

// Only the colour arrays: every other column is missing and takes the new-menu values.
std::string scriptWithColours(const std::vector<std::string>& co) {
    std::string list;
    for (size_t i = 0; i < co.size(); ++i)
        list += (i ? ",\"" : "\"") + co[i] + "\"";
    return "qLoomIDE_Ver = \"1.00\";\r\nvar cDefCap=\"#FFFFFF\", fDefCap=\"Arial\", fDefCapS=12, "
           "cDefMenu=\"#FFFFFF\", fDefMenu=\"Arial\", fDefMenuS=12, PRJ_sTemplate=\"t.html\";\r\n"
           "var numOfMenus=" +
           std::to_string(co.size()) + ",scrIN=20,scrOUT=10;\r\nvar CO = new Array (" + list +
           ");\r\nvar CC = new Array (" + list + ");\r\nvar CM = new Array (" + list + ");\r\n";
}

std::string colourLine(const std::string& menu, const std::string& column,
                       const std::string& text) {
    return msg::Format(msg::Format(msg::Format(msg::kColourReplacedLine, menu), column), text);
}

// Hand-edited colours in any CSS notation made of harmless characters are the user's choice and
// stay; a text that could end the script's string or the style rule early is replaced by the
// column's new-menu colour, and the message says where.
TEST(ScriptReader, ColourTextsAreKeptUnlessTheyCouldBreakTheScript) {
    const std::vector<std::string> kept = {
        "red",         "#00000G", "rgb(10, 20, 30)", "hsl(0,50%,50%)",
        "Transparent", "#abc",    "rgba(0,0,0,.5)"};
    for (const std::string& colour : kept) {
        Project project;
        MessageLog log;
        ASSERT_EQ(loadText(scriptWithColours({colour}), project, log).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(project.menus[0].bottomColor, colour);
        EXPECT_EQ(project.menus[0].captionColor, colour);
        EXPECT_EQ(project.menus[0].bodyColor, colour);
        EXPECT_TRUE(std::none_of(log.shown.begin(), log.shown.end(), [](const std::string& m) {
            return m.rfind(std::string(msg::kColoursReplacedHead), 0) == 0;
        })) << colour;
    }

    Project project;
    MessageLog log;
    ASSERT_EQ(
        loadText(scriptWithColours({"red", "red;x:1", "", "a\\\\b", "<b>"}), project, log).outcome,
        LoadOutcome::Loaded);
    const Project& t = project;
    EXPECT_EQ(t.menus[0].bottomColor, "red");
    for (int row = 1; row < 5; ++row) {
        EXPECT_EQ(t.menus[row].bottomColor, "transparent") << row;
        EXPECT_EQ(t.menus[row].captionColor, "#000000") << row;
        EXPECT_EQ(t.menus[row].bodyColor, "#008080") << row;
    }
    std::string expected(msg::kColoursReplacedHead);
    for (const auto& [menu, text] : std::vector<std::pair<std::string, std::string>>{
             {"Menu 2", "red;x:1"}, {"Menu 3", ""}, {"Menu 4", "a\\b"}}) {
        for (const char* column : {"CO", "CC", "CM"})
            expected += colourLine(menu, column, text);
    }
    expected += colourLine("Menu 5", "CO", "<b>");
    expected += msg::Format(msg::kColoursReplacedMore, "2");
    expected += msg::kColoursReplacedTail;
    ASSERT_FALSE(log.shown.empty());
    EXPECT_EQ(log.shown.back(), expected);
}

// A hand-edited file that moved every statement away from the start of its line still reads:
// the first occurrence anywhere is the fallback.
TEST(ScriptReader, FindsValuesAnywhereWhenNoLineStartsWithThem) {
    const std::string text =
        "  qLoomIDE_Ver = \"1.00\"; var numOfMenus=1 ,scrIN=  7,scrOUT=8;\n"
        " x cDefCap=\"#00FF00\" cDefMenu=\"#000080\" fDefCap=\"Tahoma\" fDefMenu=\"Georgia\"\n"
        " fDefCapS=10,fDefMenuS=11;PRJ_sTemplate=\"index.htm\"\n"
        " var MTC = new Array (\"a\\\\b\\\"c\\x\\\\\"); var MTCH = new Array ( 5 ,0);"
        " var MTM = new Array (\"<nObR></nObR>\"); var MX = new Array (-1,0);"
        " var MY = new Array (\n-2\n,0); var MW = new Array (3,0); var CO = new Array "
        "(\"#111111\");"
        " var CC = new Array (\"#222222\"); var CM = new Array (\"#333333\");"
        " var MA = new Array (1,0); var FL = new Array (0,0); var OO = new Array (1,0);";
    Project project;
    MessageLog log;
    ASSERT_EQ(loadText(text, project, log).outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(log.shown.empty());
    const ProjectSettings& s = project.settings;
    EXPECT_EQ(s.closeStep, 7);
    EXPECT_EQ(s.openStep, 8);
    EXPECT_EQ(s.captionTextColor, 0x00FF00u);
    EXPECT_EQ(s.bodyTextColor, 0x800000u);
    EXPECT_EQ(s.captionFont, "Tahoma");
    EXPECT_EQ(s.bodyFont, "Georgia");
    EXPECT_EQ(s.captionFontSize, 10);
    EXPECT_EQ(s.bodyFontSize, 11);
    EXPECT_EQ(s.templateFileName, "index.htm");
    const Project& t = project;
    ASSERT_EQ(t.menuCount(), 1);
    // Doubled backslash, escaped quote, and a backslash before another character kept as is.
    EXPECT_EQ(t.menus[0].captionHtml, "a\\b\"c\\x\\");
    EXPECT_EQ(t.menus[0].captionHeight, 5);
    EXPECT_EQ(t.menus[0].bodyHtml, ""); // the bare wrapper of a vertical menu
    EXPECT_EQ(t.menus[0].left, -1);
    EXPECT_EQ(t.menus[0].top, -2);
    EXPECT_EQ(t.menus[0].bottomColor, "#111111");
    EXPECT_EQ(t.menus[0].activation, 1);
    EXPECT_EQ(t.menus[0].floating, 0);
    EXPECT_EQ(t.menus[0].orientation, 1);
}

// A number array that runs past its ")" takes its missing elements from the text that follows;
// what follows there is normally not a number, and the load stops without taking anything over.
TEST(ScriptReader, ConversionErrorAfterMessagesStillChangesNothing) {
    const std::string text = "qLoomIDE_Ver = \"1.00\";\r\n"
                             "var numOfMenus=2,scrIN=3,scrOUT=4;\r\n"
                             "var MTC = new Array (\"a\",\"b\");\r\n"
                             "var MTCH = new Array (1);\r\n"
                             "function makeQloom() {}\r\n";
    Project project = testing::sentinelProject();
    MessageLog log;
    const LoadResult result = loadText(text, project, log);
    EXPECT_EQ(result.outcome, LoadOutcome::Error);
    EXPECT_EQ(result.status.message, "';\r\nfunction makeQloom(' is not a valid integer value");
    ASSERT_FALSE(log.shown.empty());
    EXPECT_EQ(log.shown.front(), cannotFind("cDefCap=\""));
    EXPECT_TRUE(testing::sameProject(project, testing::sentinelProject()));
}

// A vertical menu body may legitimately start with a line that looks like a header statement.
// Only the statement at the start of a line outside any string counts.
TEST(ScriptReader, StatementTextInsideABodyIsNotTakenForTheStatement) {
    const std::string text =
        "qLoomIDE_Ver = \"1.00\";\r\n"
        "var cDefCap=\"#FFFFFF\", fDefCap=\"A\", fDefCapS=1, cDefMenu=\"#FFFFFF\","
        " fDefMenu=\"B\", fDefMenuS=2, PRJ_sTemplate=\"t.html\";\r\n"
        "var numOfMenus=1,scrIN=3,scrOUT=4;\r\n"
        "var MTC = new Array (\"\\\r\n"
        "var OO = new Array (5,0);\\\r\n"
        "var MTM = new Array (\\\"x\\\");\");\r\n"
        "var MTCH = new Array (9,0);\r\n"
        "var MTM = new Array (\"<nObR>body</nObR>\");\r\n"
        "var MX = new Array (1,0);\r\nvar MY = new Array (2,0);\r\n"
        "var MW = new Array (3,0);\r\nvar CO = new Array (\"transparent\");\r\n"
        "var CC = new Array (\"#000000\");\r\nvar CM = new Array (\"#008080\");\r\n"
        "var MA = new Array (0,0);\r\nvar FL = new Array (1,0);\r\n"
        "var OO = new Array (1,0);\r\n";
    Project project;
    MessageLog log;
    ASSERT_EQ(loadText(text, project, log).outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(project.menus[0].captionHtml,
              "\r\nvar OO = new Array (5,0);\r\nvar MTM = new Array (\"x\");");
    EXPECT_EQ(project.menus[0].orientation, 1);
    EXPECT_EQ(project.menus[0].bodyHtml, "body");
}

// The small-screen settings came after the format: a file without their line is an older
// project and reads as Off, silently; a line a hand edit spoiled is brought back into range.
// The line counts only after the last array line, so a caption or body cannot set it.
TEST(ScriptReader, SmallScreenLineIsReadAfterTheArraysOnly) {
    Project fresh;
    ASSERT_TRUE(AddMenu(fresh).ok());
    std::string text = AssembleScript(fresh, false);
    const size_t at = text.find("var Qloom={");
    ASSERT_NE(at, std::string::npos);
    const size_t end = text.find("\r\n", at) + 2;
    auto withLine = [&](const std::string& line) {
        return text.substr(0, at) + line + text.substr(end);
    };

    struct Case {
        std::string line;
        int32_t breakpoint, place;
        std::string caption;
    };
    const Case cases[] = {
        {"", 0, 0, "Menu"}, // an older file: Off
        {"var Qloom={breakpoint:-1,place:0,caption:\"Menu\"};\r\n", -1, 0, "Menu"},
        {"var Qloom={breakpoint:640,place:2,caption:\"M\\\"x\\\\\"};\r\n", 640, 2, "M\"x\\"},
        {"var Qloom={breakpoint:-7,place:9,caption:\"\"};\r\n", -1, 0, "Menu"},
        {"var Qloom={breakpoint:99999999,place:-1,caption:\"a\\\r\nb\"};\r\n", 100000, 0,
         "Menu"}, // the caption ends with its line
        {"var Qloom={breakpoint:x,place:1};\r\n", -1, 1, "Menu"},
    };
    for (const Case& c : cases) {
        Project project;
        project.settings.smallScreenBreakpoint = 55;
        MessageLog log;
        ASSERT_EQ(loadText(withLine(c.line), project, log).outcome, LoadOutcome::Loaded) << c.line;
        EXPECT_TRUE(log.shown.empty()) << c.line;
        EXPECT_EQ(project.settings.smallScreenBreakpoint, c.breakpoint) << c.line;
        EXPECT_EQ(project.settings.smallScreenPlace, c.place) << c.line;
        EXPECT_EQ(project.settings.smallScreenCaption, c.caption) << c.line;
    }

    // A line before the arrays (here inside a caption) is not the setting.
    Project decoy;
    ASSERT_TRUE(AddMenu(decoy).ok());
    decoy.menus[0].captionHtml = "x\r\nvar Qloom={breakpoint:300,place:1,caption:\"No\"};";
    decoy.settings.smallScreenBreakpoint = 0;
    Project read;
    MessageLog log;
    ASSERT_EQ(loadText(AssembleScript(decoy, true), read, log).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(read.settings.smallScreenBreakpoint, 0);
    EXPECT_EQ(read.settings.smallScreenCaption, "Menu");
    EXPECT_EQ(read.menus[0].captionHtml, decoy.menus[0].captionHtml);
}

} // namespace
} // namespace qloom
