// Saving the settings screen's pair of files: both new or both old, never
// one of each after a reported failure, and nothing left behind.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "data/data_file_error.h"
#include "data/key_layout.h"
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

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
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
                writeStartFile(s.folder.path(), "1", "2");
            ADD_FAILURE() << "reported as saved";
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.kind(), DataFileError::Kind::WriteFailed);
            EXPECT_NE(std::string(e.what()).find("確かめられません"), std::string::npos);
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
        "Ekimei1.csv",       "Start.csv",           ".Start.csv.abc",  // too short
        "Start.csv.abc123",  ".Ekimei1.csv.ab-123",                    // not of our naming
        ".Otona.csv.abc123", ".Start.csv.dir123",                      // a folder
    };
    for (const std::string& name : kept)
        if (name != ".Start.csv.dir123" && name != "Ekimei1.csv" && name != "Start.csv")
            s.folder.write(name, "x");
    fs::create_directory(s.folder.file(".Start.csv.dir123"));
    s.folder.write(".Ekimei1.csv.Ab3dE9", "left");
    s.folder.write(".Start.csv.zZ0099", "left");
    removeSaveLeftovers(s.folder.path());
    EXPECT_EQ(namesIn(s.folder.path()), kept);

    s.folder.write(".Start.csv.zZ0099", "left");
    s.save();
    EXPECT_EQ(namesIn(s.folder.path()), kept);
}

// A child process saves over and over and is killed at a random moment: each
// file is always whole, old or new, and the next save leaves no temporary.
TEST(KeySettingsSave, KilledAtAnyMomentEachFileIsOldOrNew) {
    // In memory where it can be: what is tested is the order of the steps,
    // and a disk's flushes would make the 500 runs take half a minute.
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string savedTmpdir = tmpdir ? tmpdir : "";
    if (fs::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
    SaveFolder s;
    if (tmpdir)
        ::setenv("TMPDIR", savedTmpdir.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    s.save(0);
    const std::string layouts[2] = {formatEkimeiFile(gridFrom(0)), formatEkimeiFile(gridFrom(1))};
    const std::string starts[2] = {"20,67\r\n", "21,68\r\n"};
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delay(0, 1500);
    int leftovers = 0;
    for (int run = 0; run < 500; ++run) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; i ^= 1) {
                try {
                    writeKeySettings(s.folder.path(), gridFrom(i), i ? "21" : "20",
                                     i ? "68" : "67");
                } catch (...) {
                    ::_exit(3);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed on run " << run;
        const std::string layout = s.folder.read("Ekimei1.csv");
        const std::string start = s.folder.read("Start.csv");
        ASSERT_TRUE(layout == layouts[0] || layout == layouts[1]) << run;
        ASSERT_TRUE(start == starts[0] || start == starts[1]) << run;
        leftovers += namesIn(s.folder.path()).size() > 2;
        s.save(0);
        ASSERT_EQ(namesIn(s.folder.path()), (std::set<std::string>{"Ekimei1.csv", "Start.csv"}));
    }
    // The kills did land in the middle of saves.
    EXPECT_GT(leftovers, 0);
}

}  // namespace
}  // namespace kippurun
