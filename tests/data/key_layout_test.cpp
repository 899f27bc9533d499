#include "data/key_layout.h"

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "data/data_file_error.h"
#include "table_text.h"

namespace kippurun {
namespace {

using testing::TableFolder;

// A layout file: keys 0-51 from `keys` (999 beyond), cells 52-99 `reserved`.
std::string ekimeiFile(const std::vector<std::string>& keys, const std::string& reserved = "999") {
    std::string out;
    for (std::size_t k = 0; k < EkimeiCellCount; ++k) {
        out += k < keys.size() ? keys[k] : (k < StationKeyCount ? "999" : reserved);
        out += k % 10 == 9 ? "\r\n" : ",";
    }
    return out;
}

std::size_t filesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(EkimeiLoad, StopIndexesOfTheKeys) {
    TableFolder folder{TableFolder::Contents::Empty};
    folder.write("Ekimei1.csv", ekimeiFile({"20", "67", "2", "999", "0", " 12 ", "20.5", "21.5",
                                            "\"106\"", "998.6"},
                                           "anything, at all"));
    const EkimeiFile file = EkimeiLoad(folder.path());
    const struct {
        int station, expressIndex, marineIndex;
    } expected[] = {{20, 3, 14},         {67, 17, NotSet},
                    {2, NotSet, NotSet}, {NotSet, NotSet, NotSet},
                    {0, 0, 0},           {12, 2, 9},
                    {20, 3, 14},         {22, 5, NotSet},
                    {106, 25, NotSet},   {NotSet, NotSet, NotSet}};
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(file.layout[k].station, expected[k].station);
        EXPECT_EQ(file.layout[k].expressIndex, expected[k].expressIndex);
        EXPECT_EQ(file.layout[k].marineIndex, expected[k].marineIndex);
    }
    for (std::size_t k = std::size(expected); k < StationKeyCount; ++k) {
        EXPECT_EQ(file.layout[k].station, NotSet);
    }
    EXPECT_EQ(file.grid[5], "12");
    EXPECT_EQ(file.grid[52], "anything");
    EXPECT_EQ(file.grid[53], "at all");
}

TEST(EkimeiLoad, BadKeyValuesNameTheirPlace) {
    using Kind = DataFileError::Kind;
    const struct {
        std::size_t key;
        const char* value;
        Kind kind;
    } cases[] = {
        {5, "abc", Kind::NotANumber},  {13, "", Kind::NotANumber},  {51, "1 2", Kind::NotANumber},
        {30, "107", Kind::OutOfRange}, {0, "-1", Kind::OutOfRange}, {9, "998.5", Kind::OutOfRange},
    };
    for (const auto& c : cases) {
        std::vector<std::string> keys(StationKeyCount, "999");
        keys[c.key] = c.value;
        TableFolder folder{TableFolder::Contents::Empty};
        folder.write("Ekimei1.csv", ekimeiFile(keys));
        try {
            EkimeiLoad(folder.path());
            ADD_FAILURE() << c.key;
        } catch (const DataFileError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.key;
            EXPECT_EQ(error.path(), "Ekimei1.csv");
            EXPECT_EQ(error.position.valueNumber, c.key);
            EXPECT_EQ(error.position.line, c.key / 10 + 1);
            EXPECT_EQ(error.position.field, c.key % 10 + 1);
            EXPECT_NE(std::string(error.what()).find(std::to_string(c.key + 1) + " 番目の値"),
                      std::string::npos);
        }
    }
    TableFolder folder{TableFolder::Contents::Empty};
    folder.write("Ekimei1.csv", ekimeiFile({}).substr(0, ekimeiFile({}).rfind(',')));
    try {
        EkimeiLoad(folder.path());
        ADD_FAILURE();
    } catch (const DataFileError& error) {
        EXPECT_EQ(error.kind(), Kind::PastEndOfFile);
        EXPECT_EQ(error.valuesFound, 99u);
    }
}

TEST(KeyLayoutFiles, WrittenForm) {
    EkimeiGrid grid;
    grid.fill("999");
    grid[0] = "0";
    grid[1] = "11";
    grid[2] = "12";
    std::string expected = "0,11,12,999,999,999,999,999,999,999\r\n";
    for (int line = 1; line < 10; ++line) expected += "999,999,999,999,999,999,999,999,999,999\r\n";
    EXPECT_EQ(formatEkimeiFile(grid), expected);

    // Each cell read leniently; cells beyond the keys always 999.
    grid[0] = " 12 ";
    grid[1] = "";
    grid[2] = "12.0";
    grid[3] = "7abc";
    grid[51] = "0.5";
    grid[52] = "5";
    grid[99] = "hello";
    const std::string nines = "999,999,999,999,999,999,999,999,999,999\r\n";
    EXPECT_EQ(formatEkimeiFile(grid),
              "12,0,12,7,999,999,999,999,999,999\r\n" + nines + nines + nines + nines +
                  "999,0.5,999,999,999,999,999,999,999,999\r\n" + nines + nines + nines + nines);

    EXPECT_EQ(formatStartFile("0", "67"), "0,67\r\n");
    EXPECT_EQ(formatStartFile(" 3 ", ""), "3,0\r\n");
}

TEST(KeyLayoutFiles, WriteAndReadBack) {
    TableFolder folder{TableFolder::Contents::Empty};
    EkimeiGrid grid;
    grid.fill("garbage");
    for (std::size_t k = 0; k < StationKeyCount; ++k) grid[k] = std::to_string(k * 2);
    folder.write("Ekimei1.csv", "old");
    std::filesystem::permissions(folder.file("Ekimei1.csv"), std::filesystem::perms(0640));
    writeKeySettings(folder.path(), grid, "20", "67");

    EXPECT_EQ(folder.read("Ekimei1.csv"), formatEkimeiFile(grid));
    EXPECT_EQ(folder.read("Start.csv"), "20,67\r\n");
    EXPECT_EQ(std::filesystem::status(folder.file("Ekimei1.csv")).permissions(),
              std::filesystem::perms(0640));
    // No temporary file left behind; the folder's lock file stays.
    EXPECT_EQ(filesIn(folder.path()), 3u);
    EXPECT_TRUE(std::filesystem::exists(folder.file(".kippurun.lock")));
    const EkimeiFile file = EkimeiLoad(folder.path());
    EXPECT_EQ(file.layout[10].station, 20);
    EXPECT_EQ(file.layout[10].expressIndex, 3);
    EXPECT_EQ(file.grid[60], "999");
    EXPECT_EQ(StartStationsLoad(folder.path()).arrival, 67);
}

TEST(KeyLayoutFiles, FailedWriteLeavesTheOldFile) {
    TableFolder folder{TableFolder::Contents::Empty};
    const auto expectWriteFailed = [&](const std::filesystem::path& dir, const char* name) {
        try {
            writeFileAtomically(dir, name, std::string(1000, 'x'));
            ADD_FAILURE() << name;
        } catch (const DataFileError& error) {
            EXPECT_EQ(error.kind(), DataFileError::Kind::WriteFailed);
            EXPECT_EQ(error.path(), name);
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos);
        }
    };
    // A folder in the way of the file.
    std::filesystem::create_directories(folder.file("Start.csv") / "inside");
    expectWriteFailed(folder.path(), "Start.csv");
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("Start.csv") / "inside"));

    expectWriteFailed(folder.path() / "missing", "Start.csv");

    // The disk fills up in the middle of the new file (a file-size limit
    // stands in for a full disk; it also holds for root).
    folder.write("Ekimei1.csv", "old content");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectWriteFailed(folder.path(), "Ekimei1.csv");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(folder.read("Ekimei1.csv"), "old content");
    EXPECT_EQ(filesIn(folder.path()), 2u);  // the old file and the folder in the way
}

}  // namespace
}  // namespace kippurun
