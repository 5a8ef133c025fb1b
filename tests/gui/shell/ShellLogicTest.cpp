#include "gui/shell/SaveTracker.h"
#include "gui/shell/internal/BrowserCheck.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "gui/shell/internal/SaveGuard.h"
#include "gui/shell/internal/StatusLine.h"
#include "script/FileIo.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qloom;

namespace {
// Every character one pixel wide: the limit then counts characters.
int charWidth(const std::string& text) {
    return static_cast<int>(text.size());
}

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/qloom-shell-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
} // namespace

TEST(StatusLine, TextThatFitsIsLeftWhole) {
    const std::string full = StatusLineText("/home/ann/menus");
    EXPECT_EQ(full, "Active Project: /home/ann/menus");
    EXPECT_EQ(ShortenStatusText(full, charWidth, 380), full);
}

TEST(StatusLine, FirstPassCutsAroundTheMiddle) {
    // 100 characters, one pass allowed by the width: characters 0..47, "...", 53..99.
    std::string full = StatusLineText(std::string(84, 'a'));
    for (size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<char>('0' + i % 10);
    const std::string shortened = ShortenStatusText(full, charWidth, 98);
    EXPECT_EQ(shortened, full.substr(0, 48) + "..." + full.substr(53));
}

TEST(StatusLine, LongFolderEndsWithinLimitKeepingPrefixAndBothEnds) {
    const std::string folder = "/srv/" + std::string(400, 'x') + "/last";
    const std::string shortened = ShortenStatusText(StatusLineText(folder), charWidth, 120);
    EXPECT_LE(charWidth(shortened), 120);
    EXPECT_EQ(shortened.rfind("Active Project: /s", 0), 0u);
    EXPECT_NE(shortened.find("..."), std::string::npos);
    EXPECT_EQ(shortened.substr(shortened.size() - 5), "/last");
}

TEST(StatusLine, StopsWhenNothingIsLeftAfterTheDots) {
    // A limit no text can meet: the loop ends with the prefix, one character and the dots.
    const std::string shortened =
        ShortenStatusText(StatusLineText("/abcdefghijklmnop"), charWidth, 5);
    EXPECT_EQ(shortened, "Active Project: /...");
}

TEST(StatusLine, NeverSplitsAMultiByteCharacter) {
    std::string folder = "/";
    for (int i = 0; i < 80; ++i)
        folder += "\xc3\xa9"; // é
    const std::string shortened = ShortenStatusText(StatusLineText(folder), charWidth, 60);
    const size_t dots = shortened.find("...");
    ASSERT_NE(dots, std::string::npos);
    // Head and tail are whole two-byte sequences after the ASCII prefix and the "/".
    EXPECT_EQ((dots - 17) % 2, 0u);
    EXPECT_EQ((shortened.size() - dots - 3) % 2, 0u);
    EXPECT_EQ(static_cast<unsigned char>(shortened[dots + 3]), 0xC3);
}

TEST(ProposedName, FirstFreeNumberWinsAndFilesCount) {
    TempFolder program;
    EXPECT_EQ(ProposeProjectName(program.path(), PathExists), "NewProject_01");
    fs::create_directory(program.sub("NewProject_02"));
    EXPECT_EQ(ProposeProjectName(program.path() + "/", PathExists), "NewProject_01");
    std::ofstream(program.sub("NewProject_01")) << "a file, not a folder";
    fs::create_directory(program.sub("NewProject_03"));
    EXPECT_EQ(ProposeProjectName(program.path(), PathExists), "NewProject_04");
    for (int n = 4; n <= 9; ++n)
        fs::create_directory(program.sub("NewProject_0" + std::to_string(n)));
    EXPECT_EQ(ProposeProjectName(program.path(), PathExists), "NewProject_10");
    fs::create_directory(program.sub("NewProject_10"));
    EXPECT_EQ(ProposeProjectName(program.path(), PathExists), "NewProject_11");
}

TEST(ChooserPath, JoinsFolderAndProposedNameAndRepairsTheRoot) {
    EXPECT_EQ(ChooserPathText("/home/ann", "NewProject_01"), "/home/ann/NewProject_01");
    EXPECT_EQ(ChooserPathText("/home/ann/", "NewProject_01/"), "/home/ann/NewProject_01");
    EXPECT_EQ(ChooserPathText("/home/ann", ""), "/home/ann/");
    EXPECT_EQ(ChooserPathText("/", "NewProject_01"), "//NewProject_01");
    EXPECT_EQ(NewProjectPath("//NewProject_01"), "/NewProject_01");
    EXPECT_EQ(NewProjectPath("/home/ann/"), "/home/ann");
    EXPECT_EQ(NewProjectPath("//"), "/");
    // Only the first doubled separator is repaired.
    EXPECT_EQ(RepairDoubleSeparator("/a//b//c"), "/a/b//c");
    EXPECT_EQ(RepairDoubleSeparator("/a/b"), "/a/b");
}

TEST(ChooserPath, OkTurnsTheBoxIntoAnAbsoluteFolder) {
    EXPECT_EQ(ResolveChooserPath("/home/ann/", "/x"), "/home/ann");
    EXPECT_EQ(ResolveChooserPath("//", "/x"), "/");
    EXPECT_EQ(ResolveChooserPath("//NewProject_01", "/x"), "//NewProject_01");
    // Typed relative names live in the folder the list shows, not in the process's folder.
    EXPECT_EQ(ResolveChooserPath("menus", "/home/ann"), "/home/ann/menus");
    EXPECT_EQ(ResolveChooserPath("menus", "/"), "/menus");
    EXPECT_EQ(ResolveChooserPath("", "/home/ann"), "/home/ann");
}

TEST(ProjectFolderOps, CreatesOneLevelOnly) {
    TempFolder base;
    EXPECT_TRUE(MakeProjectFolder(base.sub("one")).ok);
    EXPECT_EQ(MakeProjectFolder(base.sub("one")).reason, std::strerror(EEXIST)); // already there
    const Status missing = MakeProjectFolder(base.sub("missing/two"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.reason, std::strerror(ENOENT));
    EXPECT_EQ(missing.file, base.sub("missing/two"));
    EXPECT_EQ(missing.message,
              CannotCreateFolderText(base.sub("missing/two"), std::strerror(ENOENT)));
    EXPECT_FALSE(fs::exists(base.sub("missing")));
    EXPECT_FALSE(MakeProjectFolder("").ok);
    EXPECT_TRUE(IsWritableFolder(base.sub("one")));
    std::ofstream(base.sub("file")) << "x";
    EXPECT_FALSE(IsWritableFolder(base.sub("file")));
    EXPECT_FALSE(IsWritableFolder(base.sub("missing")));
}

TEST(ProjectFolderOps, NewProjectFolderIsMadeOrRefusedWithTheReason) {
    TempFolder base;
    EXPECT_TRUE(PrepareNewProjectFolder(base.sub("new")).ok);
    EXPECT_TRUE(fs::is_directory(base.sub("new")));
    EXPECT_TRUE(PrepareNewProjectFolder(base.sub("new")).ok); // an existing folder is taken
    const Status noSuch = PrepareNewProjectFolder(base.sub("no/such"));
    EXPECT_FALSE(noSuch.ok);
    EXPECT_EQ(noSuch.message, CannotCreateFolderText(base.sub("no/such"), std::strerror(ENOENT)));
    EXPECT_EQ(noSuch.file, base.sub("no/such"));
    // A file, or a folder nobody may write into, could be neither saved into nor closed.
    std::ofstream(base.sub("taken")) << "x";
    const Status taken = PrepareNewProjectFolder(base.sub("taken"));
    EXPECT_FALSE(taken.ok);
    EXPECT_EQ(taken.message, CannotUseFolderText(base.sub("taken")));
    EXPECT_EQ(taken.file, base.sub("taken"));
    if (::geteuid() != 0) { // root writes everywhere
        fs::create_directory(base.sub("locked"));
        fs::permissions(base.sub("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(PrepareNewProjectFolder(base.sub("locked")).message,
                  CannotUseFolderText(base.sub("locked")));
        fs::permissions(base.sub("locked"), fs::perms::owner_all);
    }
}

TEST(ProjectFolderOps, MountRootIsTheLongestThatHoldsTheFolder) {
    const std::vector<std::string> roots{"/", "/mnt/a", "/mnt/a/b", "/media/usb"};
    EXPECT_EQ(MountRootOf("/mnt/a/x", roots), "/mnt/a");
    EXPECT_EQ(MountRootOf("/mnt/a", roots), "/mnt/a");
    EXPECT_EQ(MountRootOf("/mnt/a/b/c", roots), "/mnt/a/b");
    // A mount point's name that only begins the folder's does not hold it.
    EXPECT_EQ(MountRootOf("/mnt/ab", roots), "/");
    EXPECT_EQ(MountRootOf("/home/ann", roots), "/");
    EXPECT_EQ(MountRootOf("/media/usb/menus", {"/media/usb/"}), "/media/usb/");
}

TEST(ProjectFolderOps, CannotCreateTextBlamesTheNameOnlyWhenItIsAtFault) {
    // A valid name: the system's reason, whatever it is, and no word about characters.
    EXPECT_EQ(CannotCreateFolderText("/usr/bin/NewProject_01", "Permission denied"),
              "Cannot create folder: /usr/bin/NewProject_01\r\n\r\nPermission denied");
    // A character from the list in the last name keeps the list, reason or not.
    EXPECT_EQ(CannotCreateFolderText("/x/a*b", "whatever"), CannotCreateFolderText("/x/a*b"));
    EXPECT_EQ(CannotCreateFolderText("/x/a*b"),
              "Cannot create folder: /x/a*b\r\n\r\nA folder name cannot contain any of the "
              "following characters:\r\n                        \\    /    :    *    ?    \"    "
              "<    >    |");
}

TEST(ProjectFolderOps, HelpPagesLieInShareBesideTheBinFolder) {
    EXPECT_EQ(HelpIndexOf("/usr/bin/"), "/usr/share/qloom/help/index.htm");
    EXPECT_EQ(HelpIndexOf("/tmp/stage/usr/bin"), "/tmp/stage/usr/share/qloom/help/index.htm");
    EXPECT_EQ(HelpIndexOf("/qloom/"), "/share/qloom/help/index.htm");
}

TEST(ProjectFolderOps, FolderChainAndProgramFolder) {
    EXPECT_EQ(FolderChain("/"), (std::vector<std::string>{"/"}));
    EXPECT_EQ(FolderChain("/a/b/"), (std::vector<std::string>{"/", "/a", "/a/b"}));
    EXPECT_EQ(ProgramFolderOf("/opt/qloom/bin/qloom"), "/opt/qloom/bin/");
    EXPECT_EQ(ProgramFolderOf("/qloom"), "/");
}

TEST(BrowserCheck, NeedsRecentChromiumAndItsFiles) {
    EXPECT_TRUE(BrowserComponentOk("102.0.5005.177", true, true));
    EXPECT_TRUE(BrowserComponentOk("90.0.1", true, true));
    EXPECT_FALSE(BrowserComponentOk("89.9.9", true, true));
    EXPECT_FALSE(BrowserComponentOk("102.0", false, true));
    EXPECT_FALSE(BrowserComponentOk("102.0", true, false));
    EXPECT_FALSE(BrowserComponentOk("", true, true));
    EXPECT_FALSE(BrowserComponentOk("unknown", true, true));
}

// The autosave writes what changed, composed from a copy: the project it is given keeps every
// byte, the caption swap included, and a final variant written since stays until an edit.
TEST(SaveTracker, WritesChangesFromACopyAndOnlyWhenTheFileDiffers) {
    TempFolder base;
    Project project;
    SaveTracker tracker;
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Unchanged); // no active project
    project.settings.projectFolder = base.path();
    ASSERT_TRUE(AddMenu(project).ok());
    project.menus[0].orientation = 1; // vertical, caption still "Caption": composing swaps it
    const Project before = project;
    const std::string script = base.sub("Qloomscript.js");

    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Written);
    EXPECT_TRUE(project.sameMenus(before));
    EXPECT_EQ(project.menus[0].captionHtml, kDefaultCaption);
    std::string written;
    ASSERT_TRUE(ReadWholeFile(script, written));
    Project copy = before;
    (void)SwapDefaultCaptions(copy);
    EXPECT_EQ(written, AssembleScript(copy, true));
    EXPECT_TRUE(FileExists(base.sub("Temp.html")));
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Unchanged);

    // Another save wrote the same bytes: nothing to write, the file keeps its time.
    project.menus[0].left = 40;
    (void)SwapDefaultCaptions(project); // as the editor's saves do, in the project itself
    ASSERT_TRUE(SaveScript(project, true).ok);
    const auto stamp = fs::last_write_time(script);
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Unchanged);
    EXPECT_EQ(fs::last_write_time(script), stamp);

    // The final variant, noted as saved, stays until the project changes.
    ASSERT_TRUE(SaveScript(project, false).ok);
    tracker.noteSaved(project);
    std::string final, after;
    ASSERT_TRUE(ReadWholeFile(script, final));
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Unchanged);
    ASSERT_TRUE(ReadWholeFile(script, after));
    EXPECT_EQ(after, final);
    project.menus[0].top = 77;
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Written);
    Project reread;
    ASSERT_EQ(LoadProject(script, reread).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(reread.menus[0].top, 77);
}

// A failed write is not marked written: the change waits, and the next try (once the cause is
// gone) writes it. Marking it first lost the edit for good after a full disk.
TEST(SaveTracker, AFailedWriteLeavesTheFileAndTheChangeWaiting) {
    TempFolder base;
    Project project;
    project.settings.projectFolder = base.sub("gone");
    std::ofstream(base.sub("gone")) << "a file where the folder was";
    ASSERT_TRUE(AddMenu(project).ok());
    SaveTracker tracker;
    Status failure;
    EXPECT_EQ(tracker.save(project, &failure), SaveTracker::Outcome::Failed);
    EXPECT_FALSE(failure.ok);
    EXPECT_NE(failure.message.find("Cannot create file"), std::string::npos);
    EXPECT_NE(failure.message.find(": Not a directory"), std::string::npos) << failure.message;
    EXPECT_TRUE(tracker.changedSince(project));
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(base.sub("gone"), kept));
    EXPECT_EQ(kept, "a file where the folder was");

    ::unlink(base.sub("gone").c_str());
    ASSERT_EQ(::mkdir(base.sub("gone").c_str(), 0777), 0);
    EXPECT_EQ(tracker.save(project), SaveTracker::Outcome::Written);
    EXPECT_FALSE(tracker.changedSince(project));
}

// What a save of the open project is told, for each thing another program may have done to the
// folder since qLoom last read or wrote it.
TEST(SaveGuard, EachChangeOnDiskGetsItsVerdict) {
    TempFolder base;
    const std::string folder = base.sub("project");
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    Project project;
    project.settings.projectFolder = folder;
    ASSERT_TRUE(AddMenu(project).ok());
    ASSERT_TRUE(SaveScript(project, false).ok);
    std::ofstream(folder + "/.Qloomscript.js.saving-999999999-1") << "left by a crash";

    SaveGuard guard;
    ASSERT_EQ(guard.claim(folder).state, ProjectLock::State::Acquired);
    EXPECT_FALSE(fs::exists(folder + "/.Qloomscript.js.saving-999999999-1"));
    EXPECT_EQ(guard.check().verdict, SaveGuard::Verdict::Write);
    // qLoom's own save, noted: still fine.
    ASSERT_TRUE(SaveScript(project, true).ok);
    guard.noteOnDisk();
    EXPECT_EQ(guard.check().verdict, SaveGuard::Verdict::Write);
    EXPECT_FALSE(guard.mayHaveChanged());

    std::string mine;
    ASSERT_TRUE(ReadWholeFile(guard.scriptPath(), mine));
    std::ofstream(guard.scriptPath(), std::ios::binary | std::ios::trunc) << mine.substr(1) << "x";
    EXPECT_EQ(guard.check().verdict, SaveGuard::Verdict::ChangedOnDisk);
    std::ofstream(guard.scriptPath(), std::ios::binary | std::ios::trunc) << mine;
    EXPECT_EQ(guard.check().verdict, SaveGuard::Verdict::Write);

    ::chmod(guard.scriptPath().c_str(), 0444);
    const SaveGuard::Finding readOnly = guard.check();
    EXPECT_EQ(readOnly.verdict, SaveGuard::Verdict::ReadOnly);
    // The reason travels with the verdict, for the warning line and the question.
    EXPECT_EQ(readOnly.why.message,
              "Not saved: " + guard.scriptPath() + " is read-only: " + std::strerror(EACCES));
    EXPECT_EQ(readOnly.why.file, guard.scriptPath());
    ::chmod(guard.scriptPath().c_str(), 0644);

    // Another qLoom takes the project over.
    {
        ProjectLock taker;
        ASSERT_EQ(taker.takeOver(folder, "qloom").state, ProjectLock::State::Acquired);
        EXPECT_EQ(guard.check().verdict, SaveGuard::Verdict::LockLost);
    }

    // Renamed: the old path is empty, and the guard knows where the folder went.
    SaveGuard again;
    ASSERT_EQ(again.claim(folder).state, ProjectLock::State::Acquired);
    ASSERT_EQ(::rename(folder.c_str(), base.sub("moved").c_str()), 0);
    EXPECT_TRUE(again.mayHaveChanged());
    EXPECT_EQ(again.check().verdict, SaveGuard::Verdict::FolderGone);
    EXPECT_EQ(again.whereFolderWent(), base.sub("moved"));
    // Another folder made at the old path is not the project either.
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    EXPECT_EQ(again.check().verdict, SaveGuard::Verdict::FolderGone);

    const Expected<std::string> copy = again.keepCopyBeside("mine");
    ASSERT_TRUE(copy.ok()) << copy.status().message;
    EXPECT_EQ(copy->rfind(folder + "/Qloomscript-mine-", 0), 0u) << *copy;
}
