// The command line: what each option sets, and the combinations refused.
#include "app/program_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kippurun {
namespace {

TEST(ProgramOptions, EachOptionSetsWhatItNames) {
    const OptionsResult r = parseProgramOptions(
        {"--today", "2026-02-28", "--untin", "/tmp/t", "--script", "-", "--quit-after-show"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->today,
              Date(std::chrono::year(2026), std::chrono::month(2), std::chrono::day(28)));
    EXPECT_EQ(r.options->untinDir, "/tmp/t");
    EXPECT_EQ(r.options->script, "-");
    EXPECT_TRUE(r.options->quitAfterShow);

    const OptionsResult check = parseProgramOptions({"--check", "--strict"});
    ASSERT_TRUE(check.options) << check.error;
    EXPECT_TRUE(check.options->check);
    EXPECT_TRUE(check.options->strict);

    const OptionsResult diff = parseProgramOptions({"--diff", "old", "new"});
    ASSERT_TRUE(diff.options) << diff.error;
    ASSERT_TRUE(diff.options->diff);
    EXPECT_EQ(diff.options->diff->first, "old");
    EXPECT_EQ(diff.options->diff->second, "new");

    const OptionsResult install =
        parseProgramOptions({"--install-tables", "new", "--untin", "/srv/counter"});
    ASSERT_TRUE(install.options) << install.error;
    EXPECT_EQ(install.options->installTables, "new");
    EXPECT_EQ(install.options->untinDir, "/srv/counter");

    const OptionsResult exported = parseProgramOptions({"--export-tables", "sheets"});
    ASSERT_TRUE(exported.options) << exported.error;
    EXPECT_EQ(exported.options->exportTables, "sheets");
    const OptionsResult imported = parseProgramOptions(
        {"--import-tables", "sheets", "--into", "new", "--untin", "/srv/office"});
    ASSERT_TRUE(imported.options) << imported.error;
    EXPECT_EQ(imported.options->importTables, "sheets");
    EXPECT_EQ(imported.options->into, "new");
    EXPECT_EQ(imported.options->untinDir, "/srv/office");
}

// Every refusal says in Japanese what is wrong, and nothing runs.
TEST(ProgramOptions, RefusedCommandLines) {
    const std::vector<std::vector<std::string>> refused = {
        {"--check", "--price-list"},
        {"--check", "--script", "a.txt"},
        {"--price-list", "--script", "-"},
        {"--strict"},
        {"--diff", "old"},
        {"--diff", "old", "new", "--check"},
        {"--diff", "old", "new", "--untin", "dir"},
        {"--install-tables"},
        {"--install-tables", "new", "--price-list"},
        {"--price-list", "--strict"},
        {"--export-tables"},
        {"--export-tables", "sheets", "--check"},
        {"--import-tables", "sheets"},
        {"--import-tables", "sheets", "--into"},
        {"--into", "new"},
        {"--export-tables", "sheets", "--into", "new"},
        {"--import-tables", "sheets", "--into", "new", "--install-tables", "new"},
        {"--today", "2026-02-30"},
        {"--today", "2026/02/28"},
        // Before the calendar and the era names begin, or with a sign.
        {"--today", "0000-01-01"},
        {"--today", "1872-12-31"},
        {"--today", "-026-01-09"},
        {"--today", "+026-01-09"},
        {"--today"},
        {"--script"},
        {"--untin"},
        {"--counter"},
        {"--diff", "old", "new", "--counter", "dir"},
        {"--unknown"},
    };
    for (const auto& args : refused) {
        std::string line;
        for (const std::string& a : args) line += a + " ";
        SCOPED_TRACE(line);
        const OptionsResult r = parseProgramOptions(args);
        EXPECT_FALSE(r.options);
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(ProgramOptions, TodayFromTheFirstYearOfTheCalendar) {
    const OptionsResult first = parseProgramOptions({"--today", "1873-01-01"});
    ASSERT_TRUE(first.options);
    EXPECT_EQ(first.options->today->year(), std::chrono::year(1873));
    const OptionsResult before = parseProgramOptions({"--today", "1872-12-31"});
    EXPECT_NE(before.error.find("1873 年以降"), std::string::npos) << before.error;
    EXPECT_NE(before.error.find("1872-12-31"), std::string::npos) << before.error;
}

// Options first, then the folders beside the program, then the installed
// ones; without a counter folder the pair lives with the tables.
TEST(ProgramOptions, FoldersChosen) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "kippurun-folders-test";
    const fs::path beside = root / "bin", installed = root / "var";
    struct Case {
        const char* name;
        std::vector<fs::path> present;
        std::optional<fs::path> untin, counter;
        fs::path tables, pair;
    };
    const std::vector<Case> cases = {
        {"build tree", {beside / "Untin"}, {}, {}, beside / "Untin", beside / "Untin"},
        {"beside, with a counter folder",
         {beside / "Untin", beside / "counter", installed / "Untin", installed / "counter"},
         {},
         {},
         beside / "Untin",
         beside / "counter"},
        {"installed",
         {installed / "Untin", installed / "counter"},
         {},
         {},
         installed / "Untin",
         installed / "counter"},
        {"installed tables, no counter folder",
         {installed / "Untin"},
         {},
         {},
         installed / "Untin",
         installed / "Untin"},
        {"beside wins over installed",
         {beside / "Untin", installed / "Untin", installed / "counter"},
         {},
         {},
         beside / "Untin",
         beside / "Untin"},
        {"--untin alone keeps the pair with it",
         {installed / "Untin", installed / "counter"},
         "/usb/Untin",
         {},
         "/usb/Untin",
         "/usb/Untin"},
        {"--counter with installed tables",
         {installed / "Untin", installed / "counter"},
         {},
         "/home/c",
         installed / "Untin",
         "/home/c"},
        {"both options", {beside / "Untin"}, "/share/Untin", "/home/c", "/share/Untin", "/home/c"},
        {"nothing found names the folder beside", {}, {}, {}, beside / "Untin", beside / "Untin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        for (const fs::path& dir : c.present) fs::create_directories(dir);
        const CounterFolders chosen = chooseFolders(c.untin, c.counter, beside, installed);
        EXPECT_EQ(chosen.tables, c.tables);
        EXPECT_EQ(chosen.counter, c.pair);
    }
    fs::remove_all(root);
    const OptionsResult r = parseProgramOptions({"--untin", "/t", "--counter", "/c"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->untinDir, "/t");
    EXPECT_EQ(r.options->counterDir, "/c");
}

}  // namespace
}  // namespace kippurun
