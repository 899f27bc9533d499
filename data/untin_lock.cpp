#include "data/untin_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

#include <utility>

namespace kippurun {

namespace {

int openLockFile(const std::filesystem::path& untinDir) {
    const std::string path = (untinDir / UntinLockFileName).string();
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        // A reader on a folder it may not write: an existing lock file can
        // still be locked through a read-only descriptor.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    return fd;
}

}  // namespace

UntinLock::UntinLock(const std::filesystem::path& untinDir, UntinLockMode mode) {
    const int fd = openLockFile(untinDir);
    if (fd < 0) {
        return;
    }
    const int operation = mode == UntinLockMode::Exclusive ? LOCK_EX : LOCK_SH;
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        // ENOLCK, EOPNOTSUPP: a file system that does not lock.
        ::close(fd);
        return;
    }
    fd_ = fd;
}

UntinLock::~UntinLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor releases the lock
    }
}

UntinLock::UntinLock(UntinLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UntinLock& UntinLock::operator=(UntinLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

}  // namespace kippurun
