// The folder lock against a second process: exclusive keeps everyone out,
// shared keeps writers out but lets readers in, and a folder that cannot be
// locked never stops the holder.
#include "data/untin_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

#include <gtest/gtest.h>

#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

using testing::TableFolder;

// Whether another process could take the lock file in `operation` now.
bool otherProcessCanLock(const std::filesystem::path& dir, int operation) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open((dir / UntinLockFileName).c_str(), O_RDWR);
        _exit(fd >= 0 && ::flock(fd, operation | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(UntinLock, ExclusiveAndSharedAgainstAnotherProcess) {
    TableFolder folder(TableFolder::Contents::Empty);
    {
        UntinLock lock(folder.path(), UntinLockMode::Exclusive);
        ASSERT_TRUE(lock.held());
        EXPECT_FALSE(otherProcessCanLock(folder.path(), LOCK_SH));
        EXPECT_FALSE(otherProcessCanLock(folder.path(), LOCK_EX));
    }
    EXPECT_TRUE(otherProcessCanLock(folder.path(), LOCK_EX));
    {
        UntinLock lock(folder.path(), UntinLockMode::Shared);
        ASSERT_TRUE(lock.held());
        EXPECT_TRUE(otherProcessCanLock(folder.path(), LOCK_SH));
        EXPECT_FALSE(otherProcessCanLock(folder.path(), LOCK_EX));
        UntinLock moved = std::move(lock);
        EXPECT_TRUE(moved.held());
        EXPECT_FALSE(
            lock.held());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
        EXPECT_FALSE(otherProcessCanLock(folder.path(), LOCK_EX));
    }
    EXPECT_TRUE(otherProcessCanLock(folder.path(), LOCK_EX));
}

TEST(UntinLock, AFolderThatCannotBeLockedIsGoneOnWithout) {
    TableFolder folder(TableFolder::Contents::Empty);
    const UntinLock missing(folder.path() / "no-such-folder", UntinLockMode::Shared);
    EXPECT_FALSE(missing.held());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "no-such-folder"));
}

}  // namespace
}  // namespace kippurun
