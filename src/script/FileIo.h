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

// Reads the whole file as bytes; a failure ("Cannot open file X: reason") when it cannot be
// opened or read (a folder included). `out` is changed only on success.
Status ReadWholeFile(const std::string& path, std::string& out);

// True for an existing entry that is not a folder.
bool FileExists(const std::string& path);
// True when the path names anything at all (file, folder, ...).
bool EntryExists(const std::string& path);

// The folder part of `path`: "." without a slash, "/" for a file in the root.
std::string FolderOf(const std::string& path);

// Creates the last component of `path`; whether it worked is seen by the writes that follow.
void CreateFolderOneLevel(const std::string& path);

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
// overwritten, not even by a race). A partly written file is removed again, so a failed write
// does not leave a truncated file that would count as present from then on.
Status WriteNewFile(const std::string& path, std::string_view data,
                    const WriteFaults& faults = RealWrites());

} // namespace qloom
