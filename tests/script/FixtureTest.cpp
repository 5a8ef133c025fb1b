// Damaged and unusual script files, one row each: what the user is told, whether the project is
// taken over, and that a refused file leaves the active project exactly as it was.

#include "IoTestSupport.h"

#include "model/Messages.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <functional>

namespace qloom {
namespace {

using testing::loadFile;
using testing::loadText;

using testing::cannotFind;
using testing::MessageLog;

struct FixtureCase {
    const char* file;
    LoadOutcome outcome;
    std::vector<std::string> messages{};
    std::string error{};                         // for LoadOutcome::Error
    std::function<void(const Project&)> check{}; // for LoadOutcome::Loaded
};

std::string endsEarly(const std::string& prefix) {
    return msg::Format(msg::kArrayEndsEarly, prefix);
}

void PrintTo(const FixtureCase& c, std::ostream* os) {
    *os << c.file;
}

class ScriptFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(ScriptFixture, ReportsAndKeepsOrReplacesTheProject) {
    const FixtureCase& c = GetParam();
    const std::string path = std::string(QLOOM_TEST_DATA) + "/fixtures/" + c.file;

    const Project before = testing::sentinelProject();
    Project project = before;
    MessageLog log;
    const LoadResult result = loadFile(path, project, log);

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(log.shown, c.messages);
    if (c.outcome == LoadOutcome::Error) {
        EXPECT_EQ(result.status.message, c.error);
    }
    if (c.outcome == LoadOutcome::Loaded) {
        EXPECT_EQ(project.settings.projectFolder, before.settings.projectFolder);
        if (c.check)
            c.check(project);
    } else {
        EXPECT_TRUE(testing::sameProject(project, before));
    }
}

void expectGoodRows(const Project& p) {
    const Project& t = p;
    ASSERT_EQ(t.menuCount(), 2);
    EXPECT_EQ(t.selected, 0);
    EXPECT_EQ(t.menus[1].captionHtml, "Second");
    EXPECT_EQ(t.menus[0].bodyHtml, "Blank menu");
    EXPECT_EQ(t.menus[1].bodyHtml, "Item"); // vertical: the no-break wrapper is dropped
    EXPECT_EQ(t.menus[1].left, 162);
    EXPECT_EQ(t.menus[1].top, -5);
    EXPECT_EQ(t.menus[1].width, 120);
    EXPECT_EQ(t.menus[1].captionHeight, 30);
    EXPECT_EQ(t.menus[1].bottomColor, "#102030");
    EXPECT_EQ(t.menus[1].captionColor, "transparent");
    EXPECT_EQ(t.menus[1].bodyColor, "#ABCDEF");
    EXPECT_EQ(t.menus[1].activation, 1);
    EXPECT_EQ(t.menus[1].floating, 0);
    EXPECT_EQ(t.menus[1].orientation, 1);
}

const std::string kVersionPrefix = "qLoomIDE_Ver = \"";

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ScriptFixture,
    ::testing::
        Values(FixtureCase{"good.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               expectGoodRows(p);
                               EXPECT_EQ(p.menus[0].captionHtml, "Caption");
                               EXPECT_EQ(p.settings.closeStep, 20);
                               EXPECT_EQ(p.settings.captionFont, "Arial");
                               EXPECT_EQ(p.settings.templateFileName, "Temp.html");
                           }},
               FixtureCase{"lf_only.script", LoadOutcome::Loaded, {}, {}, expectGoodRows},
               FixtureCase{"no_version.script",
                           LoadOutcome::NotProject,
                           {cannotFind(kVersionPrefix), std::string(msg::kNotAProject)}},
               FixtureCase{"empty.script",
                           LoadOutcome::NotProject,
                           {cannotFind(kVersionPrefix), std::string(msg::kNotAProject)}},
               FixtureCase{
                   "other_version.script",
                   LoadOutcome::NotProject,
                   {std::string(msg::kOtherVersion) + "0.90" + std::string(msg::kDownloadLines)}},
               FixtureCase{"scrin_empty.script",
                           LoadOutcome::Loaded,
                           {cannotFind("scrIN=")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.closeStep, 0);
                               EXPECT_EQ(p.settings.openStep, 10);
                               expectGoodRows(p);
                           }},
               FixtureCase{"font_size_pt.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.captionFontSize, 12);
                               EXPECT_EQ(p.settings.bodyFontSize, 9);
                           }},
               FixtureCase{
                   "two_commas.script", LoadOutcome::Error, {}, "'' is not a valid integer value"},
               FixtureCase{"not_integer.script",
                           LoadOutcome::Error,
                           {},
                           "'12O' is not a valid integer value"},
               FixtureCase{
                   "missing_arrays.script",
                   LoadOutcome::Loaded,
                   {cannotFind("var MTM = new Array ("), cannotFind("var OO = new Array (")},
                   {},
                   [](const Project& p) {
                       // Rows of a missing array hold what a new menu would.
                       EXPECT_EQ(p.menus[0].bodyHtml, "Blank menu");
                       EXPECT_EQ(p.menus[1].bodyHtml, "Blank menu");
                       EXPECT_EQ(p.menus[1].orientation, 0);
                       EXPECT_EQ(p.menus[1].left, 162);
                   }},
               FixtureCase{"short_arrays.script",
                           LoadOutcome::Loaded,
                           {endsEarly("var OO = new Array (")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.menus[0].orientation, 1);
                               EXPECT_EQ(p.menus[1].orientation, 0);
                               EXPECT_EQ(p.menus[1].bodyHtml,
                                         "<nObR>Item</nObR>"); // horizontal now
                           }},
               FixtureCase{"short_string_array.script",
                           LoadOutcome::Loaded,
                           {endsEarly("var CM = new Array ("), cannotFind("var MA = new Array ("),
                            cannotFind("var FL = new Array ("), cannotFind("var OO = new Array (")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.menus[0].bodyColor, "#008080");
                               EXPECT_EQ(p.menus[1].bodyColor, "#008080");
                               EXPECT_EQ(p.menus[1].floating, 1);
                           }},
               FixtureCase{"huge_count.script",
                           LoadOutcome::Error,
                           {},
                           msg::Format(msg::kMenuCountOutOfRange, "20000")},
               FixtureCase{"negative_count.script",
                           LoadOutcome::Error,
                           {},
                           msg::Format(msg::kMenuCountOutOfRange, "-3")},
               FixtureCase{"zero_menus.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.menuCount(), 0);
                               EXPECT_EQ(p.selected, 1); // left as it was
                               EXPECT_EQ(p.settings.closeStep, 5);
                               EXPECT_EQ(p.settings.openStep, 6);
                           }},
               FixtureCase{
                   "bad_colours.script",
                   LoadOutcome::Loaded,
                   {std::string(msg::kColoursReplacedHead) +
                    msg::Format(msg::Format(msg::Format(msg::kColourReplacedLine, "Menu 2"), "CC"),
                                "a\"b") +
                    std::string(msg::kColoursReplacedTail)},
                   {},
                   [](const Project& p) {
                       EXPECT_EQ(p.settings.captionTextColor, 0xFFFFFFu);
                       EXPECT_EQ(p.settings.bodyTextColor, 0xFFFFFFu);
                       // Row colours made of harmless characters stay as the file has them;
                       // a quote would break out of the script's string.
                       EXPECT_EQ(p.menus[0].bottomColor, "#12345G");
                       EXPECT_EQ(p.menus[1].bottomColor, "#102030x");
                       EXPECT_EQ(p.menus[1].captionColor, "#000000");
                       EXPECT_EQ(p.menus[0].bodyColor, "Transparent");
                       EXPECT_EQ(p.menus[1].bodyColor, "#abcdef");
                   }},
               FixtureCase{"unsafe_names.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.templateFileName, "....somewherefile");
                               EXPECT_EQ(p.settings.captionFont, "Times fDefCapS=99");
                               EXPECT_EQ(p.settings.captionFontSize, 12); // not the font's text
                               EXPECT_EQ(p.settings.bodyFont, "Arial");
                               EXPECT_EQ(p.settings.captionTextColor, 0x0000FFu);
                               EXPECT_EQ(p.settings.bodyTextColor, 0xFF0000u);
                           }},
               FixtureCase{"missing_header_values.script",
                           LoadOutcome::Loaded,
                           {cannotFind("fDefCap=\""), cannotFind("fDefMenu=\""),
                            cannotFind("fDefCapS="), cannotFind("PRJ_sTemplate=\"")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.captionFont, "Arial");
                               EXPECT_EQ(p.settings.captionFontSize, 0);
                               EXPECT_EQ(p.settings.bodyFontSize, 12);
                               EXPECT_EQ(p.settings.templateFileName, "Temp.html");
                           }},
               FixtureCase{
                   "prefix_in_caption.script", LoadOutcome::Loaded, {}, {}, [](const Project& p) {
                       EXPECT_EQ(p.menus[0].captionHtml,
                                 "Caption\r\nvar MX = new Array (999,999);\r\n"
                                 "var numOfMenus=7,scrIN=1,\r\n");
                       EXPECT_EQ(p.settings.closeStep, 20);
                       expectGoodRows(p);
                   }}));

TEST(ScriptFixtureFiles, LfOnlyReadsLikeCrLf) {
    Project crlf, lf;
    MessageLog log;
    ASSERT_EQ(loadFile(std::string(QLOOM_TEST_DATA) + "/fixtures/good.script", crlf, log).outcome,
              LoadOutcome::Loaded);
    ASSERT_EQ(loadFile(std::string(QLOOM_TEST_DATA) + "/fixtures/lf_only.script", lf, log).outcome,
              LoadOutcome::Loaded);
    EXPECT_TRUE(testing::sameProject(crlf, lf));
}

} // namespace
} // namespace qloom
