#pragma once
// The advisory lock of an Untin folder. Several counters and the fare office
// may work on one folder: whoever replaces files in it holds the lock
// exclusively, whoever reads a set of files that must belong together holds
// it shared. The lock is flock(2) on the file ".kippurun.lock" in the folder;
// the file itself stays and holds nothing.
#include <filesystem>

namespace kippurun {

inline constexpr const char* UntinLockFileName = ".kippurun.lock";

enum class UntinLockMode { Shared, Exclusive };

class UntinLock {
  public:
    // Blocks until the lock is held. Never throws: where the lock cannot be
    // had (a read-only folder for a reader, a network share without flock,
    // a folder that does not exist) the holder goes on without it, since
    // the files' own reading or writing then reports what is wrong with
    // the folder far more precisely than the lock could.
    UntinLock(const std::filesystem::path& untinDir, UntinLockMode mode);
    ~UntinLock();
    UntinLock(const UntinLock&) = delete;
    UntinLock& operator=(const UntinLock&) = delete;
    UntinLock(UntinLock&& other) noexcept;
    UntinLock& operator=(UntinLock&& other) noexcept;

    // Whether the lock is actually held (false when going on without it).
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace kippurun
