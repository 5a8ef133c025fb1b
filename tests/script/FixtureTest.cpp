// Damaged and unusual script files, one row each: what the user is told, whether the project is
// taken over, and that a refused file leaves the active project exactly as it was.

#include "IoTestSupport.h"

#include "model/Messages.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <functional>

namespace qloom {
namespace {

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
    const LoadResult result = LoadProject(path, project, log.fn());

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(log.shown, c.messages);
    if (c.outcome == LoadOutcome::Error) {
        EXPECT_EQ(result.errorMessage, c.error);
    }
    if (c.outcome == LoadOutcome::Loaded) {
        EXPECT_EQ(project.settings.ProjectFolder, before.settings.ProjectFolder);
        if (c.check)
            c.check(project);
    } else {
        EXPECT_TRUE(testing::sameProject(project, before));
    }
}

void expectGoodRows(const Project& p) {
    const MenuTable& t = p.table;
    ASSERT_EQ(t.MenuCount, 2);
    EXPECT_EQ(t.SelectedMenu, 0);
    EXPECT_EQ(t.MTC[1], "Second");
    EXPECT_EQ(t.MTM[0], "Blank menu");
    EXPECT_EQ(t.MTM[1], "Item"); // vertical: the no-break wrapper is dropped
    EXPECT_EQ(t.MX[1], 162);
    EXPECT_EQ(t.MY[1], -5);
    EXPECT_EQ(t.MW[1], 120);
    EXPECT_EQ(t.MTCH[1], 30);
    EXPECT_EQ(t.CO[1], "#102030");
    EXPECT_EQ(t.CC[1], "transparent");
    EXPECT_EQ(t.CM[1], "#ABCDEF");
    EXPECT_EQ(t.MA[1], 1);
    EXPECT_EQ(t.FL[1], 0);
    EXPECT_EQ(t.OO[1], 1);
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
                               EXPECT_EQ(p.table.MTC[0], "Caption");
                               EXPECT_EQ(p.settings.scrIN, 20);
                               EXPECT_EQ(p.settings.fDefCap, "Arial");
                               EXPECT_EQ(p.settings.TemplateFileName, "Temp.html");
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
                               EXPECT_EQ(p.settings.scrIN, 0);
                               EXPECT_EQ(p.settings.scrOUT, 10);
                               expectGoodRows(p);
                           }},
               FixtureCase{"font_size_pt.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.fDefCapS, 12);
                               EXPECT_EQ(p.settings.fDefMenuS, 9);
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
                       EXPECT_EQ(p.table.MTM[0], "Blank menu");
                       EXPECT_EQ(p.table.MTM[1], "Blank menu");
                       EXPECT_EQ(p.table.OO[1], 0);
                       EXPECT_EQ(p.table.MX[1], 162);
                   }},
               FixtureCase{"short_arrays.script",
                           LoadOutcome::Loaded,
                           {endsEarly("var OO = new Array (")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.table.OO[0], 1);
                               EXPECT_EQ(p.table.OO[1], 0);
                               EXPECT_EQ(p.table.MTM[1], "<nObR>Item</nObR>"); // horizontal now
                           }},
               FixtureCase{"short_string_array.script",
                           LoadOutcome::Loaded,
                           {endsEarly("var CM = new Array ("), cannotFind("var MA = new Array ("),
                            cannotFind("var FL = new Array ("), cannotFind("var OO = new Array (")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.table.CM[0], "#008080");
                               EXPECT_EQ(p.table.CM[1], "#008080");
                               EXPECT_EQ(p.table.FL[1], 1);
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
                               EXPECT_EQ(p.table.MenuCount, 0);
                               EXPECT_EQ(p.table.SelectedMenu, 1); // left as it was
                               EXPECT_EQ(p.settings.scrIN, 5);
                               EXPECT_EQ(p.settings.scrOUT, 6);
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
                       EXPECT_EQ(p.settings.cDefCap, 0xFFFFFFu);
                       EXPECT_EQ(p.settings.cDefMenu, 0xFFFFFFu);
                       // Row colours made of harmless characters stay as the file has them;
                       // a quote would break out of the script's string.
                       EXPECT_EQ(p.table.CO[0], "#12345G");
                       EXPECT_EQ(p.table.CO[1], "#102030x");
                       EXPECT_EQ(p.table.CC[1], "#000000");
                       EXPECT_EQ(p.table.CM[0], "Transparent");
                       EXPECT_EQ(p.table.CM[1], "#abcdef");
                   }},
               FixtureCase{"unsafe_names.script",
                           LoadOutcome::Loaded,
                           {},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.TemplateFileName, "....somewherefile");
                               EXPECT_EQ(p.settings.fDefCap, "Times fDefCapS=99");
                               EXPECT_EQ(p.settings.fDefCapS, 12); // not the font's text
                               EXPECT_EQ(p.settings.fDefMenu, "Arial");
                               EXPECT_EQ(p.settings.cDefCap, 0x0000FFu);
                               EXPECT_EQ(p.settings.cDefMenu, 0xFF0000u);
                           }},
               FixtureCase{"missing_header_values.script",
                           LoadOutcome::Loaded,
                           {cannotFind("fDefCap=\""), cannotFind("fDefMenu=\""),
                            cannotFind("fDefCapS="), cannotFind("PRJ_sTemplate=\"")},
                           {},
                           [](const Project& p) {
                               EXPECT_EQ(p.settings.fDefCap, "Arial");
                               EXPECT_EQ(p.settings.fDefCapS, 0);
                               EXPECT_EQ(p.settings.fDefMenuS, 12);
                               EXPECT_EQ(p.settings.TemplateFileName, "Temp.html");
                           }},
               FixtureCase{
                   "prefix_in_caption.script", LoadOutcome::Loaded, {}, {}, [](const Project& p) {
                       EXPECT_EQ(p.table.MTC[0], "Caption\r\nvar MX = new Array (999,999);\r\n"
                                                 "var numOfMenus=7,scrIN=1,\r\n");
                       EXPECT_EQ(p.settings.scrIN, 20);
                       expectGoodRows(p);
                   }}));

TEST(ScriptFixtureFiles, LfOnlyReadsLikeCrLf) {
    Project crlf, lf;
    MessageLog log;
    ASSERT_EQ(
        LoadProject(std::string(QLOOM_TEST_DATA) + "/fixtures/good.script", crlf, log.fn()).outcome,
        LoadOutcome::Loaded);
    ASSERT_EQ(LoadProject(std::string(QLOOM_TEST_DATA) + "/fixtures/lf_only.script", lf, log.fn())
                  .outcome,
              LoadOutcome::Loaded);
    EXPECT_TRUE(testing::sameProject(crlf, lf));
}

} // namespace
} // namespace qloom
