#include "host/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zo {

int FileOps::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t FileOps::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileOps::Fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::Close(int fd) {
    return ::close(fd);
}
int FileOps::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileOps::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileOps::Unlink(const char* path) {
    return ::unlink(path);
}

FileOps& SystemFileOps() {
    static FileOps ops;  // stateless
    return ops;
}

namespace {

std::string Failed(const char* what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

// A name no other save (of this or another process) is using: the target's name with the
// process id and a counter, hidden by a leading dot. Threads may draw the same number: the
// exclusive create then fails and the next number is tried.
std::filesystem::path TemporaryName(const std::filesystem::path& path) {
    thread_local unsigned counter = 0;
    std::string name = "." + path.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter++);
    return path.parent_path() / name;
}

}  // namespace

std::string ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                  FileOps& ops) {
    // The permission bits of the file being replaced; a new file gets the usual bits less
    // the umask, which open applies.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return "not a regular file";

    std::filesystem::path tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = TemporaryName(path);
        fd = ops.Open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return Failed("cannot create a temporary file", errno);
    }
    if (fd < 0) return Failed("cannot create a temporary file", EEXIST);

    // From here on a failure removes the temporary file and keeps the old one.
    const auto abandon = [&](const char* what, int err, bool open) {
        if (open) ops.Close(fd);
        ops.Unlink(tmp.c_str());
        return Failed(what, err);
    };
    if (replacing && ops.Fchmod(fd, old.st_mode & 07777) != 0)
        return abandon("cannot give the temporary file the old permissions", errno, true);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        // A write that makes no progress would loop for ever; the disk is full.
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return abandon("cannot write the temporary file", errno, true);
        done += static_cast<std::size_t>(n);
    }
    if (ops.Fsync(fd) != 0) return abandon("cannot sync the temporary file", errno, true);
    if (ops.Close(fd) != 0) return abandon("cannot close the temporary file", errno, false);
    if (ops.Rename(tmp.c_str(), path.c_str()) != 0)
        return abandon("cannot rename the temporary file over the old one", errno, false);

    // The new file is in place; syncing the folder makes the rename itself durable.
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const int dir = ops.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dir < 0) return Failed("saved, but cannot open the folder to sync it", errno);
    const int synced = ops.Fsync(dir);
    const int err = errno;
    ops.Close(dir);
    if (synced != 0) return Failed("saved, but cannot sync the folder", err);
    return {};
}

}  // namespace zo
