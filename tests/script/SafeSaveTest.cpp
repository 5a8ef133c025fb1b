// What lets qLoom share a project folder with other programs without losing anything: the
// project lock, the fingerprint that tells another program's change from qLoom's own file, and
// the removal of what a crash during a save leaves behind.

#include "IoTestSupport.h"

#include "script/FileFingerprint.h"
#include "script/FileIo.h"
#include "script/ProjectLock.h"
#include "script/ScriptSaver.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qloom;
using namespace qloom::testing;

namespace {

FileFingerprint fingerprint(const std::string& path) {
    const Expected<FileFingerprint> print = FingerprintFile(path);
    EXPECT_TRUE(print.ok()) << print.status().message;
    return print ? *print : FileFingerprint{};
}

// Sets the file's time back, as a crash long ago would have left it.
void age(const std::string& path, int seconds) {
    const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// A process id that is certainly not running: a child that has ended and been reaped.
pid_t deadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(FileFingerprint, HashOfPiecesIsTheHashOfTheWhole) {
    const std::string text = "var numOfMenus=3,IDE=1,\r\nvar MX = new Array (10,20,30);\r\n";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        ByteHasher hasher;
        hasher.add(std::string_view(text).substr(0, cut));
        hasher.add(std::string_view(text).substr(cut));
        EXPECT_EQ(hasher.finish(), HashBytes(text)) << cut;
    }
    EXPECT_NE(HashBytes("abcdefgh1"), HashBytes("abcdefgh2"));
    EXPECT_NE(HashBytes(std::string(9, '\0')), HashBytes(std::string(10, '\0')));
}

// Each way another program may change the script is seen; a mere change of its time is not a
// change, and a file written back with qLoom's own bytes is not one either.
TEST(FileFingerprint, CheckSeesEveryKindOfChange) {
    TempDir dir;
    const std::string path = dir.file("Qloomscript.js");
    writeBytes(path, "var MX = new Array (10);\r\n");
    age(path, 100); // written a while ago
    const FileFingerprint known = fingerprint(path);
    EXPECT_EQ(CheckFile(path, known), DiskChange::Unchanged);

    // In place, same size: only the time and the bytes tell.
    writeBytes(path, "var MX = new Array (99);\r\n");
    EXPECT_EQ(CheckFile(path, known), DiskChange::Changed);
    writeBytes(path, "var MX = new Array (10);\r\n");
    EXPECT_EQ(CheckFile(path, known), DiskChange::Unchanged);

    // As an editor saves: a new file renamed over the old one.
    writeBytes(dir.file("tmp"), "var MX = new Array (10, 20);\r\n");
    ASSERT_EQ(::rename(dir.file("tmp").c_str(), path.c_str()), 0);
    EXPECT_EQ(CheckFile(path, known), DiskChange::Changed);

    writeBytes(path, "var MX = new Array (10);\r\n");
    age(path, 100);
    EXPECT_EQ(CheckFile(path, known), DiskChange::Unchanged);

    ::unlink(path.c_str());
    EXPECT_EQ(CheckFile(path, known), DiskChange::Removed);
    EXPECT_EQ(CheckFile(path, FileFingerprint{}), DiskChange::Unchanged);
}

TEST(FileFingerprint, AMissingFileHasNoIdentityAndAnUnreadableOneSaysWhy) {
    TempDir dir;
    const Expected<FileFingerprint> missing = FingerprintFile(dir.file("missing.js"));
    ASSERT_TRUE(missing.ok());
    EXPECT_FALSE(missing->identity.exists);

    const std::string folder = dir.file("folder.js");
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    const Expected<FileFingerprint> unreadable = FingerprintFile(folder);
    ASSERT_FALSE(unreadable.ok());
    EXPECT_EQ(unreadable.status().file, folder);
    EXPECT_EQ(unreadable.status().reason, std::strerror(EISDIR));
}

TEST(FileFingerprint, FolderIdentityTellsARenamedFolderFromANewOne) {
    TempDir dir;
    const std::string folder = dir.file("project");
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    const Expected<FileIdentity> before = IdentityOf(folder);
    ASSERT_TRUE(before);
    EXPECT_TRUE(before->exists);
    ASSERT_EQ(::rename(folder.c_str(), dir.file("moved").c_str()), 0);
    const Expected<FileIdentity> gone = IdentityOf(folder);
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.status().file, folder);
    EXPECT_EQ(gone.status().reason, std::strerror(ENOENT));
    EXPECT_EQ(gone.status().message, "Cannot open file " + folder + ": " + std::strerror(ENOENT));
    const Expected<FileIdentity> moved = IdentityOf(dir.file("moved"));
    ASSERT_TRUE(moved);
    EXPECT_EQ(*moved, *before);
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    const Expected<FileIdentity> replaced = IdentityOf(folder);
    ASSERT_TRUE(replaced);
    EXPECT_NE(*replaced, *before);
}

TEST(ProjectLock, OneHolderAtATimeAndTheOtherLearnsWho) {
    TempDir dir;
    ProjectLock first;
    ASSERT_EQ(first.acquire(dir.path(), "qloom").state, ProjectLock::State::Acquired);
    EXPECT_TRUE(first.held());

    ProjectLock second;
    const ProjectLock::Attempt refused = second.acquire(dir.path(), "qloom-cli");
    ASSERT_EQ(refused.state, ProjectLock::State::HeldByOther);
    EXPECT_EQ(refused.holder.program, "qloom");
    EXPECT_EQ(refused.holder.pid, ::getpid());
    EXPECT_EQ(refused.holder.host, ThisHost());
    EXPECT_LE(std::abs(refused.holder.since - static_cast<int64_t>(::time(nullptr))), 5);
    const std::string told = DescribeHolder(refused.holder);
    EXPECT_NE(told.find("qloom (process " + std::to_string(::getpid()) + " on host"),
              std::string::npos)
        << told;
    EXPECT_NE(told.find(" since "), std::string::npos) << told;
    ASSERT_TRUE(ProjectLock::Probe(dir.path()).has_value());

    first.release();
    EXPECT_FALSE(PathExists(dir.file(".qloom.lock")));
    EXPECT_FALSE(ProjectLock::Probe(dir.path()).has_value());
    EXPECT_EQ(second.acquire(dir.path(), "qloom-cli").state, ProjectLock::State::Acquired);
}

// A holder that dies without a word (a crash, SIGKILL) leaves its lock file, but no lock.
TEST(ProjectLock, ALockFileLeftByADeadProcessIsNoLock) {
    TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ProjectLock lock;
        const bool ok = lock.acquire(dir.path(), "qloom").state == ProjectLock::State::Acquired;
        const char c = ok ? 'y' : 'n';
        if (::write(ready[1], &c, 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    ProjectLock mine;
    const auto whileAlive = mine.acquire(dir.path(), "qloom");
    EXPECT_EQ(whileAlive.state, ProjectLock::State::HeldByOther);
    EXPECT_EQ(whileAlive.holder.pid, child);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(PathExists(dir.file(".qloom.lock")));
    EXPECT_FALSE(ProjectLock::Probe(dir.path()).has_value());
    EXPECT_EQ(mine.acquire(dir.path(), "qloom").state, ProjectLock::State::Acquired);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(ProjectLock, TakingOverLeavesTheOldHolderKnowingItLostTheProject) {
    TempDir dir;
    ProjectLock old;
    ASSERT_EQ(old.acquire(dir.path(), "qloom").state, ProjectLock::State::Acquired);
    ProjectLock taker;
    EXPECT_EQ(taker.takeOver(dir.path(), "qloom").state, ProjectLock::State::Acquired);
    EXPECT_TRUE(taker.held());
    EXPECT_FALSE(old.held());
    // The old holder's release must not remove the taker's lock.
    old.release();
    EXPECT_TRUE(taker.held());
    EXPECT_TRUE(ProjectLock::Probe(dir.path()).has_value());
}

TEST(ProjectLock, AFolderQloomCannotWriteIntoGivesNoLockAndTheReason) {
    TempDir dir;
    ProjectLock lock;
    const auto attempt = lock.acquire(dir.file("missing"), "qloom");
    EXPECT_EQ(attempt.state, ProjectLock::State::Unavailable);
    ASSERT_FALSE(attempt.status);
    EXPECT_EQ(attempt.status.file, dir.file("missing"));
    EXPECT_EQ(attempt.status.message, "Cannot lock the project folder " + dir.file("missing") +
                                          ": " + std::strerror(ENOENT));
    EXPECT_FALSE(lock.held());
    // A lock that was made says nothing went wrong.
    const auto made = lock.acquire(dir.path(), "qloom");
    EXPECT_EQ(made.state, ProjectLock::State::Acquired);
    EXPECT_TRUE(made.status);
}

TEST(RemoveLeftoverSaves, RemovesWhatNoRunningWriterHolds) {
    TempDir dir;
    writeBytes(dir.file("Qloomscript.js"), "script");
    // Left by a crashed process.
    const std::string crashed =
        dir.file(".Qloomscript.js.saving-" + std::to_string(deadPid()) + "-1");
    writeBytes(crashed, std::string(1000, 'x'));
    // Left long ago by a process whose id is in use again now.
    const std::string old = dir.file(".Qloomscript.js.saving-1-7");
    writeBytes(old, "x");
    age(old, 3600);
    // Being written right now: this process holds it locked, as every writer does.
    const std::string busy =
        dir.file(".Qloomscript.js.saving-" + std::to_string(::getpid()) + "-9");
    writeBytes(busy, "x");
    age(busy, 3600);
    const int held = ::open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Just created by a running writer that has not locked it yet.
    const std::string fresh =
        dir.file(".Qloomscript.js.saving-" + std::to_string(::getpid()) + "-10");
    writeBytes(fresh, "x");

    EXPECT_EQ(RemoveLeftoverSaves(dir.path()), 2);
    EXPECT_EQ(
        listFolder(dir.path()),
        (std::vector<std::string>{".Qloomscript.js.saving-" + std::to_string(::getpid()) + "-10",
                                  ".Qloomscript.js.saving-" + std::to_string(::getpid()) + "-9",
                                  "Qloomscript.js"}));
    ::close(held);
}

TEST(FileIo, ReadOnlyFilesAreRecognised) {
    TempDir dir;
    const std::string path = dir.file("Qloomscript.js");
    writeBytes(path, "x");
    const std::string text = "Not saved: " + path + " is read-only";
    Expected<bool> readOnly = IsReadOnlyFile(path);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(*readOnly);
    EXPECT_TRUE(CheckFileWritable(path, text));
    ::chmod(path.c_str(), 0444);
    readOnly = IsReadOnlyFile(path);
    ASSERT_TRUE(readOnly);
    EXPECT_TRUE(*readOnly);
    // No write bit at all: refused even for root, with the reason a user would get.
    const Status refused = CheckFileWritable(path, text);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message, text + ": " + std::strerror(EACCES));
    EXPECT_EQ(refused.file, path);

    // A missing file is made by the save; a folder is no file to refuse.
    readOnly = IsReadOnlyFile(dir.file("missing"));
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(*readOnly);
    EXPECT_TRUE(CheckFileWritable(dir.file("missing"), text));
    readOnly = IsReadOnlyFile(dir.path());
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(*readOnly);

    // A path that cannot be looked at is neither answer: the caller learns why.
    const std::string loop = dir.file("loop");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    readOnly = IsReadOnlyFile(loop);
    ASSERT_FALSE(readOnly);
    EXPECT_EQ(readOnly.status().file, loop);
    EXPECT_EQ(readOnly.status().reason, std::strerror(ELOOP));
}
