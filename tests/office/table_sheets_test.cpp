#include "office/table_sheets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "data/table_files.h"
#include "office/office_commands.h"
#include "office/table_install.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

namespace fs = std::filesystem;
using testing::TableFolder;

const TableFile& fileOf(TableMember member) { return tableFileOf(member); }

struct CommandRun {
    int status = 0;
    std::string out, err;
};

CommandRun exportTo(const fs::path& untin, const fs::path& dir) {
    std::ostringstream out, err;
    CommandRun run;
    run.status = runExportTables(untin, dir, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

CommandRun importFrom(const fs::path& dir, const fs::path& into, const fs::path& untin) {
    std::ostringstream out, err;
    CommandRun run;
    run.status = runImportTables(dir, into, untin, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The records of a sheet, changed, written back as a spreadsheet would.
std::string rewrite(const std::string& sheet,
                    const std::function<void(std::vector<std::vector<std::string>>&)>& change,
                    bool quoteAll = false) {
    auto records = readCsvRecords(sheet);
    change(records);
    std::string out = "\xEF\xBB\xBF";
    for (const auto& record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0) out += ',';
            out += !quoteAll && record[i].find_first_of(",\"") == std::string::npos
                       ? record[i]
                       : "\"" + std::regex_replace(record[i], std::regex("\""), "\"\"") + "\"";
        }
        out += "\r\n";
    }
    return out;
}

TEST(TableSheets, CsvRecordsAsSpreadsheetsWriteThem) {
    using Records = std::vector<std::vector<std::string>>;
    const struct {
        std::string bytes;
        Records records;
    } cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"\xEF\xBB\xBF"
         "a,b\nc,d",
         {{"a", "b"}, {"c", "d"}}},
        {"\"4,230\",\"say \"\"hi\"\"\"\r\n", {{"4,230", "say \"hi\""}}},
        {"a,,\r\n\r\n", {{"a", "", ""}, {""}}},
        {"\"two\nlines\",x\n", {{"two\nlines", "x"}}},
        {"a,", {{"a", ""}}},
    };
    for (const auto& c : cases) EXPECT_EQ(readCsvRecords(c.bytes), c.records) << c.bytes;
}

TEST(TableSheets, ASheetHasTheStationsInCatalogueOrderAndTheValuesAsStored) {
    const TableFolder untin;
    FareTables tables = FareTableLoad(untin.path());
    const std::string sheet = tableSheet(fileOf(&FareTables::Otona), tables.Otona);
    ASSERT_EQ(sheet.substr(0, 3), "\xEF\xBB\xBF");
    const auto records = readCsvRecords(sheet);
    ASSERT_EQ(records.size(), 108u);
    EXPECT_EQ(records[0][0].substr(0, 10), "Otona.csv ");
    EXPECT_EQ(records[0][68], "67 松　　山");
    EXPECT_EQ(records[68][0], "67 松　　山");
    // Row 松山 (arrival 67), column 岡山 (departure 0): Otona[67, 0].
    EXPECT_EQ(records[68][1], TableFolder::cell("Otona.csv", 67, 0));
    EXPECT_EQ(records[1][68], TableFolder::cell("Otona.csv", 0, 67));
    // The charge tables are indexed by their stops, named by station.
    const auto jiyu = readCsvRecords(tableSheet(fileOf(&FareTables::Jiyu), tables.Jiyu));
    ASSERT_EQ(jiyu.size(), 27u);
    EXPECT_EQ(jiyu[0][2], "11 児　　島");
    EXPECT_NE(sheet.find("\r\n"), std::string::npos);
}

// Every way a spreadsheet may save an unchanged sheet reads back to the
// table file's own bytes.
TEST(TableSheets, SheetsAsSpreadsheetsSaveThemReadBackToTheSameBytes) {
    TableFolder untin;
    untin.set("Otona.csv", 67, 0, "4230");
    untin.set("Otona.csv", 3, 5, "123456");
    untin.write();
    FareTables tables = FareTableLoad(untin.path());
    const TableFile& otona = fileOf(&FareTables::Otona);
    const std::string sheet = tableSheet(otona, tables.Otona);
    const auto lf = [](std::string s) { return std::regex_replace(s, std::regex("\r\n"), "\n"); };
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"as exported", sheet},
        {"no byte-order mark", sheet.substr(3)},
        {"LF", lf(sheet)},
        {"trailing blank lines", sheet + "\r\n,,,\r\n"},
        {"trailing empty fields", std::regex_replace(sheet, std::regex("\r\n"), ",,\r\n")},
        {"every field quoted", rewrite(
                                   sheet, [](auto&) {}, true)},
        {"thousands separators (Excel)", rewrite(sheet,
                                                 [](auto& records) {
                                                     records[68][1] = "4,230";
                                                     records[4][6] = "123,456";
                                                 })},
    };
    const std::string expected = untin.read("Otona.csv");
    for (const auto& c : cases) {
        const SheetReading reading = readTableSheet(otona, c.bytes);
        EXPECT_EQ(reading.refusal, "") << c.what;
        EXPECT_EQ(reading.bytes, expected) << c.what;
    }
}

// A sheet whose stations moved is refused, naming the place and what it
// holds: its numbers would all be valid and belong to other journeys.
TEST(TableSheets, MovedStationsShortRowsAndNonAmountsAreRefusedWithThePlace) {
    const TableFolder untin;
    FareTables tables = FareTableLoad(untin.path());
    const TableFile& otona = fileOf(&FareTables::Otona);
    const std::string sheet = tableSheet(otona, tables.Otona);
    using Records = std::vector<std::vector<std::string>>;
    const struct {
        const char* what;
        std::function<void(Records&)> change;
        std::string says;
    } cases[] = {
        {"row moved down", [](Records& r) { std::swap(r[13], r[14]); },
         "1 列目の 14 行 1 列（A14）は着駅「12 (讃)高松」のはずですが、「13 香　　西」です"},
        {"row deleted", [](Records& r) { r.erase(r.begin() + 50); },
         "1 列目の 51 行 1 列（A51）は着駅「49 伊予三芳」のはずですが、「50 伊予桜井」"},
        {"row inserted", [](Records& r) { r.insert(r.begin() + 2, Records::value_type(108, "1")); },
         "1 列目の 3 行 1 列（A3）は着駅「1 大　　元」のはずですが、「1」です"},
        {"columns sorted (two swapped)",
         [](Records& r) {
             for (auto& row : r) std::swap(row[27], row[28]);
         },
         "1 行目の 1 行 28 列（AB1）は発駅「26 詫　　間」のはずですが、「27 み　　の」"},
        {"column deleted",
         [](Records& r) {
             for (auto& row : r) row.erase(row.begin() + 107);
         },
         "1 行目の 1 行 108 列（DD1）は発駅「106 宇和島」のはずですが、（空）"},
        {"another table's sheet", [](Records& r) { r[0][0] = "Kodomo.csv 小児 片道運賃"; },
         "1 行 1 列（A1）は「Otona.csv」で始まるはずですが、「Kodomo.csv"},
        {"a row too many", [](Records& r) { r.push_back({"x"}); }, "109 行目にも値があります"},
        {"a short row", [](Records& r) { r[40].pop_back(); }, "41 行目の値が 107 列しかありません"},
        {"a value beyond the table", [](Records& r) { r[40].push_back("5"); },
         "41 行 109 列（DE41）にも値「5」があります"},
        {"no amount", [](Records& r) { r[68][1] = "4230円"; },
         "69 行 2 列（B69）（着 67「松　　山」・発 "
         "0「岡　　山」）の「4230円」に数字でない文字「円」"},
        {"a negative amount", [](Records& r) { r[2][3] = "-100"; },
         "3 行 4 列（D3）（着 1「大　　元」・発 2「備前西市」）の「-100」は負の金額です"},
    };
    for (const auto& c : cases) {
        const SheetReading reading = readTableSheet(otona, rewrite(sheet, c.change));
        EXPECT_EQ(reading.bytes, "") << c.what;
        EXPECT_EQ(reading.refusal.rfind("Otona.csv: ", 0), 0u) << c.what << ": " << reading.refusal;
        EXPECT_NE(reading.refusal.find(c.says), std::string::npos)
            << c.what << ": " << reading.refusal;
    }
    // Empty cells are left to the check; a code table keeps its texts.
    EXPECT_EQ(readTableSheet(otona, rewrite(sheet, [](Records& r) { r[5][5] = ""; })).refusal, "");
}

TEST(TableSheets, ImportWritesANewSetCopiesWhatHasNoSheetAndChecksIt) {
    TableFolder untin;
    const TableFolder holder(TableFolder::Contents::Empty);
    const fs::path sheets = holder.path() / "sheets", into = holder.path() / "new";
    ASSERT_EQ(exportTo(untin.path(), sheets).status, 0);
    // A sheet edited and one table left out: the new set has the edit and
    // the table as the folder holds it.
    const std::string sheet = testing::bytesOf(sheets / "Otona.csv");
    std::ofstream(sheets / "Otona.csv", std::ios::binary)
        << rewrite(sheet, [](auto& r) { r[68][1] = "9,990"; });
    fs::remove(sheets / "Kodomo.csv");
    untin.set("Kodomo.csv", 1, 2, "77");
    untin.write();
    const CommandRun run = importFrom(sheets, into, untin.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("写したもの: Kodomo.csv"), std::string::npos) << run.out;
    EXPECT_NE(
        run.out.find("まとめ: " + std::to_string(TableFiles.size()) + " ファイル、エラー 0 件"),
        std::string::npos)
        << run.out;
    TableFolder expected;
    expected.set("Otona.csv", 67, 0, "9990");
    expected.set("Kodomo.csv", 1, 2, "77");
    expected.write();
    for (const std::string& name : checkedFiles()) {
        EXPECT_EQ(testing::bytesOf(into / name), expected.read(name)) << name;
    }

    // NEW is never written over.
    const CommandRun again = importFrom(sheets, into, untin.path());
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("空ではありません"), std::string::npos) << again.err;
    // An export is never written over either.
    EXPECT_EQ(exportTo(untin.path(), sheets).status, 1);
}

TEST(TableSheets, ARefusedSheetLeavesNothingWritten) {
    const TableFolder untin;
    const TableFolder holder(TableFolder::Contents::Empty);
    const fs::path sheets = holder.path() / "sheets", into = holder.path() / "new";
    ASSERT_EQ(exportTo(untin.path(), sheets).status, 0);
    const std::string sheet = testing::bytesOf(sheets / "Jiyu.csv");
    std::ofstream(sheets / "Jiyu.csv", std::ios::binary)
        << rewrite(sheet, [](auto& r) { std::swap(r[3], r[4]); });
    const CommandRun run = importFrom(sheets, into, untin.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Jiyu.csv: 1 列目の 4 行 1 列（A4）は着駅「12 (讃)高松」のはずですが、"
                           "「20 坂　　出」です"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(into));
    // A folder with no sheet at all is no import of a copy.
    const fs::path empty = holder.path() / "empty";
    fs::create_directory(empty);
    EXPECT_EQ(importFrom(empty, into, untin.path()).status, 1);
    EXPECT_FALSE(fs::exists(into));
}

}  // namespace
}  // namespace kippurun
