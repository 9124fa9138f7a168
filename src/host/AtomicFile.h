// Replacing a file atomically and durably: the new content goes to a temporary file in the
// same folder, which is written, flushed and synced, given the old file's permission bits and
// renamed over the old file; then the folder is synced so the rename itself survives a crash.
// Whatever fails before the rename leaves the old file as it was and removes the temporary.
#pragma once

#include "core/Export.h"

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zo {

// The system calls a save makes, one virtual function each, so that a test can make any of
// them fail the way a full disk, a missing permission or a vanished folder would. Each
// returns what its POSIX namesake returns and leaves errno set on failure.
class ZO_API FileOps {
public:
    virtual ~FileOps() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
};

// The real system calls.
ZO_API FileOps& SystemFileOps();

// Replaces path's content with bytes as described above. Returns "" on success, else what
// failed and why ("cannot write the temporary file: No space left on device").
ZO_API std::string ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                         FileOps& ops);

}  // namespace zo
