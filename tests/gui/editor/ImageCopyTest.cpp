#include "gui/editor/internal/ImageCopy.h"

#include "model/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace qloom {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class ImageCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qloom-copy-XXXXXX").string();
        root = mkdtemp(pattern.data());
        project = root / "project";
        elsewhere = root / "pictures";
        fs::create_directories(project);
        fs::create_directories(elsewhere);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(project, fs::perms::owner_all, ec);
        fs::remove_all(root, ec);
    }
    fs::path root, project, elsewhere;
};

TEST_F(ImageCopyTest, PictureFromAnotherFolderReplacesTheSameNamedFile) {
    WriteAll(elsewhere / "logo.gif", "new picture");
    WriteAll(project / "logo.gif", "old");
    EXPECT_EQ(CopyImageIntoProject((elsewhere / "logo.gif").string(), project.string()),
              ImageCopyOutcome::Copied);
    EXPECT_EQ(ReadAll(project / "logo.gif"), "new picture");
    EXPECT_EQ(ReadAll(elsewhere / "logo.gif"), "new picture");
}

TEST_F(ImageCopyTest, TheProjectsOwnFileIsLeftAloneWhateverPathReachesIt) {
    WriteAll(project / "logo.gif", "picture");
    fs::create_symlink(project / "logo.gif", elsewhere / "logo.gif");
    for (const fs::path& p : {project / "logo.gif", elsewhere / ".." / "project" / "logo.gif",
                              elsewhere / "logo.gif"}) {
        EXPECT_EQ(CopyImageIntoProject(p.string(), project.string()),
                  ImageCopyOutcome::AlreadyThere)
            << p;
        EXPECT_EQ(ReadAll(project / "logo.gif"), "picture");
    }
    EXPECT_EQ(CopyImageIntoProject("logo.gif", project.string()), ImageCopyOutcome::AlreadyThere);
    EXPECT_EQ(ReadAll(project / "logo.gif"), "picture");
}

TEST_F(ImageCopyTest, NamesDifferingOnlyInCaseAreDifferentFiles) {
    WriteAll(project / "logo.gif", "lower");
    WriteAll(elsewhere / "LOGO.gif", "upper");
    EXPECT_EQ(CopyImageIntoProject((elsewhere / "LOGO.gif").string(), project.string()),
              ImageCopyOutcome::Copied);
    EXPECT_EQ(ReadAll(project / "logo.gif"), "lower");
    EXPECT_EQ(ReadAll(project / "LOGO.gif"), "upper");
}

TEST_F(ImageCopyTest, FailuresLeaveTheProjectUntouched) {
    EXPECT_EQ(CopyImageIntoProject("", project.string()), ImageCopyOutcome::Failed);
    EXPECT_EQ(CopyImageIntoProject((elsewhere / "missing.gif").string(), project.string()),
              ImageCopyOutcome::Failed);
    EXPECT_EQ(CopyImageIntoProject(elsewhere.string(), project.string()), ImageCopyOutcome::Failed);
    WriteAll(elsewhere / "a.gif", "x");
    EXPECT_EQ(CopyImageIntoProject((elsewhere / "a.gif").string(), (root / "none").string()),
              ImageCopyOutcome::Failed);
    if (geteuid() != 0) {
        chmod(project.c_str(), 0500);
        EXPECT_EQ(CopyImageIntoProject((elsewhere / "a.gif").string(), project.string()),
                  ImageCopyOutcome::Failed);
    }
    EXPECT_TRUE(fs::is_empty(project));
}

TEST_F(ImageCopyTest, NeverReplacesTheScriptOrTheTemplatePage) {
    WriteAll(project / "Qloomscript.js", "project");
    WriteAll(project / "Page.html", "my page");
    WriteAll(elsewhere / "Qloomscript.js", "other");
    WriteAll(elsewhere / "Page.html", "other");
    for (const char* name : {"Qloomscript.js", "Page.html"})
        EXPECT_EQ(CopyImageIntoProject((elsewhere / name).string(), project.string(), "Page.html"),
                  ImageCopyOutcome::Failed)
            << name;
    EXPECT_EQ(ReadAll(project / "Qloomscript.js"), "project");
    EXPECT_EQ(ReadAll(project / "Page.html"), "my page");
    // Picking the template itself is no copy at all.
    EXPECT_EQ(CopyImageIntoProject((project / "Page.html").string(), project.string(), "Page.html"),
              ImageCopyOutcome::AlreadyThere);
}

TEST(ImageCopyMessage, ShowsTheSourcePath) {
    EXPECT_EQ(CannotCopyText("/a/b.gif"),
              "Cannot copy this file: \r\n  /a/b.gif\r\nto project's folder.\r\nYou may not see "
              "a picture unless you copy this file to project's folder.");
}

} // namespace
} // namespace qloom
