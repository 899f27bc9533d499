#include "office/price_list.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "data/station_catalogue.h"
#include "office/office_commands.h"
#include "office/table_check.h"
#include "tests/support/split.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

namespace fs = std::filesystem;
using testing::split;
using testing::TableFolder;

const fs::path kSampleTables = fs::path(KIPPURUN_SOURCE_DIR) / "Untin";
const Date kToday{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)};

FareTables sampleTables() {
    FareTables tables = FareTableLoad(kSampleTables);
    tables.Gakuwari = GakuwariLoad(kSampleTables);
    return tables;
}

// The list as header name -> field, one map per journey.
struct ParsedList {
    std::vector<std::string> header;
    std::map<std::pair<int, int>, std::map<std::string, std::string>> rows;
};

// The fields of one list row; a field holding a comma ("4,230" as a table
// stores it) comes quoted.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

ParsedList parse(const std::string& csv) {
    ParsedList list;
    std::vector<std::string> lines = split(csv.substr(3), "\r\n");
    EXPECT_EQ(lines.back(), "");  // the last line ends with CRLF too
    lines.pop_back();
    list.header = split(lines.front(), ",");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = fieldsOf(lines[i]);
        EXPECT_EQ(fields.size(), list.header.size()) << lines[i];
        auto& row = list.rows[{std::stoi(fields.at(0)), std::stoi(fields.at(2))}];
        for (std::size_t f = 0; f < fields.size() && f < list.header.size(); ++f) {
            row[list.header[f]] = fields[f];
        }
    }
    return list;
}

TEST(PriceList, OneRowPerJourneyInStationOrderWithBomAndCrlf) {
    const PriceList list = makePriceList(sampleTables(), SeasonRegular);
    EXPECT_TRUE(list.failures.empty());
    ASSERT_EQ(list.csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(list.csv.find('\n'), list.csv.find("\r\n") + 1);
    const ParsedList parsed = parse(list.csv);
    EXPECT_EQ(parsed.rows.size(), 107u * 107u);
    const std::vector<std::string> lines = split(list.csv, "\r\n");
    EXPECT_EQ(lines.at(1).rfind("0,岡　　山,0,岡　　山,", 0), 0u);
    EXPECT_EQ(lines.at(2).rfind("0,岡　　山,1,大　　元,", 0), 0u);
    EXPECT_EQ(lines.at(108).rfind("1,大　　元,0,岡　　山,", 0), 0u);
    EXPECT_EQ(lines.at(107 * 107).rfind("106,宇和島,106,宇和島,", 0), 0u);
    EXPECT_NE(std::find(parsed.header.begin(), parsed.header.end(), "指定席(通常期) 大人"),
              parsed.header.end());
}

// Each direction is its own entry of every table, looked up arrival first.
TEST(PriceList, EachDirectionFromItsOwnCell) {
    TableFolder folder{TableFolder::Contents::Empty};
    for (const auto& entry : fs::directory_iterator(kSampleTables)) {
        fs::copy_file(entry.path(), folder.path() / entry.path().filename());
    }
    // Otona.csv value 7169 is 岡山 -> 松山, value 67 is 松山 -> 岡山.
    std::string otona = folder.read("Otona.csv");
    std::vector<std::string> lines = split(otona, "\r\n");
    const auto setCell = [&](std::size_t line, std::size_t field, const std::string& text) {
        std::vector<std::string> fields = split(lines[line], ",");
        fields[field] = text;
        std::string joined;
        for (std::size_t f = 0; f < fields.size(); ++f) joined += (f ? "," : "") + fields[f];
        lines[line] = joined;
    };
    setCell(67, 0, "1111");
    setCell(0, 67, "2222");
    std::string bytes;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) bytes += lines[i] + "\r\n";
    folder.write("Otona.csv", bytes);
    FareTables tables = FareTableLoad(folder.path());
    tables.Gakuwari = GakuwariLoad(folder.path());
    const ParsedList parsed = parse(makePriceList(tables, SeasonRegular).csv);
    EXPECT_EQ(parsed.rows.at({0, 67}).at("片道乗車券 大人"), "1111");
    EXPECT_EQ(parsed.rows.at({0, 67}).at("往復乗車券 大人"), "2222");
    EXPECT_EQ(parsed.rows.at({67, 0}).at("片道乗車券 大人"), "2222");
    EXPECT_EQ(parsed.rows.at({67, 0}).at("週末回数券 大人"), "22220");
}

TEST(PriceList, AValueThatIsNoNumberLeavesItsCellsEmptyAndIsReported) {
    TableFolder folder{TableFolder::Contents::Empty};
    for (const auto& entry : fs::directory_iterator(kSampleTables)) {
        fs::copy_file(entry.path(), folder.path() / entry.path().filename());
    }
    std::string kodomo = folder.read("Kodomo.csv");
    kodomo.replace(0, kodomo.find(','), "x");  // 岡山 -> 岡山
    folder.write("Kodomo.csv", kodomo);
    std::ostringstream out, err;
    EXPECT_EQ(runPriceList(folder.path(), kToday, out, err), 1);
    const ParsedList parsed = parse(out.str());
    const auto& row = parsed.rows.at({0, 0});
    EXPECT_EQ(row.at("片道乗車券 小児"), "金額なし");  // no amount: never sold
    EXPECT_EQ(row.at("往復乗車券 小児"), "金額なし");  // not the 0 it reads as
    EXPECT_EQ(row.at("普通回数券(11枚) 大人"), "0");   // the diagonal's own 0
    EXPECT_EQ(row.at("週末回数券 小児"), "金額なし");
    EXPECT_EQ(parsed.rows.at({0, 1}).at("週末回数券 小児"), "800");
    EXPECT_NE(err.str().find("Kodomo.csv"), std::string::npos) << err.str();
    // one line for each ticket type priced from the cell, then the line end
    EXPECT_EQ(split(err.str(), "\n").size(), 4u + 1) << err.str();
}

TEST(PriceList, AChargeBeyondSixtyFourBitsIsOneMessageNamingTheCell) {
    TableFolder folder{TableFolder::Contents::Empty};
    for (const auto& entry : fs::directory_iterator(kSampleTables)) {
        fs::copy_file(entry.path(), folder.path() / entry.path().filename());
    }
    // Line 2, field 1: arrival stop 1, departure stop 0.
    std::string jiyu = folder.read("Jiyu.csv");
    const std::size_t second = jiyu.find('\n') + 1;
    jiyu.replace(second, jiyu.find(',', second) - second, "99999999999999999999999");
    folder.write("Jiyu.csv", jiyu);
    std::ostringstream out, err;
    EXPECT_EQ(runPriceList(folder.path(), kToday, out, err), 1);
    const std::vector<std::string> lines = split(err.str(), "\n");
    ASSERT_EQ(lines.size(), 2u) << err.str();
    EXPECT_NE(lines[0].find("Jiyu.csv"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("(着 1, 発 0)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("大きすぎます"), std::string::npos) << lines[0];
    EXPECT_EQ(parse(out.str()).rows.at({0, 11}).at("自由席特急券 大人"), "金額なし");
}

// A cell without an amount is never listed as a price, neither as stored
// nor as the 0 it reads as; "2110円" is no amount either.
TEST(PriceList, ACellWithoutAnAmountIsMarkedInItsRow) {
    TableFolder folder{TableFolder::Contents::Empty};
    for (const auto& entry : fs::directory_iterator(kSampleTables)) {
        fs::copy_file(entry.path(), folder.path() / entry.path().filename());
    }
    // Line a, field d of a file holding one arrival per line.
    const auto setCell = [&](const char* file, std::size_t a, std::size_t d, const char* text) {
        std::vector<std::string> lines = split(folder.read(file), "\r\n");
        std::vector<std::string> fields = split(lines[a], ",");
        fields[d] = text;
        std::string joined;
        for (std::size_t f = 0; f < fields.size(); ++f) joined += (f ? "," : "") + fields[f];
        lines[a] = joined;
        std::string bytes;
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) bytes += lines[i] + "\r\n";
        folder.write(file, bytes);
    };
    setCell("Otona.csv", 67, 0, "");         // 岡山 -> 松山
    setCell("Kodomo.csv", 67, 0, "2110円");  // a unit: no amount
    setCell("Jiyu.csv", 17, 0, "abc");       // express 岡山 -> 松山
    std::ostringstream out, err;
    // Each ticket type priced from a fare cell reports it, the charge cell once.
    EXPECT_EQ(runPriceList(folder.path(), kToday, out, err), 1);
    EXPECT_EQ(split(err.str(), "\n").size(), 4u + 4 + 1 + 1) << err.str();
    const ParsedList parsed = parse(out.str());
    const auto& row = parsed.rows.at({0, 67});
    EXPECT_EQ(row.at("普通回数券(11枚) 大人"), "金額なし");
    EXPECT_EQ(row.at("片道乗車券 大人"), "金額なし");
    EXPECT_EQ(row.at("往復乗車券 大人"), "金額なし");
    EXPECT_EQ(row.at("片道乗車券 小児"), "金額なし");
    EXPECT_EQ(row.at("往復乗車券 小児"), "金額なし");
    EXPECT_EQ(row.at("自由席特急券 大人"), "金額なし");
    EXPECT_NE(row.at("自由席特急券 小児"), "金額なし");
    EXPECT_EQ(parsed.rows.at({67, 0}).at("片道乗車券 大人"), "4230");  // the other direction
}

TEST(PriceList, TablesThatCannotBeReadGiveTheProgramsFailureAndNoList) {
    TableFolder folder{TableFolder::Contents::Empty};
    std::ostringstream out, err;
    EXPECT_EQ(runPriceList(folder.path(), kToday, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Start.csv"), std::string::npos);
}

// ---- Spot check against the bills of the program's script driver ----

struct Bill {
    std::string heading;                      // "[片道乗車券]" of the passenger ticket
    std::map<std::string, std::string> unit;  // line number "01" -> unit price
};

// The driver's output of `script` run on the tables of `untin`.
std::string scriptOutput(const std::string& script, const fs::path& untin = kSampleTables) {
    TableFolder folder{TableFolder::Contents::Empty};
    folder.write("run.script", script);
    const std::string command = std::string("\"") + KIPPURUN_BINARY_DIR +
                                "/kippurun\" --today 2026-12-09 --untin \"" + untin.string() +
                                "\" --script \"" + folder.file("run.script").string() + "\"";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    if (pipe) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        EXPECT_EQ(::pclose(pipe), 0) << output;
    }
    return output;
}

std::vector<Bill> runScript(const std::string& script) {
    const std::string output = scriptOutput(script);
    std::vector<Bill> bills(1);
    const std::regex line("^(\\d\\d) \\S+ unit=\"([^\"]*)\".*");
    std::istringstream in(output);
    for (std::string text; std::getline(in, text);) {
        std::smatch match;
        if (text.rfind("total=", 0) == 0) {
            bills.emplace_back();
        } else if (text.rfind("[", 0) == 0 && bills.back().heading.empty()) {
            bills.back().heading = text;
        } else if (std::regex_match(text, match, line)) {
            bills.back().unit[match[1]] = match[2];
        }
    }
    bills.pop_back();
    return bills;
}

// A price the list leaves empty is not sold: the bill has no such line. A
// price of 0 may or may not show, as the bill decides by its counts.
void expectLine(const Bill& bill, const std::string& number, const std::string& listed) {
    const auto shown = bill.unit.find(number);
    if (listed.empty()) {
        EXPECT_EQ(shown, bill.unit.end()) << number;
    } else if (shown != bill.unit.end() || listed != "0") {
        ASSERT_NE(shown, bill.unit.end()) << number << " listed " << listed;
        EXPECT_EQ(shown->second, listed) << number;
    }
}

TEST(PriceList, RowsMatchTheBillsOfTheScriptDriver) {
    const ParsedList parsed = parse(makePriceList(sampleTables(), seasonOf(kToday)).csv);
    const std::string season = std::string(seasonOf(kToday));
    struct Type {
        int k;
        const char* name;
        const char* key;  // the key column that lets the type be chosen
    };
    const Type types[] = {{0, "片道乗車券", nullptr},
                          {1, "往復乗車券", nullptr},
                          {3, "普通回数券(11枚)", "回数券キー"},
                          {4, "６回回数券", "６枚回数キー"},
                          {6, "週末回数券", "６枚回数キー"}};
    const char* charges[] = {"自由席特急券", nullptr, "グリーン特急券"};
    // None of these asks about a change of trains at 松山.
    const std::pair<int, int> journeys[] = {{67, 106}, {106, 0}, {11, 52}, {20, 43},  {24, 67},
                                            {0, 12},   {12, 16}, {52, 52}, {86, 106}, {0, 1}};
    for (const auto& [d, a] : journeys) {
        SCOPED_TRACE(std::to_string(d) + " -> " + std::to_string(a));
        const auto& row = parsed.rows.at({d, a});
        const bool student = row.at("学生キー") == "1";
        std::string script = "select cboHatsu " + std::to_string(d) + "\nselect cboChaku " +
                             std::to_string(a) + "\ntype txtNinzu \"1\"\ntype txtNinzuK \"1\"\n";
        // The keys are on page 0, which the bill page covers after each run.
        for (const Type& type : types) {
            script += "tab 0\nselect cboKenshu " + std::to_string(type.k) + "\n";
            if (student && type.k <= 1) script += "click cmdGaku\ntype txtNinzuG \"1\"\n";
            script += "click cmdJikkou\nbill\n";
        }
        script += "tab 0\nselect cboKenshu 0\n";
        // A clerk reaches an express ticket through its key, open only where
        // the journey allows one.
        const bool express = row.at("特急キー") == "1";
        for (const char* key : {"cmdJitoku", "cmdShiToku", "cmdGToku"}) {
            script += "tab 0\n";
            if (express) script += std::string("click ") + key + "\n";
            script += "click cmdJikkou\nbill\n";
        }
        const std::vector<Bill> bills = runScript(script);
        ASSERT_EQ(bills.size(), std::size(types) + 3);

        for (std::size_t t = 0; t < std::size(types); ++t) {
            const Type& type = types[t];
            // A type whose key is closed falls back to the one-way ticket.
            const bool sold = !type.key || row.at(type.key) == "1";
            const std::string name = sold ? type.name : "片道乗車券";
            SCOPED_TRACE(type.name);
            EXPECT_EQ(bills[t].heading, "[" + name + "]");
            expectLine(bills[t], "01", row.at(name + " 大人"));
            expectLine(bills[t], "02", row.at(name + " 小児"));
            if (!student) {
                EXPECT_EQ(bills[t].unit.count("03"), 0u);
            } else if (type.k <= 1) {
                expectLine(bills[t], "03", row.at(name + " 学割"));
            }
        }
        for (int j = 0; j < 3; ++j) {
            const std::string charge = charges[j] ? charges[j] : "指定席(" + season + ")";
            SCOPED_TRACE(charge);
            const Bill& bill = bills[std::size(types) + static_cast<std::size_t>(j)];
            // Without an express ticket the choice falls back to なし: no charge lines.
            expectLine(bill, "21", row.at(charge + " 大人"));
            expectLine(bill, "22", row.at(charge + " 小児"));
        }
    }
}

// ---- One reading of an amount cell in the check, the run and the list ----

struct AmountCase {
    const char* text;                 // put into Otona.csv, quoted where it holds a comma
    int arrival;                      // the cell; the journey runs from 岡山 (0) to it
    std::optional<Severity> finding;  // what --check says of the cell; none: nothing
    const char* bill;    // the run's total, "" for none; nullptr: 運賃表エラー, empty bill
    const char* listed;  // the list's 片道乗車券 大人 of the journey
    bool failure;        // the list names the cell in a failure line
};

// 岡山 -> 松山 (arrival 67) is sold one-way; 岡山 -> 岡山 is the diagonal.
const AmountCase kAmountCases[] = {
    {"4,230", 67, Severity::Warning, "4,230", "4,230", false},
    {"1,234,567", 67, Severity::Warning, "1,234,567", "1,234,567", false},
    {" 4230", 67, std::nullopt, "4,230", "4230", false},
    {"4230 ", 67, std::nullopt, "4,230", "4230", false},
    {"-100", 67, Severity::Error, nullptr, "金額なし", true},
    {"0x10", 67, Severity::Error, nullptr, "金額なし", true},
    {"4230.9", 67, Severity::Error, nullptr, "金額なし", true},
    {"４２３０", 67, Severity::Error, nullptr, "金額なし", true},
    {"4230円", 67, Severity::Error, nullptr, "金額なし", true},
    {"", 67, Severity::Error, nullptr, "金額なし", true},
    {"42,30", 67, Severity::Error, nullptr, "金額なし", true},
    {"0", 67, Severity::Error, nullptr, "0", true},
    {"0", 0, std::nullopt, "", "0", false},
};

TEST(AmountCells, TheCheckTheRunAndTheListReadACellAlike) {
    for (const AmountCase& c : kAmountCases) {
        const std::string text = c.text;
        SCOPED_TRACE("\"" + text + "\" at arrival " + std::to_string(c.arrival));
        TableFolder folder{TableFolder::Contents::Empty};
        for (const auto& entry : fs::directory_iterator(kSampleTables))
            fs::copy_file(entry.path(), folder.path() / entry.path().filename());
        std::vector<std::string> lines = split(folder.read("Otona.csv"), "\r\n");
        std::vector<std::string> fields = split(lines.at(static_cast<std::size_t>(c.arrival)), ",");
        fields.at(0) = text.find(',') != std::string::npos ? "\"" + text + "\"" : text;
        std::string row;
        for (std::size_t f = 0; f < fields.size(); ++f) row += (f ? "," : "") + fields[f];
        lines[static_cast<std::size_t>(c.arrival)] = row;
        std::string bytes;
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) bytes += lines[i] + "\r\n";
        folder.write("Otona.csv", bytes);

        // Other findings may follow from the cell (a child fare above an
        // adult fare of 0): warnings only.
        std::optional<Severity> found;
        for (const Finding& finding : checkTables(folder.path())) {
            if (finding.file == "Otona.csv" &&
                finding.line == static_cast<std::size_t>(c.arrival) + 1 && finding.field == 1) {
                EXPECT_FALSE(found) << finding.message;
                found = finding.severity;
            } else {
                EXPECT_EQ(finding.severity, Severity::Warning) << finding.message;
            }
        }
        EXPECT_EQ(found, c.finding);

        const std::string output =
            scriptOutput("select cboHatsu 0\nselect cboChaku " + std::to_string(c.arrival) +
                             "\ntype txtNinzu \"1\"\nclick cmdJikkou\nbill\n",
                         folder.path());
        if (c.bill) {
            EXPECT_EQ(output.find("運賃表エラー"), std::string::npos) << output;
            EXPECT_NE(output.find("total=\"" + std::string(c.bill) + "\""), std::string::npos)
                << output;
        } else {
            const std::string named = "! 運賃表エラー | 運賃表 Otona.csv の値番号 " +
                                      std::to_string(c.arrival * 107) + " (着 " +
                                      std::to_string(c.arrival) + ", 発 0) \"" + text + "\" ";
            EXPECT_EQ(output.rfind(named, 0), 0u) << output;
            EXPECT_NE(output.find("01 大人 unit=\"\" count=\"\" subtotal=\"\""), std::string::npos)
                << output;
            EXPECT_NE(output.find("total=\"\""), std::string::npos) << output;
        }

        std::ostringstream out, err;
        EXPECT_EQ(runPriceList(folder.path(), kToday, out, err), c.failure ? 1 : 0) << err.str();
        EXPECT_EQ(parse(out.str()).rows.at({0, c.arrival}).at("片道乗車券 大人"), c.listed);
        if (c.failure) {
            EXPECT_NE(
                err.str().find("（片道乗車券）: 運賃表 Otona.csv の値番号 7169 (着 67, 発 0)"),
                std::string::npos)
                << err.str();
        } else {
            EXPECT_EQ(err.str(), "");
        }
    }
}

}  // namespace
}  // namespace kippurun
