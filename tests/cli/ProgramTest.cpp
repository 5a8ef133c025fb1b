#include "TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

// Runs the program through the shell; stdout and stderr land in files of `tmp`.
int runProgram(const TempFolder& tmp, const std::string& arguments, const std::string& input = {}) {
    WriteFile(tmp.file("stdin"), input);
    const std::string command = std::string("'") + QLOOM_CLI_PROGRAM + "' " + arguments + " <'" +
                                tmp.file("stdin") + "' >'" + tmp.file("stdout") + "' 2>'" +
                                tmp.file("stderr") + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Program, MakesAPageFromJsonAndReadsItBack) {
    TempFolder tmp;
    const std::string folder = tmp.file("site");
    const std::string json =
        R"({"settings":{"template":"index.html"},"menus":[{"MTC":"Home","OO":1},{"MX":300}]})";
    ASSERT_EQ(runProgram(tmp, "write '" + folder + "' --preview", json), 0)
        << ReadFile(tmp.file("stderr"));
    EXPECT_TRUE(Exists(folder + "/index.html"));

    ASSERT_EQ(runProgram(tmp, "dump '" + folder + "'"), 0) << ReadFile(tmp.file("stderr"));
    const auto doc = nlohmann::json::parse(ReadFile(tmp.file("stdout")));
    EXPECT_EQ(doc["settings"]["template"], "index.html");
    EXPECT_EQ(doc["menus"][0]["MTC"], "Home");
    EXPECT_EQ(doc["menus"][1]["MX"], 300);
    EXPECT_TRUE(ReadFile(tmp.file("stderr")).empty());
}

TEST(Program, ExitCodesSeparateUsageBadInputAndForeignFiles) {
    TempFolder tmp;
    EXPECT_EQ(runProgram(tmp, ""), 64);
    EXPECT_EQ(runProgram(tmp, "write '" + tmp.file("x") + "'", "{\"menus\":7}"), 2);
    EXPECT_NE(ReadFile(tmp.file("stderr")).find("menus: must be an array"), std::string::npos);
    EXPECT_FALSE(Exists(tmp.file("x")));
    WriteFile(tmp.file("page.js"), "alert(1);\r\n");
    EXPECT_EQ(runProgram(tmp, "dump '" + tmp.file("page.js") + "'"), 1);
}

// Help and version are answers, not usage errors: exit code 0, text on stdout, nothing on stderr.
TEST(Program, HelpAndVersionExitWithZero) {
    TempFolder tmp;
    for (const char* arguments : {"--help", "dump --help", "write x --preview --help"}) {
        EXPECT_EQ(runProgram(tmp, arguments), 0) << arguments;
        EXPECT_EQ(ReadFile(tmp.file("stdout")).rfind("Usage:", 0), 0u) << arguments;
        EXPECT_NE(ReadFile(tmp.file("stdout")).find("--version"), std::string::npos);
        EXPECT_TRUE(ReadFile(tmp.file("stderr")).empty());
    }
    EXPECT_FALSE(Exists(tmp.file("x")));
    EXPECT_EQ(runProgram(tmp, "--version"), 0);
    EXPECT_EQ(ReadFile(tmp.file("stdout")),
              std::string("qloom-cli ") + QLOOM_PROJECT_VERSION + "\n");
    EXPECT_TRUE(ReadFile(tmp.file("stderr")).empty());
}
