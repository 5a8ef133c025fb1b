#pragma once

#include "model/Result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// The few file-system operations the script files need, on plain POSIX calls so the core links
// no toolkit.

// Where faults of the writes come from. The real file system has none; a test gives one that
// makes the writes to some file stop part way, as a full disk would, to prove that the old file
// survives and the failure reaches the user with its reason.
class WriteFaults {
public:
    virtual ~WriteFaults() = default;
    // How many bytes may be written to `path` before the write fails with `error`.
    virtual size_t bytesAllowed(const std::string& path) const;
    virtual int error() const;
};
// No faults: every write goes as far as the system lets it.
const WriteFaults& RealWrites();

// The most any file qLoom reads may hold (64 MiB): far above any real page, script or picture,
// low enough that a file that never ends cannot take the memory.
inline constexpr size_t kMaxReadBytes = size_t(64) << 20;

// Reads the whole file as bytes; a failure ("Cannot open file X: reason") when it cannot be
// opened or read. Only a regular file is read: a folder, FIFO, device or socket is refused
// without blocking (reason "not a regular file"), and so is a file above kMaxReadBytes. `out`
// is changed only on success.
Status ReadWholeFile(const std::string& path, std::string& out);

// True for an existing entry that is not a folder.
bool FileExists(const std::string& path);
// True when the path names anything at all (file, folder, ...).
bool EntryExists(const std::string& path);

// True for an existing file its user may not change: one without write permission for them, on
// a read-only file system, or one that nobody may write (no write bit at all; that counts also
// for root, who could write it but was told not to). False for a missing file or a folder. A
// failure ("Cannot open file X: reason") when it cannot tell, as when a folder on the way may
// not be searched.
Expected<bool> IsReadOnlyFile(const std::string& path);
// The same question, for the message that says why: a failure whose message is `text` followed
// by the system's reason ("Permission denied", "Read-only file system") when the file is
// read-only; success when it may be written, is missing, or it cannot tell (the write itself
// then says what is wrong).
Status CheckFileWritable(const std::string& path, std::string text);

// The folder part of `path`: "." without a slash, "/" for a file in the root.
std::string FolderOf(const std::string& path);

// Creates the last component of `path`, flushed to the disk with its parent folder; whether it
// worked is seen by the writes that follow.
void CreateFolderOneLevel(const std::string& path);

// Makes the entries of `folder` (a rename, a new file) durable; a folder that cannot be synced
// is no reason to fail a write whose data already reached the disk.
void SyncFolder(const std::string& folder);

// Removes the temporary files of saves (".NAME.saving-*") in `folder` that no running process
// is writing: the writer holds its temporary file locked until it renames it, so a file nobody
// locks was left by a crash. A file whose writer on this machine is still running is kept while
// it is younger than `maxAgeSeconds`. Returns how many were removed.
int RemoveLeftoverSaves(const std::string& folder, int maxAgeSeconds = 60);

// The file that replacing `path` should replace: `path` itself, or, when it is a symbolic link,
// the file that the link (and any link it leads to) finally names, which need not exist yet.
// Empty when the links go round in a circle or nest too deep.
std::string ResolveLinkTarget(const std::string& path);

// Replaces `path` with `data` so that a reader never sees a half-written file: the bytes go to
// a temporary file in the same folder, are flushed to the disk, and only then renamed over the
// old file. On any failure the old file is untouched and the temporary file is removed, and the
// failure reads "Cannot create file X: reason". A symbolic link is kept: its target is replaced
// that way, beside the target.
Status WriteFileReplacing(const std::string& path, std::string_view data,
                          const WriteFaults& faults = RealWrites());
// The same for a file given as consecutive pieces, written one after the other without first
// joining them into one buffer.
Status WriteFileReplacing(const std::string& path, const std::vector<std::string_view>& pieces,
                          const WriteFaults& faults = RealWrites());

// Writes `data` to `path` only when nothing exists there yet (an existing file is never
// overwritten, not even by a race), flushed with its folder. A partly written file is removed
// again, so a failed write does not leave a truncated file that would count as present from then
// on.
Status WriteNewFile(const std::string& path, std::string_view data,
                    const WriteFaults& faults = RealWrites());

} // namespace qloom
