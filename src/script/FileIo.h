#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// The few file-system operations the script files need, on plain POSIX calls so the core links
// no toolkit.

// The most any file qLoom reads may hold (64 MiB): far above any real page, script or picture,
// low enough that a file that never ends cannot take the memory.
inline constexpr size_t kMaxReadBytes = size_t(64) << 20;

enum class ReadFailure { None, CannotOpen, NotRegularFile, TooLarge };

// Reads the whole file as bytes; false when it cannot be opened or read. Only a regular file is
// read (a FIFO, device, socket or folder is refused without blocking), and at most
// kMaxReadBytes of it. `failure`, when given, tells why.
bool ReadWholeFile(const std::string& path, std::string& out, ReadFailure* failure = nullptr);
// The message for a failed read: "Cannot open file", "... is not a regular file", too large.
std::string ReadFailureText(ReadFailure failure, const std::string& path);

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
// old file. On any failure the old file is untouched and the temporary file is removed. A
// symbolic link is kept: its target is replaced that way, beside the target.
bool WriteFileReplacing(const std::string& path, std::string_view data);
// The same for a file given as consecutive pieces, written one after the other without first
// joining them into one buffer.
bool WriteFileReplacing(const std::string& path, const std::vector<std::string_view>& pieces);

// Writes `data` to `path` only when nothing exists there yet (an existing file is never
// overwritten, not even by a race). A partly written file is removed again, so a failed write
// does not leave a truncated file that would count as present from then on.
bool WriteNewFile(const std::string& path, std::string_view data);

// Test seam: the next writes to a file whose path ends with `pathSuffix` fail after
// `failAfterBytes` bytes, as a full disk would. Cleared with std::nullopt.
struct WriteFault {
    std::string pathSuffix;
    size_t failAfterBytes = 0;
};
void SetWriteFaultForTesting(std::optional<WriteFault> fault);

} // namespace qloom
