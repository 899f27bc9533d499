#include "office/table_install.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/folder_transaction.h"
#include "data/key_layout.h"
#include "data/table_files.h"
#include "data/untin_lock.h"
#include "fare/determinations.h"
#include "office/office_commands.h"
#include "tests/support/kill_runs.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

namespace fs = std::filesystem;
using testing::TableFolder;

const auto kNow = std::chrono::system_clock::now();

// Every entry of a folder and the bytes of each file in it.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        std::string bytes;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream out;
            out << in.rdbuf();
            bytes = out.str();
        }
        files[name] = bytes;
    }
    return files;
}

// A counter's folder inside a holder, so that the folders an install keeps
// beside it go with the holder.
struct Counter {
    TableFolder holder{TableFolder::Contents::Empty};
    fs::path dir = holder.path() / "Untin";
    explicit Counter(const TableFolder& tables) {
        fs::create_directory(dir);
        for (const auto& entry : fs::directory_iterator(tables.path()))
            fs::copy_file(entry.path(), dir / entry.path().filename());
    }
    std::vector<fs::path> kept() const {
        std::vector<fs::path> folders;
        for (const auto& entry : fs::directory_iterator(holder.path()))
            if (entry.path() != dir) folders.push_back(entry.path());
        return folders;
    }
};

TEST(TableInstall, ASetWithAnErrorIsRefusedAndTheFolderStaysByteForByte) {
    TableFolder revision;
    revision.set("Otona.csv", 67, 0, "x");
    revision.write();
    const TableFolder current;
    const Counter counter(current);
    const auto before = snapshot(counter.dir);
    std::ostringstream out, err;
    EXPECT_EQ(runInstallTables(revision.path(), counter.dir, out, err), 1);
    EXPECT_NE(out.str().find("Otona.csv:68:1: エラー:"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("入れ替えません"), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(counter.dir), before);
    EXPECT_TRUE(counter.kept().empty());
}

// The office's files come in, the counter's two stay, the old set is kept
// whole, and installing the kept folder puts it back.
TEST(TableInstall, AnAcceptedSetReplacesTheOfficeFilesAndTheOldSetComesBack) {
    TableFolder revision;
    revision.set("Otona.csv", 67, 0, "120000");
    revision.set("Gakuwari.csv", 67, 0, "90000");
    revision.set("MKiro.csv", 1, 0, "9");
    revision.setStart("5", "6");
    revision.setKey(0, "67");
    revision.write();
    TableFolder current;
    current.setKey(3, "12");
    current.write();
    const Counter counter(current);
    const auto before = snapshot(counter.dir);

    const Installation done = installTables(revision.path(), counter.dir, kNow);
    ASSERT_TRUE(done.succeeded()) << done.failure;
    EXPECT_EQ(done.replaced, (std::vector<std::string>{"Otona.csv", "MKiro.csv", "Gakuwari.csv"}));
    auto after = snapshot(counter.dir);
    for (const std::string& name : officeFiles()) EXPECT_EQ(after[name], revision.read(name));
    EXPECT_EQ(after["Start.csv"], before.at("Start.csv"));
    EXPECT_EQ(after["Ekimei1.csv"], before.at("Ekimei1.csv"));
    ASSERT_EQ(counter.kept(), std::vector<fs::path>{done.kept});
    EXPECT_EQ(done.kept.parent_path(), counter.holder.path());
    EXPECT_TRUE(done.kept.filename().string().starts_with("Untin.")) << done.kept;
    EXPECT_EQ(snapshot(done.kept), before);

    // The same set again: nothing to replace, nothing kept.
    EXPECT_TRUE(installTables(revision.path(), counter.dir, kNow).replaced.empty());

    std::ostringstream out, err;
    EXPECT_EQ(runInstallTables(done.kept, counter.dir, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("戻すには: kippurun --install-tables"), std::string::npos);
    after = snapshot(counter.dir);
    after.erase(UntinLockFileName);
    EXPECT_EQ(after, before);
    EXPECT_EQ(counter.kept().size(), 2u);  // the revision, kept in its turn
}

// A file that cannot be replaced part way: the files replaced before it go
// back, and nothing is kept.
TEST(TableInstall, AFailurePartWayPutsBackWhatWasReplaced) {
    TableFolder revision;
    revision.set("Otona.csv", 67, 0, "120000");
    revision.set("KHan.csv", 67, 0, "6");
    revision.write();
    const TableFolder current;
    const Counter counter(current);
    { const UntinLock lock(counter.dir, UntinLockMode::Shared); }      // the folder's lock file
    fs::permissions(counter.dir / "KHan.csv", fs::perms::owner_read);  // not replaced
    const auto before = snapshot(counter.dir);

    std::ostringstream out, err;
    EXPECT_EQ(runInstallTables(revision.path(), counter.dir, out, err), 1);
    EXPECT_NE(err.str().find("KHan.csv"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("前のままです"), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(counter.dir), before);
    EXPECT_TRUE(counter.kept().empty());
}

// ---- A counter releasing in a loop while sets are installed ----

TEST(TableInstall, ALoadDuringInstallsReadsOneWholeSet) {
    // 11 -> 52 sells a green express ticket without asking about a change
    // at 松山. Set B differs from A in the first table the load reads
    // (Otona) and in one of the last (GreenK).
    constexpr int kDeparture = 11, kArrival = 52;
    const StopPlan stops = expressStops(kDeparture, kArrival);
    TableFolder a, b;
    b.set("Otona.csv", kArrival, kDeparture, "120411");
    b.set("GreenK.csv", stops.arrival, stops.departure, "4321");
    b.write();
    const std::pair<std::string, std::string> setA = {
        TableFolder::cell("Otona.csv", kArrival, kDeparture),
        TableFolder::cell("GreenK.csv", stops.arrival, stops.departure)};
    const std::pair<std::string, std::string> setB = {"120411", "4321"};
    const Counter counter(a);

    std::string script;
    for (int i = 0; i < 100; ++i) {
        script += "click cmdKaihou\nselect cboHatsu " + std::to_string(kDeparture) +
                  "\nselect cboChaku " + std::to_string(kArrival) +
                  "\ntype txtNinzuK \"1\"\nclick cmdGToku\nclick cmdJikkou\nbill\n";
    }
    counter.holder.write("release.script", script);

    std::atomic<bool> done{false};
    int installs = 0;
    std::string failure;
    std::thread installer([&] {
        for (int i = 0; !done; ++i) {
            const Installation one =
                installTables(i % 2 == 0 ? b.path() : a.path(), counter.dir, kNow);
            if (!one.succeeded()) {
                failure = one.failure;
                return;
            }
            ++installs;
        }
    });
    const std::string command = std::string("\"") + KIPPURUN_BINARY_DIR +
                                "/kippurun\" --today 2026-12-09 --untin \"" + counter.dir.string() +
                                "\" --script \"" + counter.holder.file("release.script").string() +
                                "\"";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = ::pclose(pipe);
    done = true;
    installer.join();
    ASSERT_EQ(status, 0) << output;
    ASSERT_EQ(failure, "");

    std::map<std::string, int> seen;  // "A" or "B" -> bills
    const std::regex unit("^(01|22) \\S+ unit=\"([^\"]*)\".*");
    std::pair<std::string, std::string> bill;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_match(line, match, unit)) {
            (match[1] == "01" ? bill.first : bill.second) = match[2];
        } else if (line.starts_with("total=")) {
            ASSERT_TRUE(bill == setA || bill == setB)
                << "mixed: Otona " << bill.first << ", GreenK " << bill.second;
            ++seen[bill == setA ? "A" : "B"];
            bill = {};
        }
    }
    EXPECT_EQ(seen["A"] + seen["B"], 100);
    // A counter releasing without a pause keeps the folder's lock most of
    // the time; an install still gets in between two loads.
    EXPECT_GE(installs, 1);
}

// ---- Installs cut short, steps that fail, readers meanwhile ----

using testing::bytesOf;

// Revision B differs from A in eight fare and charge tables, the first and
// the last the load reads among them.
constexpr const char* kRevised[] = {"Otona.csv", "6Kai.csv",  "Jiyu.csv",  "Kansan.csv",
                                    "Tujo.csv",  "Hanbo.csv", "Green.csv", "Jiyukai.csv"};

struct TwoRevisions {
    TableFolder a, b;
    TwoRevisions() {
        for (const char* name : kRevised) b.set(name, 1, 0, "999999");
        b.write();
    }
    // "A" or "B" when every office file of `dir` is that revision's, else
    // what is wrong.
    std::string which(const fs::path& dir) const {
        int ofA = 0, ofB = 0;
        for (const std::string& name : officeFiles()) {
            const std::string bytes = bytesOf(dir / name);
            if (bytes == a.read(name)) ++ofA;
            if (bytes == b.read(name)) ++ofB;
            if (bytes != a.read(name) && bytes != b.read(name)) return "a damaged " + name;
        }
        const auto all = static_cast<int>(officeFiles().size());
        if (ofA == all) return "A";
        if (ofB == all) return "B";
        return "mixed";
    }
};

// The folder's entries but its lock file.
std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename() != UntinLockFileName) names.insert(entry.path().filename());
    return names;
}

std::set<std::string> setNames() {
    std::set<std::string> names;
    for (const TableFile& file : TableFiles) names.insert(std::string(file.fileName()));
    return names;
}

// A child installs the two revisions in turn and is killed at a random
// moment (SIGKILL, SIGINT or SIGTERM); one opening of the folder follows:
// the set is wholly one revision, every file whole, nothing left behind.
// Long run: KIPPURUN_INSTALL_KILLS=1000 (and KIPPURUN_RECOVERY_PROGRAM).
TEST(TableInstall, KilledAtAnyMomentTheSetIsWhollyOldOrWhollyNew) {
    const int kills = testing::countFrom("KIPPURUN_INSTALL_KILLS", 2 * 60);
    const testing::InMemory memory;
    const TwoRevisions revisions;
    const Counter counter(revisions.a);
    // How long two installs take here; and how many write steps one has.
    int steps = 0;
    const auto started = std::chrono::steady_clock::now();
    setWriteFaultForTesting([&](std::string_view, std::string_view) {
        ++steps;
        return 0;
    });
    ASSERT_TRUE(installTables(revisions.b.path(), counter.dir, kNow).succeeded());
    setWriteFaultForTesting(nullptr);
    ASSERT_TRUE(installTables(revisions.a.path(), counter.dir, kNow).succeeded());
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - started)
                           .count();
    std::mt19937 random(20261210);
    std::uniform_int_distribution<long> anywhere(0, whole);
    const int signals[] = {SIGKILL, SIGINT, SIGTERM};
    int mixedBefore = 0, journals = 0;
    std::map<std::string, int> after;
    for (int run = 0; run < kills; ++run) {
        for (const fs::path& kept : counter.kept()) fs::remove_all(kept);
        std::fflush(stdout);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Every other run the signal comes at one step of the first
            // install, the steps in turn: the moments a timer seldom hits.
            if (run % 2 == 0) {
                const int at = testing::stepToKill(run / 2, (kills + 1) / 2, steps),
                          signal = signals[run % 3];
                setWriteFaultForTesting(
                    [step = 0, at, signal](std::string_view, std::string_view) mutable {
                        if (++step == at) ::raise(signal);
                        return 0;
                    });
            }
            for (int i = 0;; ++i) {
                const Installation one =
                    installTables((i % 2 ? revisions.a : revisions.b).path(), counter.dir, kNow);
                if (!one.succeeded()) ::_exit(3);
            }
        }
        if (run % 2) {
            std::this_thread::sleep_for(std::chrono::microseconds(anywhere(random)));
            ::kill(child, signals[run % 3]);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the installing child failed on run " << run;
        mixedBefore += revisions.which(counter.dir) == "mixed";
        journals += fs::exists(counter.dir / ".kippurun.journal");
        testing::openFolderAsProgram(counter.dir);
        const std::string which = revisions.which(counter.dir);
        ASSERT_TRUE(which == "A" || which == "B") << which << " on run " << run;
        ++after[which];
        ASSERT_EQ(namesIn(counter.dir), setNames()) << "leftovers on run " << run;
    }
    std::cout << kills << " kills: " << mixedBefore << " mixed sets and " << journals
              << " journals before the opening; after it " << after["A"] << " old, " << after["B"]
              << " new, none mixed, none damaged, nothing left\n";
    EXPECT_GT(journals, 0);  // the kills did land between the renames
    EXPECT_GT(mixedBefore, 0);
}

// Each step of an install failing in turn, as an I/O error and as a full
// disk: the set is wholly old or wholly new, as the message says, and after
// the next opening nothing is left behind.
TEST(TableInstall, EveryStepFailingLeavesTheSetWhollyOldOrWhollyNew) {
    const testing::InMemory memory;
    const TwoRevisions revisions;
    int steps = 0;
    {
        const Counter counter(revisions.a);
        setWriteFaultForTesting([&](std::string_view, std::string_view) {
            ++steps;
            return 0;
        });
        ASSERT_TRUE(installTables(revisions.b.path(), counter.dir, kNow).succeeded());
        setWriteFaultForTesting(nullptr);
    }
    ASSERT_GT(steps, 8 * 5);  // create, write, flush, close, link and rename for each
    std::map<std::string, int> outcomes;
    for (const int error : {EIO, ENOSPC}) {
        for (int failing = 1; failing <= steps; ++failing) {
            SCOPED_TRACE("step " + std::to_string(failing) + ", errno " + std::to_string(error));
            const Counter counter(revisions.a);
            int step = 0;
            std::string failedStep;
            setWriteFaultForTesting([&](std::string_view what, std::string_view) {
                if (++step != failing) return 0;
                failedStep = what;
                return error == ENOSPC && what != "write" ? EIO : error;
            });
            const Installation done = installTables(revisions.b.path(), counter.dir, kNow);
            setWriteFaultForTesting(nullptr);
            const std::string now = revisions.which(counter.dir);
            if (done.succeeded()) {
                EXPECT_EQ(now, "B") << failedStep;
                ++outcomes["new, reported done (the journal's removal: " + failedStep + ")"];
            } else if (done.failure.find("どの表も前のままです") != std::string::npos) {
                EXPECT_EQ(now, "A") << done.failure;
                EXPECT_TRUE(counter.kept().empty());
                ++outcomes["old, said so"];
            } else if (done.failure.find("新しい表はすべて入りました") != std::string::npos) {
                EXPECT_EQ(now, "B") << done.failure;
                ++outcomes["new but unconfirmed, said so"];
            } else {
                EXPECT_NE(done.failure.find("前のものにそろえられます"), std::string::npos)
                    << done.failure;
                ++outcomes["left to the next opening, said so"];
            }
            EXPECT_NE(done.succeeded(), done.failure.find("「") != std::string::npos);
            settleFolder(counter.dir);
            const std::string settled = revisions.which(counter.dir);
            EXPECT_TRUE(settled == "A" || settled == "B") << settled;
            if (done.failure.find("前のものにそろえられます") != std::string::npos) {
                EXPECT_EQ(settled, "A");
            }
            EXPECT_EQ(namesIn(counter.dir), setNames());
        }
    }
    for (const auto& [outcome, count] : outcomes) std::cout << count << " x " << outcome << "\n";
    EXPECT_GT(outcomes["old, said so"], 0);
    EXPECT_GT(outcomes["new but unconfirmed, said so"], 0);
}

// --price-list in a loop while the two revisions are installed in turn:
// every list is wholly one revision's.
TEST(TableInstall, APriceListDuringInstallsIsOfOneWholeSet) {
    const TwoRevisions revisions;
    const Counter counter(revisions.a);
    std::string lists[2];
    for (int i = 0; i < 2; ++i) {
        std::ostringstream out, err;
        ASSERT_EQ(
            runPriceList((i ? revisions.b : revisions.a).path(),
                         Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)},
                         out, err),
            0)
            << err.str();
        lists[i] = out.str();
    }
    ASSERT_NE(lists[0], lists[1]);
    std::atomic<bool> done{false};
    std::thread installer([&] {
        for (int i = 0; !done; ++i)
            installTables((i % 2 ? revisions.a : revisions.b).path(), counter.dir, kNow);
    });
    std::map<int, int> seen;
    for (int round = 0; round < testing::countFrom("KIPPURUN_LIST_ROUNDS", 15); ++round) {
        std::ostringstream out, err;
        runPriceList(counter.dir,
                     Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)},
                     out, err);
        const int which = out.str() == lists[0] ? 0 : out.str() == lists[1] ? 1 : -1;
        EXPECT_NE(which, -1) << "a list of no revision in round " << round;
        ++seen[which];
    }
    done = true;
    installer.join();
    std::cout << seen[0] << " lists of the old set, " << seen[1] << " of the new\n";
}

// Two mounts of one folder that do not share locks (two bindfs mounts,
// FUSE: a network share without lock support): counters saving their pair
// and installs from both sides at once never leave a mixed pair or set,
// and a write that failed says so.
TEST(TableInstall, TwoMountsWithoutSharedLocksNeverMixASet) {
    if (::geteuid() != 0 || std::system("command -v bindfs >/dev/null 2>&1") != 0 ||
        !fs::exists("/dev/fuse"))
        GTEST_SKIP() << "bindfs and FUSE are not available here";
    const TwoRevisions revisions;
    const Counter counter(revisions.a);
    const fs::path sides[2] = {counter.holder.path() / "side1", counter.holder.path() / "side2"};
    for (const fs::path& side : sides) {
        fs::create_directory(side);
        const std::string mount = "bindfs --no-allow-other \"" + counter.dir.string() + "\" \"" +
                                  side.string() + "\" 2>/dev/null";
        if (std::system(mount.c_str()) != 0) {
            for (const fs::path& s : sides)
                std::system(("umount \"" + s.string() + "\" 2>/dev/null").c_str());
            GTEST_SKIP() << "bindfs cannot mount here";
        }
    }
    struct Unmount {
        const fs::path* sides;
        ~Unmount() {
            for (int i = 0; i < 2; ++i)
                std::system(("umount \"" + sides[i].string() + "\"").c_str());
        }
    } unmount{sides};

    const int rounds = testing::countFrom("KIPPURUN_MOUNT_ROUNDS", 40);
    std::vector<pid_t> children;
    std::fflush(stdout);
    for (int side = 0; side < 2; ++side) {
        for (const bool installs : {false, true}) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child != 0) {
                children.push_back(child);
                continue;
            }
            int failed = 0;
            for (int round = 0; round < rounds; ++round) {
                if (installs) {
                    const Installation one = installTables(
                        (round % 2 ? revisions.a : revisions.b).path(), sides[side], kNow);
                    // A failure must be a message, never a success that was none.
                    if (!one.succeeded()) {
                        if (one.failure.empty()) ::_exit(10);
                        ++failed;
                    }
                } else {
                    EkimeiGrid grid;
                    grid.fill("999");
                    grid[0] = std::to_string(side);
                    grid[1] = std::to_string(round);
                    try {
                        writeKeySettings(sides[side], grid, grid[0], grid[1]);
                    } catch (const DataFileError& e) {
                        if (std::string(e.what()).find("保存できません") == std::string::npos)
                            ::_exit(11);
                        ++failed;
                    }
                }
            }
            std::printf("side %d %s: %d of %d refused\n", side + 1, installs ? "installs" : "saves",
                        failed, rounds);
            std::fflush(stdout);
            ::_exit(0);
        }
    }
    // A reader on the folder itself, as the program reads it, meanwhile.
    int readings = 0, mixed = 0, retried = 0;
    for (std::size_t running = children.size(); running > 0;) {
        // Counted once the reading is known whole, as a reader uses it.
        mixed += readWholeSet({counter.dir}, [&] {
            const std::string which = revisions.which(counter.dir);
            const std::string layout = bytesOf(counter.dir / "Ekimei1.csv");
            const std::string start = bytesOf(counter.dir / "Start.csv");
            const std::size_t second = layout.find(',', layout.find(',') + 1);
            // The pair of one save repeats the layout's first two keys.
            const bool pairWhole =
                layout == revisions.a.read("Ekimei1.csv") ||
                (second != std::string::npos && layout.substr(0, second) + "\r\n" == start);
            const bool bad = which == "mixed" || which.starts_with("a damaged") || !pairWhole;
            retried += bad;
            return bad;
        });
        ++readings;
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                child = 0;
                --running;
            }
        }
    }
    settleFolder(counter.dir);
    const std::string which = revisions.which(counter.dir);
    EXPECT_TRUE(which == "A" || which == "B") << which;
    EXPECT_EQ(mixed, 0) << "of " << readings << " readings";
    EXPECT_EQ(namesIn(counter.dir), setNames());
    std::cout << readings << " readings of the folder meanwhile, none mixed; " << retried
              << " reads were of a set that was changing, and were read again\n";
}

}  // namespace
}  // namespace kippurun
