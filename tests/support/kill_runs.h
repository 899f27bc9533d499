#pragma once
// What the tests that kill a writer at random moments share: how many runs,
// a temporary folder in memory, and the opening of the folder that follows
// each kill.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "data/folder_transaction.h"

namespace kippurun::testing {

// How many kills or rounds to run: the environment variable for a long run,
// else a count that keeps the suite quick.
inline int countFrom(const char* variable, int quick) {
    const char* text = std::getenv(variable);
    return text && std::atoi(text) > 0 ? std::atoi(text) : quick;
}

// The write step (from 1) at which the `k`th of `count` step-kills lands,
// for a writer of `steps` steps: each step in turn when there are kills
// enough, else steps spread evenly from the first to the last, so that a
// short run still reaches the renames at the end.
inline int stepToKill(int k, int count, int steps) {
    if (count >= steps) return k % steps + 1;
    return static_cast<int>(static_cast<long long>(k) * steps / count) + 1;
}

// Temporary folders made while it lives go in memory where there is some:
// what these runs test is the order of the steps, and a disk's flushes would
// make them take minutes.
class InMemory {
  public:
    InMemory() {
        if (const char* tmpdir = std::getenv("TMPDIR")) saved_ = tmpdir, had_ = true;
        if (std::filesystem::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
    }
    ~InMemory() {
        if (had_)
            ::setenv("TMPDIR", saved_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    InMemory(const InMemory&) = delete;
    InMemory& operator=(const InMemory&) = delete;

  private:
    std::string saved_;
    bool had_ = false;
};

// What the next start of the program does to the folder first: in the test
// itself, or (KIPPURUN_RECOVERY_PROGRAM=path of kippurun) a real start of
// the program, `--check` on the folder.
inline void openFolderAsProgram(const std::filesystem::path& dir) {
    const char* program = std::getenv("KIPPURUN_RECOVERY_PROGRAM");
    if (!program) {
        settleFolder(dir);
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(program, program, "--check", "--untin", dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 127) << program;
}

}  // namespace kippurun::testing
