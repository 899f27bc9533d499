#include "data/fare_tables.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "data/key_layout.h"
#include "data/table_file.h"
#include "data/table_files.h"
#include "table_text.h"

namespace kippurun {
namespace {

using testing::Layout;
using testing::positionText;
using testing::squareTable;
using testing::TableFolder;

struct TableFileSide {
    const char* name;
    Table FareTables::*table;
    int side;
};

const TableFileSide kTables[] = {
    {"Otona.csv", &FareTables::Otona, 107},       {"Kodomo.csv", &FareTables::Kodomo, 107},
    {"6Kai.csv", &FareTables::Kai6, 107},         {"6KaiK.csv", &FareTables::Kai6K, 107},
    {"Ekiro.csv", &FareTables::Ekiro, 107},       {"GHan.csv", &FareTables::GHan, 107},
    {"KHan.csv", &FareTables::KHan, 107},         {"MHan.csv", &FareTables::MHan, 107},
    {"Jiyu.csv", &FareTables::Jiyu, 26},          {"JiyuK.csv", &FareTables::JiyuK, 26},
    {"Kansan.csv", &FareTables::Kansan, 26},      {"KansanK.csv", &FareTables::KansanK, 26},
    {"Tujo.csv", &FareTables::Tujo, 26},          {"TujoK.csv", &FareTables::TujoK, 26},
    {"Hanbo.csv", &FareTables::Hanbo, 26},        {"HanboK.csv", &FareTables::HanboK, 26},
    {"Green.csv", &FareTables::Green, 26},        {"GreenK.csv", &FareTables::GreenK, 26},
    {"Jiyukai.csv", &FareTables::Jiyukai, 26},    {"JiyuKaiK.csv", &FareTables::JiyuKaiK, 26},
    {"JiKaiHan.csv", &FareTables::JiKaiHan, 107}, {"MKiro.csv", &FareTables::MKiro, 15},
};

// Every start-up file and Gakuwari.csv, each cell holding its own position.
void writeAllTables(const TableFolder& folder) {
    folder.write("Start.csv", "0,67\r\n");
    for (const TableFile& file : TableFiles)
        if (file.member != nullptr)
            folder.write(file.fileName(),
                         squareTable(static_cast<int>(file.perLine), positionText));
}

// The program's list of files against the reading order the stored sets
// fix: Start.csv, the tables above in their order (a file added to the list
// may stand between them), the start-up list before the two files read on
// demand; each member and name once.
TEST(TableFiles, TheListIsTheReadingOrderWithEachFileOnce) {
    EXPECT_EQ(TableFiles.front().fileName(), "Start.csv");
    const TableFile* before = &TableFiles.front();
    for (const TableFileSide& t : kTables) {
        SCOPED_TRACE(t.name);
        const TableFile& file = tableFileOf(t.table);
        EXPECT_LT(before, &file);
        before = &file;
        EXPECT_EQ(file.fileName(), t.name);
        EXPECT_EQ(file.perLine, static_cast<std::size_t>(t.side));
        EXPECT_TRUE(file.startUp);
    }
    EXPECT_LT(before, &tableFileOf(&FareTables::Gakuwari));
    EXPECT_FALSE(tableFileOf(&FareTables::Gakuwari).startUp);
    EXPECT_EQ(TableFiles.back().fileName(), "Ekimei1.csv");
    EXPECT_FALSE(TableFiles.back().startUp);

    bool readOnDemand = false;
    for (const TableFile& file : TableFiles) {
        SCOPED_TRACE(std::string(file.fileName()));
        EXPECT_EQ(file.literal, "\\Untin\\" + std::string(file.fileName()));
        EXPECT_EQ(relativeTablePath(file.literal), file.fileName());
        if (file.member != nullptr) {
            EXPECT_EQ(&tableFileOf(file.member), &file);  // each member once
            EXPECT_EQ(file.count, file.perLine * file.perLine);
        }
        if (file.adultTable != nullptr) {
            EXPECT_EQ(tableFileOf(file.adultTable).value, TableValue::Amount);
            EXPECT_EQ(tableFileOf(file.adultTable).perLine, file.perLine);
        }
        // The start-up list is read first, as a whole.
        EXPECT_FALSE(file.startUp && readOnDemand);
        if (!file.startUp) readOnDemand = true;
        for (const TableFile& other : TableFiles) {
            if (&other == &file) continue;
            EXPECT_NE(other.fileName(), file.fileName());
        }
    }
    EXPECT_THROW(tableFileOf(nullptr), std::logic_error);
}

DataFileError loadError(const std::filesystem::path& dir) {
    try {
        FareTableLoad(dir);
    } catch (const DataFileError& error) {
        return error;
    }
    ADD_FAILURE() << "FareTableLoad succeeded";
    return DataFileError(DataFileError::Kind::Unreadable, "", "");
}

TEST(FareTableLoad, EveryTableWithItsSideAndTheIndexConvention) {
    TableFolder folder{TableFolder::Contents::Empty};
    writeAllTables(folder);
    const FareTables tables = FareTableLoad(folder.path());
    EXPECT_EQ(tables.Start, (std::array<std::string, 2>{"0", "67"}));
    EXPECT_EQ(tables.start.departure, 0);
    EXPECT_EQ(tables.start.arrival, 67);
    for (const TableFile& file : TableFiles) {
        if (!file.startUp || file.member == nullptr) continue;
        SCOPED_TRACE(std::string(file.fileName()));
        const Table& table = tables.*file.member;
        const int side = static_cast<int>(file.perLine);
        ASSERT_EQ(table.side(), side);
        const int last = side - 1;
        EXPECT_EQ(table.at(last, 0), std::to_string(last * side));
        EXPECT_EQ(table.at(0, last), std::to_string(last));
        EXPECT_EQ(table.at(side, 0), "");
    }
    // Arrival first: value 67 * 107 + 0 is the fare from 岡山 to 松山.
    EXPECT_EQ(tables.Otona.at(67, 0), "7169");
    EXPECT_EQ(tables.Otona.at(0, 67), "67");
    EXPECT_EQ(tables.Gakuwari.side(), 0);
    EXPECT_EQ(tables.Gakuwari.at(67, 0), "");
    EXPECT_EQ(GakuwariLoad(folder.path()).at(67, 0), "7169");
}

TEST(TableReading, LayoutOfTheValuesDoesNotMatter) {
    for (Layout layout : {Layout::RowPerLine, Layout::OnePerLine, Layout::OneLine}) {
        TableFolder folder{TableFolder::Contents::Empty};
        folder.write("Otona.csv", squareTable(107, positionText, layout));
        const Table table = readSquareTable(folder.path(), "\\Untin\\Otona.csv", 107);
        for (int k = 0; k < 107 * 107; ++k) {
            ASSERT_EQ(table.at(k / 107, k % 107), std::to_string(k)) << static_cast<int>(layout);
        }
    }
}

// Where a table's values end, on both sides of 64 KiB of text: the values
// read back whole (the long value first, so that the ends past it are read
// as beginnings too). An index narrowed to 16 bits would lose them.
TEST(TableReading, TextsOnBothSidesOfSixtyFourKibibytes) {
    for (const std::size_t total : {65'534u, 65'535u, 65'536u, 65'537u, 200'000u}) {
        TableFolder folder{TableFolder::Contents::Empty};
        const std::string big(total - 3, 'x');
        folder.write("T.csv", big + ",a\nb,c\n");
        const Table table = readSquareTable(folder.path(), "\\Untin\\T.csv", 2);
        EXPECT_EQ(table.at(0, 0), big) << total;
        EXPECT_EQ(table.at(0, 1), "a") << total;
        EXPECT_EQ(table.at(1, 0), "b") << total;
        EXPECT_EQ(table.at(1, 1), "c") << total;
    }
}

TEST(TableReading, SmallFiles) {
    using Cells = std::array<std::string_view, 4>;
    const struct {
        const char* content;
        Cells cells;
    } cases[] = {
        {"\"1,5\",2\r\n3,4\r\n", {"1,5", "2", "3", "4"}},
        {" 1 ,\t2\t\n 3 , 4 ", {"1", "2", "3", "4"}},
        {",,\n,", {"", "", "", ""}},
        {"1,2,3,4,5,6\n7\n", {"1", "2", "3", "4"}},
        {"\xEF\xBB\xBF"
         "1,2\r\n3,4\r\n",
         {"1", "2", "3", "4"}},
        {"1\r2\r3\r4\r", {"1", "2", "3", "4"}},
        {"\"a\r\nb\",\"\",3,\"4\"x\n", {"a\r\nb", "", "3", "4"}},
    };
    for (const auto& c : cases) {
        TableFolder folder{TableFolder::Contents::Empty};
        folder.write("T.csv", c.content);
        const Table table = readSquareTable(folder.path(), "\\Untin\\T.csv", 2);
        EXPECT_EQ((Cells{table.at(0, 0), table.at(0, 1), table.at(1, 0), table.at(1, 1)}), c.cells)
            << c.content;
    }
}

TEST(FareTableLoad, ShortFilesReportWhatTheyHeld) {
    const std::size_t lastComma = squareTable(107, positionText).rfind(',');
    const struct {
        const char* name;
        std::string content;
        std::size_t found, needed;
        std::size_t line, field;  // where the first missing value would stand
    } cases[] = {
        {"Kodomo.csv", squareTable(107, positionText).substr(0, lastComma) + "\r\n", 11448, 11449,
         108, 1},
        {"Start.csv", "0\r\n", 1, 2, 2, 1},
        {"MKiro.csv", "", 0, 225, 1, 1},
        {"Jiyu.csv", "1,2,3\r\n4,", 5, 676, 2, 3},
    };
    for (const auto& c : cases) {
        TableFolder folder{TableFolder::Contents::Empty};
        writeAllTables(folder);
        folder.write(c.name, c.content);
        const DataFileError error = loadError(folder.path());
        EXPECT_EQ(error.kind(), DataFileError::Kind::PastEndOfFile) << c.name;
        EXPECT_EQ(error.path(), c.name);
        EXPECT_EQ(error.valuesFound, c.found);
        EXPECT_EQ(error.valuesNeeded, c.needed);
        EXPECT_EQ(error.position.line, c.line) << c.name;
        EXPECT_EQ(error.position.field, c.field) << c.name;
        const std::string message = error.what();
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
        EXPECT_NE(message.find(std::to_string(error.valuesFound) + " 個"), std::string::npos);
        EXPECT_NE(message.find(std::to_string(c.needed) + " 個"), std::string::npos);
    }
}

TEST(FareTableLoad, MissingAndUnreadableFilesInReadingOrder) {
    TableFolder folder{TableFolder::Contents::Empty};
    EXPECT_EQ(loadError(folder.path() / "nowhere").kind(), DataFileError::Kind::PathNotFound);
    EXPECT_EQ(loadError(folder.path() / "nowhere").path(), "Start.csv");
    writeAllTables(folder);
    EXPECT_EQ(loadError(folder.file("Otona.csv")).kind(), DataFileError::Kind::PathNotFound);
    // A file named as the folder is said to be a file, not a missing table.
    EXPECT_NE(std::string(loadError(folder.file("Otona.csv")).what()).find("ファイルです"),
              std::string::npos);

    std::filesystem::remove(folder.file("MKiro.csv"));
    EXPECT_EQ(loadError(folder.path()).path(), "MKiro.csv");
    std::filesystem::remove(folder.file("Otona.csv"));
    const DataFileError missing = loadError(folder.path());
    EXPECT_EQ(missing.kind(), DataFileError::Kind::FileNotFound);
    EXPECT_EQ(missing.path(), "Otona.csv");
    EXPECT_NE(std::string(missing.what()).find("「Otona.csv」が見つかりません"), std::string::npos);

    folder.write("Otona.csv", squareTable(107, positionText));
    std::filesystem::remove(folder.file("Ekiro.csv"));
    std::filesystem::create_directory(folder.file("Ekiro.csv"));
    EXPECT_EQ(loadError(folder.path()).kind(), DataFileError::Kind::Unreadable);
    EXPECT_EQ(loadError(folder.path()).path(), "Ekiro.csv");

    std::filesystem::remove(folder.file("Gakuwari.csv"));
    try {
        GakuwariLoad(folder.path());
        ADD_FAILURE();
    } catch (const DataFileError& error) {
        EXPECT_EQ(error.kind(), DataFileError::Kind::FileNotFound);
        EXPECT_EQ(error.path(), "Gakuwari.csv");
    }
}

TEST(FareTableLoad, StartValuesAreStationNumbers) {
    using Kind = DataFileError::Kind;
    const struct {
        const char* content;
        std::optional<Kind> failure;
        // The stations read, or for a failure the value number and field.
        int departure, arrival;
        std::size_t line = 0;  // of the failure
    } cases[] = {
        {"0,67\r\n", {}, 0, 67},
        {"66.5,67.5", {}, 66, 68},
        {" 1 , 2 ", {}, 1, 2},
        {"\"3\"\r\n4", {}, 3, 4},
        {"-0.4,106.5", {}, 0, 106},
        {"abc,1", Kind::NotANumber, 0, 1, 1},
        {"1,\n", Kind::NotANumber, 1, 2, 1},
        {"1e999,0", Kind::NotANumber, 0, 1, 1},
        {"1\n107", Kind::OutOfRange, 1, 1, 2},
        {"-1,0", Kind::OutOfRange, 0, 1, 1},
        {"0,999", Kind::OutOfRange, 1, 2, 1},
        {"0,106.6", Kind::OutOfRange, 1, 2, 1},
    };
    for (const auto& c : cases) {
        TableFolder folder{TableFolder::Contents::Empty};
        folder.write("Start.csv", c.content);
        if (!c.failure) {
            const StartStations start = StartStationsLoad(folder.path());
            EXPECT_EQ(start.departure, c.departure) << c.content;
            EXPECT_EQ(start.arrival, c.arrival) << c.content;
            continue;
        }
        try {
            StartStationsLoad(folder.path());
            ADD_FAILURE() << c.content;
        } catch (const DataFileError& error) {
            EXPECT_EQ(error.kind(), *c.failure) << c.content;
            EXPECT_EQ(error.path(), "Start.csv");
            EXPECT_EQ(error.position.valueNumber, static_cast<std::size_t>(c.departure));
            EXPECT_EQ(error.position.field, static_cast<std::size_t>(c.arrival));
            EXPECT_EQ(error.position.line, c.line);
            const std::string expected =
                std::to_string(c.line) + " 行目の " + std::to_string(c.arrival) + " 番目";
            EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
        }
    }
    // The same check guards the whole start-up load, before any other file.
    TableFolder folder{TableFolder::Contents::Empty};
    folder.write("Start.csv", "200,0");
    EXPECT_EQ(loadError(folder.path()).kind(), Kind::OutOfRange);
}

TEST(FareTableLoad, HostileFiles) {
    TableFolder folder{TableFolder::Contents::Empty};
    writeAllTables(folder);
    folder.write("Otona.csv", std::string(1'000'000, ','));
    const FareTables commas = FareTableLoad(folder.path());
    EXPECT_EQ(commas.Otona.at(106, 106), "");

    folder.write("Otona.csv", std::string(1 << 20, '7') + "," + squareTable(107, positionText));
    EXPECT_EQ(FareTableLoad(folder.path()).Otona.at(0, 0).size(), std::size_t{1} << 20);

    std::mt19937 random(7);
    std::string garbage(200'000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    folder.write("Otona.csv", garbage);
    const DataFileError binary = loadError(folder.path());
    EXPECT_TRUE(binary.kind() == DataFileError::Kind::Unreadable ||
                binary.kind() == DataFileError::Kind::PastEndOfFile);

    // Shift_JIS "運賃" in value 5 of the first line.
    folder.write("Otona.csv", "0,1,2,3,4,\x89\x5E\x92\xC0," + squareTable(107, positionText));
    const DataFileError encoding = loadError(folder.path());
    EXPECT_EQ(encoding.kind(), DataFileError::Kind::Unreadable);
    EXPECT_EQ(encoding.position.valueNumber, 5u);
    EXPECT_EQ(encoding.position.field, 6u);
    EXPECT_NE(std::string(encoding.what()).find("UTF-8"), std::string::npos);

    // The same as the file's last value, with and without a line break
    // after it: refused wherever it stands.
    std::string table = squareTable(107, positionText);
    while (!table.empty() && (table.back() == '\n' || table.back() == '\r')) table.pop_back();
    table.erase(table.rfind(',') + 1);
    for (const char* after : {"", "\r\n"}) {
        SCOPED_TRACE(*after ? "line break after" : "at the very end");
        folder.write("Otona.csv", table + "\xED\xED\xED" + after);
        const DataFileError last = loadError(folder.path());
        EXPECT_EQ(last.kind(), DataFileError::Kind::Unreadable);
        EXPECT_EQ(last.position.valueNumber, 107u * 107u - 1u);
    }

    // Bytes that are no UTF-8 but lie in no value read: after a closing
    // quote, and past the last value taken. The file is checked whole first;
    // only a value that is read may stop the load.
    folder.write("Otona.csv", "\"0\"\x89\x5E," + squareTable(107, positionText) + ",\x92\xC0");
    const FareTables dropped = FareTableLoad(folder.path());
    EXPECT_EQ(dropped.Otona.at(0, 0), "0");
    EXPECT_EQ(dropped.Otona.at(0, 1), "0");  // the first value of the table written after it
    EXPECT_EQ(dropped.Otona.at(106, 106), std::to_string(106 * 107 + 105));

    folder.write("Otona.csv", "");
    std::filesystem::resize_file(folder.file("Otona.csv"), MaxTableFileBytes + 1);
    const DataFileError huge = loadError(folder.path());
    EXPECT_EQ(huge.kind(), DataFileError::Kind::Unreadable);
    EXPECT_NE(std::string(huge.what()).find("大きすぎ"), std::string::npos);
}

TEST(FareTableLoad, FifoInATablesPlaceIsRefusedWithoutWaiting) {
    TableFolder folder{TableFolder::Contents::Empty};
    writeAllTables(folder);
    std::filesystem::remove(folder.file("Kodomo.csv"));
    ASSERT_EQ(::mkfifo(folder.file("Kodomo.csv").c_str(), 0600), 0);
    const DataFileError error = loadError(folder.path());  // would hang if opened blocking
    EXPECT_EQ(error.kind(), DataFileError::Kind::Unreadable);
    EXPECT_EQ(error.path(), "Kodomo.csv");
    EXPECT_NE(std::string(error.what()).find("通常のファイルではありません"), std::string::npos);
}

TEST(FareTableLoad, ASymbolicLinkLoopIsReportedAsOne) {
    TableFolder folder{TableFolder::Contents::Empty};
    writeAllTables(folder);
    std::filesystem::remove(folder.file("Kodomo.csv"));
    std::filesystem::create_symlink("Kodomo.csv", folder.file("Kodomo.csv"));
    const DataFileError error = loadError(folder.path());
    EXPECT_EQ(error.path(), "Kodomo.csv");
    EXPECT_NE(std::string(error.what()).find("シンボリックリンクが循環しています"),
              std::string::npos)
        << error.what();
}

TEST(FareTableLoad, ControlCharactersInAValueAreShownEscaped) {
    TableFolder folder{TableFolder::Contents::Empty};
    writeAllTables(folder);
    folder.write("Start.csv", std::string("0,6\0"
                                          "7x\r\n",
                                          8));
    const DataFileError error = loadError(folder.path());
    const std::string message = error.what();
    EXPECT_NE(message.find("6\\x007x"), std::string::npos) << message;
    EXPECT_EQ(message.find('\0'), std::string::npos);
    // The message goes on past the NUL to say what is wrong.
    EXPECT_GT(message.size(), message.find("\\x00") + 10);
}

TEST(Table, RefusesInconsistentValues) {
    using Spans = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    EXPECT_EQ(Table(1, "ab", Spans{{1, 1}}).at(0, 0), "b");
    EXPECT_EQ(Table(1, "ab", Spans{{1, 1}}).at(0, 1), "");
    EXPECT_EQ(Table(1, "ab", Spans{{1, 1}}).at(-1, 0), "");
    EXPECT_THROW(Table(2, "ab", Spans{{0, 1}}), std::invalid_argument);
    EXPECT_THROW(Table(1, "ab", Spans{{2, 1}}), std::invalid_argument);
    EXPECT_THROW(Table(1, "ab", Spans{{0xFFFFFFFF, 2}}), std::invalid_argument);
}

TEST(TablePath, LiteralsNameFilesInTheTableFolder) {
    const std::filesystem::path dir = "/opt/kippurun/Untin";
    const struct {
        const char* literal;
        const char* path;
    } cases[] = {
        {"\\Untin\\Otona.csv", "/opt/kippurun/Untin/Otona.csv"},
        {"\\Untin\\6KaiK.csv", "/opt/kippurun/Untin/6KaiK.csv"},
        {"\\Untin\\JiyuKaiK.csv", "/opt/kippurun/Untin/JiyuKaiK.csv"},
        {"\\Untin\\sub\\x.csv", "/opt/kippurun/Untin/sub/x.csv"},
        {"Start.csv", "/opt/kippurun/Untin/Start.csv"},
    };
    for (const auto& c : cases) EXPECT_EQ(tablePath(dir, c.literal), c.path) << c.literal;
}

}  // namespace
}  // namespace kippurun
