// Whatever `dump` prints, `write` takes, and the project it writes dumps the same again: the
// JSON form holds every value a script read back can hold, damaged scripts included.

#include "TempFolder.h"

#include "cli/Cli.h"
#include "cli/ProjectJson.h"
#include "model/Project.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace qloom;
using namespace qloom::cli;

namespace {

// Pieces a hand edit or a damaged disk puts into a header: values out of the editor's ranges,
// colours of any shape, reserved template names, quotes, escapes, wrappers, default captions.
const std::vector<std::string> kPieces = {
    "0",
    "1",
    "2",
    "-7",
    "999999",
    "2147483647",
    "-1",
    " ",
    ",",
    "\"",
    "\\",
    "\\\"",
    ")",
    "(",
    ";",
    "\r\n",
    "\t",
    "12pt",
    "red",
    "#00000G",
    "rgb(1, 2, 3)",
    "a;b",
    "<b>",
    "..",
    ".",
    "ReadMe.txt",
    "Qloomscript.js",
    "/",
    ":",
    "'",
    "<nObR>",
    "</nObR>",
    "Caption",
    "<CENTER>\\\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>",
    "\xE9",
    "\\\r\n",
};

class DamagedScripts {
public:
    explicit DamagedScripts(uint32_t seed) : rng_(seed) {}

    std::string next(Project& scratch) {
        ClearMenus(scratch);
        scratch.settings = ProjectSettings{};
        const size_t menus = pick(5);
        for (size_t i = 0; i < menus; ++i) {
            (void)AddMenu(scratch);
            scratch.menus[i].orientation = static_cast<int32_t>(pick(2));
            scratch.menus[i].captionHtml = pick(2) ? std::string("Caption") : piece() + piece();
            scratch.menus[i].bodyHtml = piece() + "x" + piece();
        }
        if (pick(2) == 0)
            (void)SwapDefaultCaptions(scratch);
        std::string text = AssembleScript(scratch, false);
        // Damage only the header: the runtime after it is never read.
        const size_t headerEnd = text.find("\r\n", text.find("var OO = new Array (")) + 2;
        std::string header = text.substr(0, headerEnd);
        for (size_t edits = 1 + pick(4); edits > 0; --edits) {
            const size_t at = pick(header.size());
            switch (pick(3)) {
            case 0:
                header.erase(at, 1 + pick(6));
                break;
            case 1:
                header.insert(at, piece());
                break;
            default: {
                // A number replaced as a whole, so that most such files still load.
                const size_t digits = header.find_first_of("0123456789", at);
                if (digits == std::string::npos)
                    break;
                const size_t end = header.find_first_not_of("0123456789", digits);
                header.replace(digits, end - digits, piece());
            }
            }
        }
        return header + text.substr(headerEnd);
    }

private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
    std::string piece() { return kPieces[pick(kPieces.size())]; }

    std::mt19937 rng_;
};

// The sanitizer build runs the same scripts, fewer of them: it looks for memory faults, which
// show in the first hundreds as well, and it runs about ten times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDamagedScripts = 300;
#else
constexpr int kDamagedScripts = 3000;
#endif

} // namespace

TEST(DumpWrite, RandomDamagedScriptsWriteBackToTheSameDocument) {
    DamagedScripts damaged(20261207);
    auto scratch = std::make_unique<Project>();
    auto read = std::make_unique<Project>();
    auto written = std::make_unique<Project>();
    auto reread = std::make_unique<Project>();
    int loaded = 0;
    for (int iteration = 0; iteration < kDamagedScripts; ++iteration) {
        const std::string text = damaged.next(*scratch);
        *read = Project{};
        if (LoadProjectFromText(text, *read).outcome != LoadOutcome::Loaded)
            continue;
        ++loaded;
        const std::string dump = ProjectToJson(*read).dump();

        const Status taken = ProjectFromJsonText(dump, *written);
        ASSERT_TRUE(taken.ok) << taken.message << "\n" << dump << "\n" << text;
        (void)SwapDefaultCaptions(*written);
        const std::string saved = AssembleScript(*written, iteration % 2 == 0);
        *reread = Project{};
        ASSERT_EQ(LoadProjectFromText(saved, *reread).outcome, LoadOutcome::Loaded) << saved;
        ASSERT_EQ(ProjectToJson(*reread).dump(), dump) << text;
    }
    // Enough of the damaged files must load for the property to mean anything.
    EXPECT_GT(loaded, kDamagedScripts / 3);
}

// The same through the program's commands and files, for the damage seen in the field.
TEST(DumpWrite, CommandsTakeWhatTheyPrintForADamagedFile) {
    TempFolder damaged;
    TempFolder copy;
    auto project = std::make_unique<Project>();
    (void)AddMenu(*project);
    (void)AddMenu(*project);
    std::string text = AssembleScript(*project, false);
    auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace("scrIN=20,", "scrIN=,");
    replace("var MW = new Array (150,150)", "var MW = new Array (0,-3)");
    replace("var OO = new Array (0,0)", "var OO = new Array (2,0)");
    replace("var CC = new Array (\"#000000\"", "var CC = new Array (\"red\"");
    replace("fDefCap=\"Arial\"", "fDefCap=\" Arial \"");
    WriteFile(damaged.file("Qloomscript.js"), text);

    auto run = [](const std::vector<std::string>& args, const std::string& input,
                  std::string& out) {
        std::istringstream in(input);
        std::ostringstream o;
        std::ostringstream err;
        const int code = RunCli(args, in, o, err);
        out = o.str();
        return code;
    };
    std::string first;
    std::string ignored;
    std::string second;
    ASSERT_EQ(run({"dump", damaged.path()}, "", first), kExitOk);
    ASSERT_EQ(run({"write", copy.path()}, first, ignored), kExitOk);
    ASSERT_EQ(run({"dump", copy.path()}, "", second), kExitOk);
    EXPECT_EQ(second, first);
    EXPECT_NE(first.find("\"scrIN\": 0"), std::string::npos) << first;
    EXPECT_NE(first.find("\"MW\": -3"), std::string::npos) << first;
    EXPECT_NE(first.find("\"CC\": \"red\""), std::string::npos) << first;
}
