#include "office/table_install.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/untin_lock.h"
#include "fare/determinations.h"
#include "office/office_commands.h"
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

}  // namespace
}  // namespace kippurun
