// The folder lock against a second process: exclusive keeps everyone out,
// shared keeps writers out but lets readers in, and a folder that cannot be
// locked never stops the holder. Readers of a clean folder never wait on
// one another.
#include "data/untin_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "data/folder_transaction.h"
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

// A reader settles a folder under the exclusive lock only when there is
// something to settle: with another reader holding the shared lock (one
// counter starting while another prints its price list) a clean folder is
// read at once; a dead writer's temporary file is still swept by the next
// reader.
TEST(UntinLock, AReaderOfACleanFolderWaitsForNoOtherReader) {
    using namespace std::chrono_literals;
    TableFolder folder;
    std::atomic<bool> released{false};
    std::optional<UntinLock> other(std::in_place, folder.path(), UntinLockMode::Shared);
    ASSERT_TRUE(other->held());
    std::thread holder([&] {
        std::this_thread::sleep_for(1s);
        released = true;
        other.reset();
    });
    bool readWhileHeld = false;
    readWholeSet({folder.path()}, [&] {
        readWhileHeld = !released;
        return 0;
    });
    holder.join();
    EXPECT_TRUE(readWhileHeld) << "the reader waited for the other reader's shared lock";

    folder.write(".Start.csv.zZ0099", "left by a writer that died");
    readWholeSet({folder.path()}, [] { return 0; });
    EXPECT_FALSE(std::filesystem::exists(folder.file(".Start.csv.zZ0099")));
}

}  // namespace
}  // namespace kippurun
