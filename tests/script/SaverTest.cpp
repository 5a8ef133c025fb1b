#include "IoTestSupport.h"

#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/FixedTexts.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"
#include "script/internal/LineEnds.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qloom {
namespace {

using testing::listFolder;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// Writes to a file whose path ends with `suffix` stop after `afterBytes` bytes, as on a full
// disk; every other write goes through.
class FullDiskAt : public WriteFaults {
public:
    FullDiskAt(std::string suffix, size_t afterBytes)
        : suffix_(std::move(suffix)), afterBytes_(afterBytes) {}
    size_t bytesAllowed(const std::string& path) const override {
        const bool match = path.size() >= suffix_.size() &&
                           path.compare(path.size() - suffix_.size(), suffix_.size(), suffix_) == 0;
        return match ? afterBytes_ : WriteFaults::bytesAllowed(path);
    }

private:
    std::string suffix_;
    size_t afterBytes_;
};

const std::string kFull = ": No space left on device";

Project projectIn(const std::string& folder) {
    Project p;
    p.settings.projectFolder = folder;
    (void)AddMenu(p);
    (void)AddMenu(p);
    p.menus[1].orientation = 1;
    p.menus[0].captionHtml = "two\r\nlines \"quoted\" C:\\";
    return p;
}

bool everyLineEndsWithCrLf(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

TEST(PathRules, SeparatorAndRoot) {
    EXPECT_EQ(StripTrailingBackslash("/home/u/menus/"), "/home/u/menus");
    EXPECT_EQ(StripTrailingBackslash("/home/u/menus"), "/home/u/menus");
    EXPECT_EQ(StripTrailingBackslash("/"), "/");
    EXPECT_EQ(StripTrailingBackslash("a"), "a");
    EXPECT_EQ(StripTrailingBackslash("a//"), "a/"); // one separator at most
    EXPECT_EQ(JoinPath("/home/u", "Qloomscript.js"), "/home/u/Qloomscript.js");
    EXPECT_EQ(JoinPath("/", "Qloomscript.js"), "/Qloomscript.js");

    TempDir dir;
    writeBytes(dir.file("f.txt"), "x");
    EXPECT_TRUE(PathExists(dir.path()));
    EXPECT_TRUE(PathExists(dir.path() + "/"));
    EXPECT_TRUE(PathExists(dir.file("f.txt")));
    EXPECT_TRUE(PathExists("/"));
    EXPECT_FALSE(PathExists(dir.file("none")));
    EXPECT_FALSE(PathExists(""));
}

// The blocks are joined line by line: whatever breaks a block or header entry holds, the file
// has CR LF after every line and no line is added between blocks.
TEST(AssembleScript, JoinsBlocksLineByLineWithCrLf) {
    Project p;
    (void)AddMenu(p);
    p.settings.captionFont = "head\rone";
    p.settings.bodyFont = "two\nthree";
    p.menus[0].bottomColor = "four\r\n\r\nfive";
    auto headerOf = [&](bool preview) {
        std::string header;
        for (const std::string& line : ComposeScript(p, preview))
            header += line + "\r\n";
        return NormaliseLineEnds(header);
    };
    const std::string header = headerOf(false);
    ASSERT_NE(header.find("head\r\none"), std::string::npos);

    const std::string final = AssembleScript(p, false);
    const std::string preview = AssembleScript(p, true);
    const std::string comment = NormaliseLineEnds(CommentBlock());
    const std::string runtime = NormaliseLineEnds(RuntimeTemplate());
    const std::string editing = NormaliseLineEnds(EditingLayer());

    EXPECT_EQ(final, comment + header + runtime);
    EXPECT_EQ(preview, comment + headerOf(true) + runtime + editing);
    EXPECT_TRUE(everyLineEndsWithCrLf(preview));
    EXPECT_EQ(final.find("/* IDE! */"), std::string::npos);
}

TEST(SaveScript, WritesScriptAndDefaultPageIntoACreatedFolder) {
    TempDir dir;
    const std::string folder = dir.file("project"); // does not exist yet
    Project p = projectIn(folder);

    ASSERT_TRUE(SaveScript(p, true).ok);
    const std::string script = readBytes(folder + "/Qloomscript.js");
    EXPECT_EQ(script, AssembleScript(p, true));
    EXPECT_TRUE(everyLineEndsWithCrLf(script));

    const std::string page = readBytes(folder + "/Temp.html");
    EXPECT_EQ(page,
              "<HTML>\r\n\r\n<HEAD>\r\n\r\n"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Qloomscript.js\"></SCRIPT>\r\n\r\n"
              "</HEAD>\r\n\r\n<BODY leftmargin=0 topmargin=0>\r\n\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>\r\n\r\n"
              "</BODY>\r\n\r\n</HTML>\r\n");
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"Qloomscript.js", "Temp.html"}));
}

TEST(SaveScript, RepeatedSavesAreIdenticalAndKeepAnExistingTemplate) {
    TempDir dir;
    Project p = projectIn(dir.path());
    p.settings.templateFileName = "mine.html";
    writeBytes(dir.file("mine.html"), "my own page\n");

    ASSERT_TRUE(SaveScript(p, true).ok);
    const std::string first = readBytes(dir.file("Qloomscript.js"));
    ASSERT_TRUE(SaveScript(p, true).ok);
    EXPECT_EQ(readBytes(dir.file("Qloomscript.js")), first);
    EXPECT_EQ(readBytes(dir.file("mine.html")), "my own page\n");

    // The final variant differs only by its count line and the missing editing layer.
    ASSERT_TRUE(SaveScript(p, false).ok);
    const std::string final = readBytes(dir.file("Qloomscript.js"));
    EXPECT_EQ(final.find("/* IDE! */"), std::string::npos);
    EXPECT_NE(final.find(",IDE=0,"), std::string::npos);
    EXPECT_NE(first.find(",IDE=1,"), std::string::npos);
}

// A save that breaks off half way must not cost the user the project: the previous script stays
// as it was, nothing half-written is left behind, and the template page is not written.
TEST(SaveScript, FailedWriteKeepsThePreviousScript) {
    TempDir dir;
    Project p = projectIn(dir.path());
    ASSERT_TRUE(SaveScript(p, false).ok);
    const std::string before = readBytes(dir.file("Qloomscript.js"));
    ::unlink(dir.file("Temp.html").c_str());

    p.menus[0].captionHtml = "changed";
    for (size_t afterBytes : {size_t{0}, size_t{100}, before.size() - 1}) {
        const FullDiskAt fault("/Qloomscript.js", afterBytes);
        const Status status = SaveScript(p, true, fault);
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message, "Cannot create file " + dir.file("Qloomscript.js") + kFull);
        EXPECT_EQ(status.file, dir.file("Qloomscript.js"));
        EXPECT_EQ(readBytes(dir.file("Qloomscript.js")), before);
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"Qloomscript.js"}));
    }
}

TEST(SaveScript, UncreatableFolderReportsTheScriptPath) {
    TempDir dir;
    Project p = projectIn(dir.file("no/such/folder"));
    const Status status = SaveScript(p, true);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, "Cannot create file " + dir.file("no/such/folder/Qloomscript.js") +
                                  ": No such file or directory");

    // No project folder at all: nothing lands in the process's working folder.
    p.settings.projectFolder.clear();
    EXPECT_EQ(SaveScript(p, true).message, "Cannot create file Qloomscript.js");
    EXPECT_FALSE(PathExists("Qloomscript.js"));
}

TEST(SaveScript, FailedTemplateWriteLeavesNoPartialPage) {
    TempDir dir;
    Project p = projectIn(dir.path());
    {
        const Status status = SaveScript(p, true, FullDiskAt("/Temp.html", 20));
        EXPECT_EQ(status.message, "Cannot create file " + dir.file("Temp.html") + kFull);
        EXPECT_FALSE(PathExists(dir.file("Temp.html")));
    }
    // A folder in the template's place counts as missing, and cannot be written over.
    ::mkdir(dir.file("Temp.html").c_str(), 0777);
    EXPECT_EQ(SaveScript(p, true).message,
              "Cannot create file " + dir.file("Temp.html") + ": File exists");
}

bool isLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string linkText(const std::string& path) {
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

// The deliverable is often a link into a web site's folder: saving must update the site's file
// and keep the link, through relative targets and chains of links alike.
TEST(SaveScript, ThroughASymbolicLinkReplacesTheTargetAndKeepsTheLink) {
    TempDir dir;
    ::mkdir(dir.file("site").c_str(), 0777);
    ::mkdir(dir.file("project").c_str(), 0777);
    writeBytes(dir.file("site/menus.js"), "old site script");
    ASSERT_EQ(::symlink("../site/menus.js", dir.file("project/Qloomscript.js").c_str()), 0);
    Project p = projectIn(dir.file("project"));

    ASSERT_TRUE(SaveScript(p, false).ok);
    EXPECT_TRUE(isLink(dir.file("project/Qloomscript.js")));
    EXPECT_EQ(linkText(dir.file("project/Qloomscript.js")), "../site/menus.js");
    EXPECT_EQ(readBytes(dir.file("site/menus.js")), AssembleScript(p, false));
    EXPECT_EQ(listFolder(dir.file("site")), (std::vector<std::string>{"menus.js"}));

    // A chain: ReadMe.txt -> absolute link -> file; finalize replaces the last one.
    writeBytes(dir.file("site/readme"), "old");
    ASSERT_EQ(::symlink(dir.file("site/readme").c_str(), dir.file("site/hop").c_str()), 0);
    ASSERT_EQ(::symlink("../site/hop", dir.file("project/ReadMe.txt").c_str()), 0);
    ASSERT_TRUE(FinalizeProject(p).ok);
    EXPECT_TRUE(isLink(dir.file("project/ReadMe.txt")));
    EXPECT_TRUE(isLink(dir.file("site/hop")));
    EXPECT_EQ(readBytes(dir.file("site/readme")), NormaliseLineEnds(ReadMeText()));

    // A dangling link gets its target created.
    ::unlink(dir.file("site/menus.js").c_str());
    ASSERT_TRUE(SaveScript(p, true).ok);
    EXPECT_TRUE(isLink(dir.file("project/Qloomscript.js")));
    EXPECT_EQ(readBytes(dir.file("site/menus.js")), AssembleScript(p, true));
}

TEST(SaveScript, LinkWhoseTargetCannotBeWrittenChangesNothing) {
    TempDir dir;
    // The target's folder is a file, so nothing can be written beside the target, whoever runs
    // the test.
    writeBytes(dir.file("blocker"), "a file, not a folder");
    ASSERT_EQ(::symlink("blocker/Qloomscript.js", dir.file("Qloomscript.js").c_str()), 0);
    Project p = projectIn(dir.path());
    const Status status = SaveScript(p, true);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, msg::Format(msg::Format(msg::kCannotReplaceLinkTarget,
                                                      dir.file("blocker/Qloomscript.js")),
                                          dir.file("Qloomscript.js")) +
                                  ": Not a directory");
    EXPECT_TRUE(isLink(dir.file("Qloomscript.js")));
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"Qloomscript.js", "blocker"}));

    // Links in a circle lead to no file at all.
    ::unlink(dir.file("Qloomscript.js").c_str());
    ASSERT_EQ(::symlink("Qloomscript.js", dir.file("Qloomscript.js").c_str()), 0);
    EXPECT_EQ(SaveScript(p, true).message, "Cannot create file " + dir.file("Qloomscript.js") +
                                               ": Too many levels of symbolic links");
    EXPECT_TRUE(isLink(dir.file("Qloomscript.js")));
}

TEST(FinalizeProject, WritesFinalScriptAndReadMe) {
    TempDir dir;
    Project p = projectIn(dir.path());
    writeBytes(dir.file("ReadMe.txt"), "old");
    ASSERT_TRUE(FinalizeProject(p).ok);

    EXPECT_EQ(readBytes(dir.file("Qloomscript.js")), AssembleScript(p, false));
    const std::string readMe = readBytes(dir.file("ReadMe.txt"));
    EXPECT_EQ(readMe, NormaliseLineEnds(ReadMeText()));
    EXPECT_TRUE(everyLineEndsWithCrLf(readMe));
    EXPECT_EQ(std::count(readMe.begin(), readMe.end(), '\n'), 18);
    EXPECT_EQ(readMe.substr(0, 71),
              " Two lines required to be inserted into the HTML code of a page where\r\n");
    EXPECT_NE(readMe.find("\r\n <SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>\r\n"),
              std::string::npos);
    EXPECT_NE(
        readMe.find(
            "\r\n <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"),
        std::string::npos);
}

TEST(FinalizeProject, FailedScriptWriteWritesNoReadMe) {
    TempDir dir;
    Project p = projectIn(dir.path());
    {
        const Status status = FinalizeProject(p, FullDiskAt("/Qloomscript.js", 10));
        EXPECT_EQ(status.message, "Cannot create file " + dir.file("Qloomscript.js") + kFull);
        EXPECT_FALSE(PathExists(dir.file("ReadMe.txt")));
    }
    writeBytes(dir.file("ReadMe.txt"), "old");
    EXPECT_EQ(FinalizeProject(p, FullDiskAt("/ReadMe.txt", 10)).message,
              "Cannot create file " + dir.file("ReadMe.txt") + kFull);
    EXPECT_EQ(readBytes(dir.file("ReadMe.txt")), "old");
}

TEST(FileIo, ReplacingKeepsPermissionsOfTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("f");
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileReplacing(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(readBytes(path), "new");
    const Status refused = WriteNewFile(path, "other"); // never over an existing file
    EXPECT_EQ(refused.message, "Cannot create file " + path + ": File exists");
    EXPECT_EQ(refused.reason, "File exists");
    EXPECT_EQ(refused.file, path);
    EXPECT_EQ(readBytes(path), "new");
}

} // namespace
} // namespace qloom
