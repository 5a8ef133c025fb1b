#include "TempFolder.h"

#include "cli/Cli.h"
#include "cli/ProjectJson.h"
#include "model/Messages.h"
#include "script/FixedTexts.h"
#include "script/ProjectLock.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace qloom;
using namespace qloom::cli;

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome run(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    Outcome r;
    r.code = RunCli(args, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

nlohmann::json dumped(const std::string& path) {
    const Outcome r = run({"dump", path});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    return nlohmann::json::parse(r.out);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Cli, NewWritesTheFinalScriptAndTheDefaultPageButKeepsAnExistingProject) {
    TempFolder tmp;
    const std::string folder = tmp.file("menus");
    const Outcome created = run({"new", folder + "/"});
    ASSERT_EQ(created.code, kExitOk) << created.err;
    const std::string script = ReadFile(folder + "/Qloomscript.js");
    EXPECT_TRUE(contains(script, ",IDE=0,"));
    EXPECT_TRUE(contains(script, "var numOfMenus=0,"));
    EXPECT_FALSE(contains(script, "/* IDE! */"));
    EXPECT_TRUE(Exists(folder + "/Temp.html"));

    ASSERT_EQ(run({"add", folder}).code, kExitOk);
    const Outcome again = run({"new", folder});
    EXPECT_EQ(again.code, kExitFailed);
    EXPECT_TRUE(contains(again.err, "already holds a project")) << again.err;
    EXPECT_EQ(dumped(folder)["menus"].size(), 1u);

    EXPECT_EQ(run({"new", folder, "--force"}).code, kExitOk);
    EXPECT_EQ(dumped(folder)["menus"].size(), 0u);
}

TEST(Cli, WriteThenDumpGivesTheSameDocument) {
    TempFolder tmp;
    auto project = std::make_unique<Project>();
    for (int i = 0; i < 3; ++i)
        (void)AddMenu(*project);
    project->menus[0].captionHtml = "two\r\nlines \"quoted\" C:\\";
    project->menus[1].bodyHtml = "caf\xE9";
    project->menus[1].orientation = 1;
    project->menus[1].captionHtml = kVerticalDefaultCaption;
    project->menus[2].bodyHtml = "<nObR>typed</nObR>"; // horizontal: kept as typed
    project->settings.bodyFont = "Times New Roman";
    project->settings.openStep = 999;
    project->selected = 0; // a load always selects the first menu
    const std::string json = ProjectToJson(*project).dump();

    const Outcome written = run({"write", tmp.path()}, json);
    ASSERT_EQ(written.code, kExitOk) << written.err;
    EXPECT_EQ(dumped(tmp.path()), nlohmann::json::parse(json));
    EXPECT_EQ(dumped(tmp.file("Qloomscript.js")), nlohmann::json::parse(json));
}

TEST(Cli, WritePreviewAddsTheEditingLayer) {
    TempFolder tmp;
    ASSERT_EQ(run({"write", tmp.path(), "--preview"}, R"({"menus":[{}]})").code, kExitOk);
    const std::string script = ReadFile(tmp.file("Qloomscript.js"));
    EXPECT_TRUE(contains(script, ",IDE=1,"));
    EXPECT_TRUE(contains(script, "/* IDE! */"));
}

TEST(Cli, WriteWithBadInputWritesNothing) {
    TempFolder tmp;
    const std::string folder = tmp.file("never");
    for (const std::string& input :
         {std::string("{\"menus\":[{\"CC\":\"a;b\"}]}"), std::string("not json"), std::string()}) {
        const Outcome r = run({"write", folder}, input);
        EXPECT_EQ(r.code, kExitFailed) << input;
        EXPECT_TRUE(contains(r.err, std::string(msg::kCliNothingWritten))) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
    EXPECT_TRUE(contains(run({"write", folder}, "{\"menus\":[{\"MW\":2147483648}]}").err,
                         "menus[0].MW: must be from -2147483648 to 2147483647"));
    EXPECT_FALSE(Exists(folder));
}

// The names the settings dialog refuses: the page would be a folder or a file qLoom writes
// itself, and every save would fail or overwrite it.
TEST(Cli, WriteRefusesTemplateNamesTheSettingsDialogRefuses) {
    TempFolder tmp;
    ASSERT_EQ(::mkdir(tmp.file("pages").c_str(), 0777), 0);
    for (const std::string name :
         {".", "..", "Qloomscript.js", "ReadMe.txt", "readme.TXT", "pages", "", " a.html"}) {
        const Outcome r =
            run({"write", tmp.path()}, R"({"settings":{"template":")" + name + R"("}})");
        EXPECT_EQ(r.code, kExitFailed) << name;
        EXPECT_TRUE(contains(r.err, "settings.template: " + std::string(msg::kCliBadTemplateName)))
            << r.err;
        EXPECT_FALSE(Exists(tmp.file("Qloomscript.js"))) << name;
    }
    EXPECT_EQ(run({"write", tmp.path()}, R"({"settings":{"template":"pages.html"}})").code,
              kExitOk);
    EXPECT_TRUE(Exists(tmp.file("pages.html")));
}

TEST(Cli, AddPlacesMenusLikeTheAddButton) {
    TempFolder tmp;
    ASSERT_EQ(run({"new", tmp.path()}).code, kExitOk);
    ASSERT_EQ(run({"add", tmp.path()}).code, kExitOk);
    ASSERT_EQ(run({"add", tmp.path(), "6"}).code, kExitOk);
    const auto doc = dumped(tmp.path());
    ASSERT_EQ(doc["menus"].size(), 7u);
    EXPECT_EQ(doc["menus"][5]["MX"], 10);
    EXPECT_EQ(doc["menus"][5]["MY"], 110);
    EXPECT_EQ(doc["menus"][6]["MX"], 162);
    const std::string script = ReadFile(tmp.file("Qloomscript.js"));
    EXPECT_TRUE(contains(script, ",IDE=0,iSelectedMenu=6,")) << "the last new menu is selected";

    for (const char* bad : {"0", "-1", "x", "10001", "2 "}) {
        const Outcome r = run({"add", tmp.path(), bad});
        EXPECT_EQ(r.code, kExitUsage) << bad;
    }
    const Outcome full = run({"add", tmp.path(), "9994"});
    EXPECT_EQ(full.code, kExitFailed);
    EXPECT_TRUE(contains(full.err, std::string(msg::kTableFull)));
    EXPECT_EQ(dumped(tmp.path())["menus"].size(), 7u);
}

TEST(Cli, FinalizeWritesTheReadMe) {
    TempFolder tmp;
    ASSERT_EQ(run({"write", tmp.path(), "--preview"}, R"({"menus":[{}]})").code, kExitOk);
    WriteFile(tmp.file("ReadMe.txt"), "old");
    ASSERT_EQ(run({"finalize", tmp.path()}).code, kExitOk);
    EXPECT_FALSE(contains(ReadFile(tmp.file("Qloomscript.js")), "/* IDE! */"));
    const std::string readMe = ReadFile(tmp.file("ReadMe.txt"));
    EXPECT_TRUE(contains(readMe, "makeQloom()"));
    EXPECT_EQ(readMe.substr(readMe.size() - 2), "\r\n");
}

// A project open in qLoom is not written behind its back, nor a script its owner made
// read-only; --force says the user knows, and then every writing command goes ahead.
TEST(Cli, WritingCommandsRefuseALockedProjectOrAReadOnlyScriptUnlessForced) {
    TempFolder tmp;
    ASSERT_EQ(run({"write", tmp.path()}, R"({"menus":[{}]})").code, kExitOk);
    const std::string before = ReadFile(tmp.file("Qloomscript.js"));
    {
        ProjectLock window;
        ASSERT_EQ(window.acquire(tmp.path(), "qloom").state, ProjectLock::State::Acquired);
        const std::vector<std::vector<std::string>> commands = {
            {"write", tmp.path()}, {"add", tmp.path()}, {"finalize", tmp.path()}};
        for (const auto& command : commands) {
            const Outcome r = run(command, R"({"menus":[{},{}]})");
            EXPECT_EQ(r.code, kExitRefused) << command[0];
            EXPECT_TRUE(contains(r.err, tmp.path() + " is open in qloom (process " +
                                            std::to_string(::getpid())))
                << r.err;
            EXPECT_TRUE(contains(r.err, "--force")) << r.err;
        }
        EXPECT_EQ(ReadFile(tmp.file("Qloomscript.js")), before);
        EXPECT_FALSE(Exists(tmp.file("ReadMe.txt")));

        const Outcome forced = run({"add", tmp.path(), "--force"});
        EXPECT_EQ(forced.code, kExitOk) << forced.err;
        EXPECT_EQ(dumped(tmp.path())["menus"].size(), 2u);
        EXPECT_TRUE(window.held()) << "a forced write leaves the window's lock alone";
    }
    // The command's own lock is gone with it.
    EXPECT_FALSE(Exists(tmp.file(".qloom.lock")));

    ::chmod(tmp.file("Qloomscript.js").c_str(), 0444);
    const std::string readOnly = ReadFile(tmp.file("Qloomscript.js"));
    const Outcome refused = run({"write", tmp.path()}, R"({"menus":[]})");
    EXPECT_EQ(refused.code, kExitRefused);
    EXPECT_TRUE(contains(refused.err, tmp.file("Qloomscript.js") + " is read-only")) << refused.err;
    EXPECT_EQ(run({"add", tmp.path()}).code, kExitRefused);
    EXPECT_EQ(ReadFile(tmp.file("Qloomscript.js")), readOnly);
    EXPECT_EQ(run({"write", tmp.path(), "--force"}, R"({"menus":[]})").code, kExitOk);
    EXPECT_EQ(dumped(tmp.path())["menus"].size(), 0u);
}

TEST(Cli, LoadProblemsReportTheReadersMessagesAndExitCodes) {
    TempFolder tmp;
    WriteFile(tmp.file("Qloomscript.js"), "var x = 1;\n");
    const Outcome notProject = run({"dump", tmp.path()});
    EXPECT_EQ(notProject.code, kExitNotProject);
    EXPECT_TRUE(notProject.out.empty());
    EXPECT_TRUE(contains(notProject.err, std::string(msg::kNotAProject))) << notProject.err;
    EXPECT_EQ(notProject.err.find('\r'), std::string::npos);

    WriteFile(tmp.file("other.js"), "qLoomIDE_Ver = \"0.90\";\n");
    const Outcome other = run({"dump", tmp.file("other.js")});
    EXPECT_EQ(other.code, kExitNotProject);
    EXPECT_TRUE(contains(other.err, "another version of qLoom: 0.90")) << other.err;
    EXPECT_EQ(std::count(other.err.begin(), other.err.end(), '\n'), 1);

    WriteFile(tmp.file("bad.js"), "qLoomIDE_Ver = \"1.00\";\nvar numOfMenus=1x,scrIN=1;\n");
    const Outcome bad = run({"dump", tmp.file("bad.js")});
    EXPECT_EQ(bad.code, kExitFailed);
    EXPECT_TRUE(contains(bad.err, "'1x' is not a valid integer value")) << bad.err;

    const Outcome missing = run({"dump", tmp.file("none")});
    EXPECT_EQ(missing.code, kExitFailed);
    EXPECT_TRUE(contains(missing.err, "Cannot open file")) << missing.err;

    EXPECT_EQ(run({"finalize", tmp.file("none")}).code, kExitFailed);
    EXPECT_FALSE(Exists(tmp.file("none")));
}

TEST(Cli, UsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"dump"},
                                               {"dump", "a", "b"},
                                               {"write", "a", "--final"},
                                               {"new", ""},
                                               {"finalize", "a", "b"},
                                               {"add", "a", "1", "2"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(contains(r.err, "Usage:"));
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_EQ(help.out, msg::kCliUsage);
}
