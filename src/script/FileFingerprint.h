#pragma once

// What qLoom knows of a file it read or wrote, so that it can tell later whether another
// program has changed it since: the file's identity (device and inode: a file replaced by a
// rename has a new one), its size, its modification time in nanoseconds and a hash of its bytes.
// Any write moves the time, so equal metadata means an unchanged file; the hash tells a file
// that was only touched, or written back with the same bytes, from a changed one. (A rewrite of
// the same size within the same tick of the file system's clock as qLoom's own write, a few
// milliseconds, keeps the time too; that race is not worth a read of the file at every save.)

#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

// A fast 64-bit hash of bytes given in pieces (32 bytes a step); the pieces of a file hash as
// the whole file does. It only tells files apart; it is no protection against someone who wants
// two files to look alike.
class ByteHasher {
public:
    void add(std::string_view bytes);
    uint64_t finish() const;

private:
    void block(const char* p); // 32 bytes through four independent lanes

    uint64_t lanes_[4] = {0x243F6A8885A308D3ULL, 0x13198A2E03707344ULL, 0xA4093822299F31D0ULL,
                          0x082EFA98EC4E6C89ULL};
    uint64_t length_ = 0;
    char carry_[32] = {};
    size_t pending_ = 0;
};

uint64_t HashBytes(std::string_view bytes);

// Device and inode of a file or folder: the same path naming another entry (the folder renamed
// and another one made in its place) gives another identity.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool exists = false;

    bool operator==(const FileIdentity& other) const {
        return exists == other.exists && device == other.device && inode == other.inode;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of what `path` names now (following symbolic links); a failure ("Cannot open
// file X: reason", with the file) when nothing is there or it cannot be looked at.
Expected<FileIdentity> IdentityOf(const std::string& path);

struct FileFingerprint {
    FileIdentity identity;
    int64_t size = -1;
    int64_t modifiedNs = 0;
    uint64_t hash = 0;

    // Same file, same bytes: identity, size and hash agree (the time may differ: a `touch`
    // changes nothing qLoom cares about).
    bool sameMetadata(const FileFingerprint& other) const {
        return identity == other.identity && size == other.size && modifiedNs == other.modifiedNs;
    }
    bool sameContent(const FileFingerprint& other) const {
        return identity.exists == other.identity.exists && size == other.size && hash == other.hash;
    }
};

// The fingerprint of the file at `path` as it is on disk now, reading it whole (its bytes go to
// `bytes` when given). A missing file gives a fingerprint with `identity.exists` false; a file
// that exists but cannot be read is a failure that names it and gives the system's reason.
[[nodiscard]] Expected<FileFingerprint> FingerprintFile(const std::string& path,
                                                        std::string* bytes = nullptr);

// The fingerprint of a file qLoom has just written: its metadata from the disk, and the hash and
// size of the bytes written (not read back, so a change made right after the write still counts
// as a change).
FileFingerprint FingerprintOfWritten(const std::string& path, uint64_t hash, int64_t size);

// Only the metadata of the file at `path` (no read): identity, size, time; hash left 0.
FileFingerprint StatFingerprint(const std::string& path);

// What a check before a save finds.
enum class DiskChange {
    Unchanged,  // the file holds what qLoom last read or wrote
    Changed,    // another program replaced or rewrote it
    Removed,    // it is gone
    Unreadable, // it is there but cannot be read
};

// Compares the file at `path` with `known`, what qLoom last read or wrote there. Identity, size
// and time all equal: unchanged, without reading (every write by another program moves the
// time, a rename changes the identity). Otherwise a different size is a change, and for the
// same size the bytes are read and hashed, so that a file merely touched, or written back with
// the same bytes (as sync tools do), is no change.
DiskChange CheckFile(const std::string& path, const FileFingerprint& known);

} // namespace qloom
