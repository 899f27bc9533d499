// Saving the settings screen's pair of files: both new or both old, never
// one of each after a reported failure, and nothing left behind.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_file_error.h"
#include "data/folder_transaction.h"
#include "data/key_layout.h"
#include "data/untin_lock.h"
#include "tests/support/kill_runs.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

namespace fs = std::filesystem;
using testing::TableFolder;

const std::string OldEkimei = "1,2,3\r\nanything at all\r\n";
const std::string OldStart = "5,6\r\n";

// A grid whose keys hold `first`, first + 1, ...
EkimeiGrid gridFrom(int first) {
    EkimeiGrid grid;
    grid.fill("999");
    for (int k = 0; k < StationKeyCount; ++k)
        grid[static_cast<std::size_t>(k)] = std::to_string((first + k) % 107);
    return grid;
}

// The folder's files but its lock file, which may stay.
std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename() != UntinLockFileName) names.insert(entry.path().filename());
    return names;
}

// A file's bytes, or what stands in its place.
std::string bytesOf(const TableFolder& folder, const char* name) {
    return fs::is_regular_file(folder.file(name)) ? folder.read(name) : "(no file)";
}

struct SaveFolder {
    TableFolder folder{TableFolder::Contents::Empty};
    SaveFolder() {
        folder.write("Ekimei1.csv", OldEkimei);
        folder.write("Start.csv", OldStart);
    }
    void save(int first = 0) const { writeKeySettings(folder.path(), gridFrom(first), "20", "67"); }
    // The save must fail with one error naming `file`; both files stay old.
    void expectRefused(const std::string& file, const std::string& reason) const {
        try {
            save();
            ADD_FAILURE() << "saved";
        } catch (const DataFileError& e) {
            const std::string message = e.what();
            EXPECT_EQ(e.kind(), DataFileError::Kind::WriteFailed);
            EXPECT_EQ(e.path(), file);
            EXPECT_NE(message.find("「" + file + "」を保存できません"), std::string::npos)
                << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
            EXPECT_NE(message.find("どちらのファイルも元のままです"), std::string::npos);
        }
    }
};

TEST(KeySettingsSave, BothFilesInTheirWrittenForm) {
    SaveFolder s;
    s.save(10);
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), formatEkimeiFile(gridFrom(10)));
    EXPECT_EQ(s.folder.read("Start.csv"), "20,67\r\n");
    EXPECT_EQ(namesIn(s.folder.path()), (std::set<std::string>{"Ekimei1.csv", "Start.csv"}));
}

TEST(KeySettingsSave, ALinkedFileIsReplacedThroughItsLink) {
    SaveFolder s;
    TableFolder elsewhere{TableFolder::Contents::Empty};
    elsewhere.write("keys.csv", OldEkimei);
    fs::remove(s.folder.file("Ekimei1.csv"));
    fs::create_symlink(elsewhere.file("keys.csv"), s.folder.file("Ekimei1.csv"));
    fs::remove(s.folder.file("Start.csv"));
    fs::create_symlink("start-target.csv", s.folder.file("Start.csv"));  // relative, dangling
    s.save();
    EXPECT_TRUE(fs::is_symlink(s.folder.file("Ekimei1.csv")));
    EXPECT_TRUE(fs::is_symlink(s.folder.file("Start.csv")));
    EXPECT_EQ(elsewhere.read("keys.csv"), formatEkimeiFile(gridFrom(0)));
    EXPECT_EQ(s.folder.read("start-target.csv"), "20,67\r\n");
    EXPECT_EQ(namesIn(elsewhere.path()), std::set<std::string>{"keys.csv"});
}

// Every failure leaves the pair as it was, with one message naming the file
// and the reason, and no temporary file.
TEST(KeySettingsSave, AFailureLeavesBothOldFiles) {
    const struct {
        const char* name;
        std::function<void(SaveFolder&)> fault;
        const char* file;
        const char* reason;
    } cases[] = {
        // The second replacement fails after the first one was made: the
        // layout file is put back.
        {"folder in the place of Start.csv",
         [](SaveFolder& s) {
             fs::remove(s.folder.file("Start.csv"));
             fs::create_directories(s.folder.file("Start.csv") / "inside");
         },
         "Start.csv", "フォルダです"},
        {"read-only layout file",
         [](SaveFolder& s) { fs::permissions(s.folder.file("Ekimei1.csv"), fs::perms(0444)); },
         "Ekimei1.csv", "読み取り専用"},
        {"read-only start file",
         [](SaveFolder& s) { fs::permissions(s.folder.file("Start.csv"), fs::perms(0444)); },
         "Start.csv", "読み取り専用"},
        {"layout file unreadable as a folder",
         [](SaveFolder& s) {
             fs::remove(s.folder.file("Ekimei1.csv"));
             fs::create_directory(s.folder.file("Ekimei1.csv"));
         },
         "Ekimei1.csv", "フォルダです"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaveFolder s;
        const auto before = namesIn(s.folder.path());
        c.fault(s);
        const std::string ekimeiBefore = bytesOf(s.folder, "Ekimei1.csv");
        const std::string startBefore = bytesOf(s.folder, "Start.csv");
        s.expectRefused(c.file, c.reason);
        EXPECT_EQ(bytesOf(s.folder, "Ekimei1.csv"), ekimeiBefore);
        EXPECT_EQ(bytesOf(s.folder, "Start.csv"), startBefore);
        EXPECT_EQ(namesIn(s.folder.path()), before);
    }
}

TEST(KeySettingsSave, ASecondFailureRemovesALayoutFileThatWasNotThereBefore) {
    SaveFolder s;
    fs::remove(s.folder.file("Ekimei1.csv"));
    fs::remove(s.folder.file("Start.csv"));
    fs::create_directory(s.folder.file("Start.csv"));
    s.expectRefused("Start.csv", "フォルダです");
    EXPECT_EQ(namesIn(s.folder.path()), std::set<std::string>{"Start.csv"});
}

TEST(KeySettingsSave, AFullDiskLeavesBothOldFiles) {
    // A file-size limit stands in for a full disk (it holds for root too):
    // the start file would fit, the layout file does not.
    SaveFolder s;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    s.expectRefused("Ekimei1.csv", "大きすぎます");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), OldEkimei);
    EXPECT_EQ(s.folder.read("Start.csv"), OldStart);
    EXPECT_EQ(namesIn(s.folder.path()), (std::set<std::string>{"Ekimei1.csv", "Start.csv"}));
}

TEST(KeySettingsSave, AReadOnlyFolderLeavesBothOldFiles) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
    SaveFolder s;
    fs::permissions(s.folder.path(), fs::perms(0555));
    s.expectRefused("Ekimei1.csv", "許可されていません");
    fs::permissions(s.folder.path(), fs::perms(0755));
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), OldEkimei);
    EXPECT_EQ(s.folder.read("Start.csv"), OldStart);
}

TEST(KeySettingsSave, AFolderThatCannotBeFlushedIsNoSuccess) {
    for (bool pair : {true, false}) {
        SCOPED_TRACE(pair ? "pair" : "one file");
        SaveFolder s;
        setFolderSyncForTesting([](int) {
            errno = EIO;
            return -1;
        });
        try {
            if (pair)
                s.save();
            else
                writeFileAtomically(s.folder.path(), "Start.csv", formatStartFile("1", "2"));
            ADD_FAILURE() << "reported as saved";
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.kind(), DataFileError::Kind::WriteFailed);
            // The pair's journal must be flushed before either file is
            // replaced: the save stops there, both files old.
            EXPECT_NE(std::string(e.what()).find(pair ? "どちらのファイルも元のままです"
                                                      : "確かめられません"),
                      std::string::npos)
                << e.what();
            if (pair) {
                EXPECT_EQ(s.folder.read("Start.csv"), OldStart);
            }
        }
        // A file system without the notion of flushing a folder is no failure.
        setFolderSyncForTesting([](int) {
            errno = EINVAL;
            return -1;
        });
        EXPECT_NO_THROW(s.save());
        setFolderSyncForTesting(nullptr);
    }
}

TEST(KeySettingsSave, LeftoversOfAnInterruptedSaveAndNothingElseAreRemoved) {
    SaveFolder s;
    const std::set<std::string> kept = {
        "Ekimei1.csv",
        "Start.csv",
        ".Start.csv.abc",  // too short
        "Start.csv.abc123",
        ".Ekimei1.csv.ab-123",  // not of our naming
        ".Otona.csv.abc123",
        ".Start.csv.dir123",       // a folder
        ".Start.csv.h-x1.abc123",  // no process number
    };
    for (const std::string& name : kept)
        if (name != ".Start.csv.dir123" && name != "Ekimei1.csv" && name != "Start.csv")
            s.folder.write(name, "x");
    fs::create_directory(s.folder.file(".Start.csv.dir123"));
    // Earlier versions' names, this version's (host and process), the
    // journal's temporary, and a journal that is not whole.
    const char* leftovers[] = {".Ekimei1.csv.Ab3dE9", ".Start.csv.zZ0099",
                               ".Start.csv.counter_2-4242.Qw3rty", ".kippurun.journal.h-77.aaaaaa",
                               ".kippurun.journal"};
    for (const char* name : leftovers) s.folder.write(name, "left");
    settleFolder(s.folder.path());
    EXPECT_EQ(namesIn(s.folder.path()), kept);
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), OldEkimei);
    EXPECT_EQ(s.folder.read("Start.csv"), OldStart);

    s.folder.write(".Start.csv.zZ0099", "left");
    s.save();
    EXPECT_EQ(namesIn(s.folder.path()), kept);
}

// Another counter saved since the screen read the pair: nothing is written
// and the caller learns what the files hold now.
TEST(KeySettingsSave, ASaveInBetweenIsNoticedBeforeOverwriting) {
    SaveFolder s;
    std::string read = keySettingsOnDisk(s.folder.path());
    EXPECT_TRUE(writeKeySettings(s.folder.path(), gridFrom(1), "1", "2", &read));
    std::string stale = keySettingsOnDisk(s.folder.path());
    EXPECT_TRUE(writeKeySettings(s.folder.path(), gridFrom(2), "3", "4", nullptr));
    EXPECT_FALSE(writeKeySettings(s.folder.path(), gridFrom(5), "5", "6", &stale));
    EXPECT_EQ(s.folder.read("Start.csv"), "3,4\r\n");
    EXPECT_EQ(stale, keySettingsOnDisk(s.folder.path()));
    EXPECT_TRUE(writeKeySettings(s.folder.path(), gridFrom(5), "5", "6", &stale));
    EXPECT_EQ(s.folder.read("Start.csv"), "5,6\r\n");
}

// A device or a FIFO stands where the start file should be, itself or
// behind a link: refused, nothing renamed over it.
TEST(KeySettingsSave, ATargetThatIsNoRegularFileIsRefused) {
    for (const char* how : {"fifo", "device link", "fifo link", "link loop"}) {
        SCOPED_TRACE(how);
        SaveFolder s;
        fs::remove(s.folder.file("Start.csv"));
        const std::string kind = how;
        if (kind == "fifo") {
            ASSERT_EQ(::mkfifo(s.folder.file("Start.csv").c_str(), 0644), 0);
        } else if (kind == "device link") {
            fs::create_symlink("/dev/null", s.folder.file("Start.csv"));
        } else if (kind == "fifo link") {
            ASSERT_EQ(::mkfifo(s.folder.file("pipe").c_str(), 0644), 0);
            fs::create_symlink("pipe", s.folder.file("Start.csv"));
        } else {
            fs::create_symlink("Start.csv", s.folder.file("Start.csv"));
        }
        const auto before = namesIn(s.folder.path());
        s.expectRefused("Start.csv", kind == "link loop" ? "シンボリックリンクが循環しています"
                                                         : "通常のファイルではありません");
        EXPECT_EQ(s.folder.read("Ekimei1.csv"), OldEkimei);
        EXPECT_EQ(namesIn(s.folder.path()), before);
        if (kind == "link loop")
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(s.folder.file("Start.csv"))));
        else
            EXPECT_EQ(fs::status(s.folder.file("Start.csv")).type(),
                      kind == "device link" ? fs::file_type::character : fs::file_type::fifo);
    }
}

// A save folder in memory where there is one.
struct MemoryFolder : testing::InMemory, SaveFolder {};

// A child process saves over and over and is killed at a random moment; one
// start of the program follows: the pair is wholly the one save or wholly
// the other, each file whole, and nothing but the two files is left.
// Long run: KIPPURUN_SAVE_KILLS=1000 (and KIPPURUN_RECOVERY_PROGRAM).
TEST(KeySettingsSave, KilledAtAnyMomentThePairIsWhollyOldOrWhollyNew) {
    const int kills = testing::countFrom("KIPPURUN_SAVE_KILLS", 300);
    MemoryFolder s;
    const fs::path dir = s.folder.path();
    s.save(0);
    const std::string layouts[2] = {formatEkimeiFile(gridFrom(0)), formatEkimeiFile(gridFrom(1))};
    const std::string starts[2] = {"20,67\r\n", "21,68\r\n"};
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delay(0, 1500);
    // Every other run the kill comes at one write step of a save, each step
    // in turn: the moments a timer hits seldom on a slow build.
    int steps = 0;
    setWriteFaultForTesting([&](std::string_view, std::string_view) {
        ++steps;
        return 0;
    });
    s.save(1);
    s.save(0);
    setWriteFaultForTesting(nullptr);
    int leftovers = 0, cutBetweenRenames = 0, journals = 0;
    for (int run = 0; run < kills; ++run) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (run % 2 == 0) {
                const int at = testing::stepToKill(run / 2, (kills + 1) / 2, steps);
                setWriteFaultForTesting([step = 0, at](std::string_view, std::string_view) mutable {
                    if (++step == at) ::raise(SIGKILL);
                    return 0;
                });
            }
            for (int i = 0;; i ^= 1) {
                try {
                    writeKeySettings(dir, gridFrom(i), i ? "21" : "20", i ? "68" : "67");
                } catch (...) {
                    ::_exit(3);
                }
            }
        }
        if (run % 2) {
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed on run " << run;
        leftovers += namesIn(dir).size() > 2;
        journals += fs::exists(dir / ".kippurun.journal");
        cutBetweenRenames += (s.folder.read("Ekimei1.csv") == layouts[0]) !=
                             (s.folder.read("Start.csv") == starts[0]);
        testing::openFolderAsProgram(dir);
        const std::string layout = s.folder.read("Ekimei1.csv");
        const std::string start = s.folder.read("Start.csv");
        const int which = layout == layouts[1];
        ASSERT_TRUE(layout == layouts[which]) << "a damaged layout file on run " << run;
        ASSERT_EQ(start, starts[which]) << "a mixed pair on run " << run;
        ASSERT_EQ(namesIn(dir), (std::set<std::string>{"Ekimei1.csv", "Start.csv"})) << run;
    }
    std::cout << kills << " kills: " << leftovers << " left temporaries, " << journals
              << " a journal, " << cutBetweenRenames
              << " a mixed pair before the start; after it none\n";
    // The kills did land in the middle of saves, also between the renames.
    EXPECT_GT(leftovers, 0);
    EXPECT_GT(journals, 0);
}

// The first two keys of a counter's save name the counter and the save; the
// start pair repeats them, so that a pair of two saves shows.
EkimeiGrid stampedGrid(int counter, int save) {
    EkimeiGrid grid = gridFrom(save);
    grid[0] = std::to_string(counter);
    grid[1] = std::to_string(save % 107);
    return grid;
}

// The pair as one reader under the shared lock sees it: whether its two files
// belong to one save.
bool pairIsOneSave(const TableFolder& folder) {
    const UntinLock lock(folder.path(), UntinLockMode::Shared);
    const std::string layout = folder.read("Ekimei1.csv");
    const std::string start = folder.read("Start.csv");
    const std::size_t second = layout.find(',', layout.find(',') + 1);
    return second != std::string::npos && layout.substr(0, second) + "\r\n" == start;
}

// Counters on one folder save at once, each re-reading the pair after its
// save as its screen would: never a mixed pair, never a save reported
// failed, and "changed in between" only when the files did change.
// Long run: KIPPURUN_SAVE_ROUNDS=500.
TEST(KeySettingsSave, CountersSavingAtOnceNeverMixThePairNorFail) {
    const int rounds = testing::countFrom("KIPPURUN_SAVE_ROUNDS", 60);
    for (const int counters : {2, 4}) {
        SCOPED_TRACE(std::to_string(counters) + " counters");
        MemoryFolder s;
        const fs::path dir = s.folder.path();
        writeKeySettings(dir, stampedGrid(0, 0), "0", "0");
        std::vector<pid_t> children;
        std::fflush(stdout);  // not written again by each child
        for (int counter = 0; counter < counters; ++counter) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                int conflicts = 0;
                try {
                    for (int save = 1; save <= rounds; ++save) {
                        std::string read = keySettingsOnDisk(dir);
                        for (;;) {
                            const std::string before = read;
                            const EkimeiGrid grid = stampedGrid(counter, save);
                            if (writeKeySettings(dir, grid, grid[0], grid[1], &read)) break;
                            if (read == before) ::_exit(10);  // reported a change that was none
                            ++conflicts;
                        }
                    }
                } catch (...) {
                    ::_exit(20);  // a save reported failed
                }
                std::printf("counter %d: %d saves, told %d times of a save in between\n", counter,
                            rounds, conflicts);
                std::fflush(stdout);
                ::_exit(0);
            }
            children.push_back(child);
        }
        int checks = 0, mixed = 0;
        for (std::size_t running = children.size(); running > 0;) {
            mixed += !pairIsOneSave(s.folder);
            ++checks;
            for (pid_t& child : children) {
                int status = 0;
                if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                        << "exit status " << status;
                    child = 0;
                    --running;
                }
            }
        }
        EXPECT_EQ(mixed, 0) << "of " << checks << " readings";
        EXPECT_TRUE(pairIsOneSave(s.folder));
        EXPECT_EQ(namesIn(dir), (std::set<std::string>{"Ekimei1.csv", "Start.csv"}));
        std::cout << counters << " counters x " << rounds << " saves: " << checks
                  << " readings, none mixed\n";
    }
}

}  // namespace
}  // namespace kippurun
