#include "office/table_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "data/fare_tables.h"
#include "data/key_layout.h"
#include "data/table_files.h"
#include "office/office_commands.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

using testing::TableFolder;
namespace fs = std::filesystem;

const fs::path kSampleTables = fs::path(KIPPURUN_SOURCE_DIR) / "Untin";
// The summary opens with the number of files: every file of the list.
const std::string kFilesChecked = "まとめ: " + std::to_string(TableFiles.size()) + " ファイル";

// A copy of the sample tables for one test to damage.
class SampleCopy : public TableFolder {
  public:
    SampleCopy() : TableFolder(Contents::Empty) {
        for (const auto& entry : fs::directory_iterator(kSampleTables)) {
            fs::copy_file(entry.path(), path() / entry.path().filename());
        }
    }

    std::vector<std::string> lines(std::string_view name) const {
        std::vector<std::string> out;
        std::istringstream in(read(name));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out.push_back(line);
        }
        return out;
    }
    void writeLines(std::string_view name, const std::vector<std::string>& lines) const {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        write(name, bytes);
    }
    // Replaces the value at line `line`, field `field` (both from 1) of a
    // file written one row per line.
    void setValue(std::string_view name, std::size_t line, std::size_t field,
                  std::string_view text) const {
        std::vector<std::string> all = lines(name);
        std::string& row = all.at(line - 1);
        std::size_t begin = 0;
        for (std::size_t f = 1; f < field; ++f) begin = row.find(',', begin) + 1;
        const std::size_t end = row.find(',', begin);
        row.replace(begin, end == std::string::npos ? std::string::npos : end - begin, text);
        writeLines(name, all);
    }
};

std::vector<std::string> linesOf(const std::vector<Finding>& findings) {
    std::vector<std::string> out;
    for (const Finding& finding : findings) out.push_back(findingLine(finding));
    return out;
}

TEST(TableCheck, TheSampleTablesHaveNoFinding) {
    const std::vector<Finding> findings = checkTables(kSampleTables);
    EXPECT_EQ(linesOf(findings), std::vector<std::string>{});
    EXPECT_FALSE(checkFails(findings, true));
    EXPECT_EQ(summaryLine(findings, false), kFilesChecked + "、エラー 0 件、警告 0 件");
}

struct Damage {
    const char* what;
    std::function<void(const SampleCopy&)> damage;
    std::vector<std::string> expected;  // the first findings, exactly
    std::size_t count;                  // how many findings in all
};

const std::string kEmptyFare = "が空です。金額（円の整数）が要ります。";
const std::string kZeroFare = "「0」は 0 円です。異なる駅の間で売られる券の金額は 0 円にできません";
// Otona.csv line 68, field 1: the fare 岡山 -> 松山.
const std::string kOkayamaMatsuyama = "7170 番目の値（着 67「松　　山」・発 0「岡　　山」）";

const Damage kDamages[] = {
    {"a blank line in Otona.csv",
     [](const SampleCopy& c) {
         auto lines = c.lines("Otona.csv");
         lines.insert(lines.begin() + 12, "");
         c.writeLines("Otona.csv", lines);
     },
     {"Otona.csv:13:1: 警告: 値が 11450 個あり、読まれる 11449 個を超えています。13 "
      "行目の値の数（1 個）がほかの行（107 "
      "個）と違います。ずれの元はこの行です（空の行や行末の余分なコンマ）。",
      "Otona.csv:13:1: エラー: 1285 番目の値（着 12「(讃)高松」・発 0「岡　　山」）" + kEmptyFare,
      "Otona.csv:14:13: エラー: 1298 番目の値（着 12「(讃)高松」・発 13「香　　西」）" + kZeroFare +
          "（香　　西 → (讃)高松 の片道乗車券で売られます）。"},
     // the diagonal's zeros after the blank line land between two stations
     2 + 94},
    {"a trailing comma on every line of Kodomo.csv",
     [](const SampleCopy& c) {
         auto lines = c.lines("Kodomo.csv");
         for (auto& line : lines) line += ",";
         c.writeLines("Kodomo.csv", lines);
     },
     {"Kodomo.csv:1:108: 警告: 値が 11556 個あり、読まれる 11449 個を超えています。どの行にも値が "
      "108 個あります（1 行 107 個のはず）。2 "
      "行目から後の値がずれて読まれます（行末の余分なコンマ）。",
      "Kodomo.csv:1:108: エラー: 108 番目の値（着 1「大　　元」・発 0「岡　　山」）" + kEmptyFare,
      "Kodomo.csv:2:2: エラー: 110 番目の値（着 1「大　　元」・発 2「備前西市」）" + kZeroFare +
          "（備前西市 → 大　　元 の片道乗車券で売られます）。",
      "Kodomo.csv:2:108: エラー: 216 番目の値（着 2「備前西市」・発 1「大　　元」）" + kEmptyFare},
     // the empty value of every line but the last lands inside the table,
     // and the diagonal's zeros of all lines but the first between two stations
     1 + 106 + 105},
    {"an empty fare",
     [](const SampleCopy& c) { c.setValue("Otona.csv", 68, 1, ""); },
     {"Otona.csv:68:1: エラー: " + kOkayamaMatsuyama + kEmptyFare},
     1},
    {"abc in Ekiro.csv",
     [](const SampleCopy& c) { c.setValue("Ekiro.csv", 68, 1, "abc"); },
     {"Ekiro.csv:68:1: エラー: " + kOkayamaMatsuyama +
      "「abc」は数ではありません。キロ程は数で書きます。"},
     1},
    {"06 in KHan.csv",
     [](const SampleCopy& c) { c.setValue("KHan.csv", 68, 1, "06"); },
     {"KHan.csv:68:1: 警告: " + kOkayamaMatsuyama +
      "「06」は回数券の区分「0」「6」「11」「60」のどれでもありません。この区間では回数券のキーが前"
      "の"
      "区間の状態のまま残ります。"},
     1},
    {"a short Ekimei1.csv",
     [](const SampleCopy& c) {
         auto lines = c.lines("Ekimei1.csv");
         lines.resize(5);
         c.writeLines("Ekimei1.csv", lines);
     },
     {"Ekimei1.csv:6:1: エラー: 表のファイル「Ekimei1.csv」が途中で終わっています：値が 100 "
      "個必要ですが、50 個しかありません。"},
     1},
    {"a fare too large to add up",
     [](const SampleCopy& c) { c.setValue("Otona.csv", 68, 1, "999999999999999999999"); },
     {"Otona.csv:68:1: エラー: " + kOkayamaMatsuyama +
      "「99999999999999999999…」は大きすぎます。どの請求額も正しく計算できるのは 999,999,999,999 "
      "円までです。"},
     1},
    {"one yen past the largest fare that keeps every bill exact",
     [](const SampleCopy& c) { c.setValue("Otona.csv", 68, 1, "1000000000000"); },
     {"Otona.csv:68:1: エラー: " + kOkayamaMatsuyama +
      "「1000000000000」は大きすぎます。どの請求額も正しく計算できるのは 999,999,999,999 "
      "円までです。"},
     1},
    {"a fraction, a negative fare and an exponent",
     [](const SampleCopy& c) {
         c.setValue("Jiyu.csv", 1, 2, "1200.5");
         c.setValue("Jiyu.csv", 1, 3, "-300");
         c.setValue("Jiyu.csv", 1, 4, "1e3");
     },
     {"Jiyu.csv:1:2: エラー: 2 "
      "番目の値（着「岡　　山」・発「児　　島」）「1200.5」に小数点があります"
      "。金額は円の整数で、小数点を付けずに書きます。",
      "Jiyu.csv:1:3: エラー: 3 "
      "番目の値（着「岡　　山」・発「(讃)高松」）「-300」は負の金額です。金額"
      "は符号を付けずに数字だけで書きます。",
      "Jiyu.csv:1:4: エラー: 4 "
      "番目の値（着「岡　　山」・発「坂　　出」）「1e3」は指数の書き方です。"
      "金額は数字だけで書きます。"},
     3},
    {"a child fare above the adult fare",
     [](const SampleCopy& c) { c.setValue("Kodomo.csv", 68, 1, "99999"); },
     {"Kodomo.csv:68:1: 警告: " + kOkayamaMatsuyama +
      "「99999」は小児の額ですが、大人の額（Otona.csv "
      "の同じ位置の「4230」）より高くなっています。"},
     1},
    {"a student fare above the adult fare",
     [](const SampleCopy& c) { c.setValue("Gakuwari.csv", 68, 1, "5000"); },
     {"Gakuwari.csv:68:1: 警告: " + kOkayamaMatsuyama +
      "「5000」は学割の運賃ですが、大人の額（Otona.csv "
      "の同じ位置の「4230」）より高くなっています。"},
     1},
    {"MHan open beyond 坂出",
     [](const SampleCopy& c) { c.setValue("MHan.csv", 68, 1, "1"); },
     {"MHan.csv:68:1: 警告: " + kOkayamaMatsuyama +
      "「1」は 0 ではありませんが、坂出より先の駅にマリンは停まりません。"},
     1},
    {"a flag and a code that are no numbers",
     [](const SampleCopy& c) {
         c.setValue("GHan.csv", 2, 3, "x");
         c.setValue("JiKaiHan.csv", 2, 3, "2");
     },
     {"GHan.csv:2:3: エラー: 110 番目の値（着 1「大　　元」・発 "
      "2「備前西市」）「x」は数ではありません"
      "。0（売らない）か 0 以外の数（売る）で書きます。",
      "JiKaiHan.csv:2:3: 警告: 110 番目の値（着 1「大　　元」・発 "
      "2「備前西市」）「2」は「0」でも「1」"
      "でもありません。「1」のほかは自由席特急回数券を売らない扱いです。"},
     2},
};

TEST(TableCheck, EachDamageGivesItsFindingAtItsPosition) {
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.what);
        SampleCopy copy;
        d.damage(copy);
        const std::vector<std::string> lines = linesOf(checkTables(copy.path()));
        ASSERT_GE(lines.size(), d.expected.size());
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + d.expected.size()),
                  d.expected);
        EXPECT_EQ(lines.size(), d.count);
    }
}

// The failures that stop the program are told in the program's own words.
DataFileError programFailure(const std::function<void()>& load) {
    try {
        load();
    } catch (const DataFileError& failure) {
        return failure;
    }
    ADD_FAILURE() << "the program read the damaged file without failing";
    return DataFileError(DataFileError::Kind::Unreadable, "", "");
}

TEST(TableCheck, WhatStopsTheProgramIsReportedInItsOwnWordsAndEveryOneOfIt) {
    SampleCopy copy;
    std::filesystem::remove(copy.file("Gakuwari.csv"));
    copy.setValue("Start.csv", 1, 2, "107");
    copy.setValue("Otona.csv", 2, 5, "1\xff");
    copy.setValue("Otona.csv", 3, 5, "\xfe");
    copy.setValue("Ekimei1.csv", 1, 4, "200");
    copy.setValue("Ekimei1.csv", 3, 1, "x");
    copy.setValue("Ekimei1.csv", 9, 1, "x");  // belongs to no key: no finding

    const fs::path dir = copy.path();
    const std::vector<Finding> findings = checkTables(dir);
    const auto messageAt = [&](std::string_view file, std::size_t line, std::size_t field) {
        for (const Finding& f : findings) {
            if (f.file == file && f.line == line && f.field == field) return f.message;
        }
        return std::string("(no finding)");
    };
    EXPECT_EQ(messageAt("Start.csv", 1, 2), programFailure([&] { FareTableLoad(dir); }).what());
    EXPECT_EQ(messageAt("Gakuwari.csv", 0, 0), programFailure([&] { GakuwariLoad(dir); }).what());
    EXPECT_EQ(messageAt("Ekimei1.csv", 1, 4), programFailure([&] { EkimeiLoad(dir); }).what());
    copy.setValue("Start.csv", 1, 2, "67");
    EXPECT_EQ(messageAt("Otona.csv", 2, 5), programFailure([&] { FareTableLoad(dir); }).what());
    // The program stops at the first; the check goes on.
    EXPECT_NE(messageAt("Otona.csv", 3, 5).find("UTF-8"), std::string::npos);
    EXPECT_NE(messageAt("Ekimei1.csv", 3, 1).find("数ではありません"), std::string::npos);
    EXPECT_EQ(findings.size(), 6u);
    EXPECT_EQ(summaryLine(findings, false),
              kFilesChecked +
                  "、エラー 6 件、警告 0 件（Start.csv エラー 1 件、Otona.csv エラー 2 "
                  "件、Gakuwari.csv エラー 1 件、Ekimei1.csv エラー 2 件）");
}

TEST(TableCheck, FindingsAreSortedByFileInReadingOrderThenByPosition) {
    SampleCopy copy;
    copy.setValue("MKiro.csv", 2, 1, "?");
    copy.setValue("Ekiro.csv", 3, 1, "?");
    copy.setValue("Ekiro.csv", 2, 7, "?");
    copy.setValue("Ekiro.csv", 2, 3, "?");
    std::vector<std::string> where;
    for (const Finding& f : checkTables(copy.path())) {
        where.push_back(f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.field));
    }
    EXPECT_EQ(where, (std::vector<std::string>{"Ekiro.csv:2:3", "Ekiro.csv:2:7", "Ekiro.csv:3:1",
                                               "MKiro.csv:2:1"}));
}

TEST(TableCheck, AFolderThatIsMissingGivesOneErrorPerFile) {
    const std::vector<Finding> findings = checkTables("/nonexistent/kippurun-untin");
    ASSERT_EQ(findings.size(), checkedFiles().size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(findings[i].file, checkedFiles()[i]);
        EXPECT_EQ(findings[i].line, 0u);
        EXPECT_EQ(findings[i].severity, Severity::Error);
    }
}

TEST(TableCheckCommand, ExitStatusAndStrictness) {
    struct Case {
        const char* what;
        const char* file;
        const char* value;
        bool strict;
        int status;
    };
    const Case cases[] = {
        {"sound tables", nullptr, nullptr, true, 0},
        {"a warning", "KHan.csv", "06", false, 0},
        {"a warning, strict", "KHan.csv", "06", true, 1},
        {"an error", "Ekiro.csv", "abc", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SampleCopy copy;
        if (c.file) copy.setValue(c.file, 5, 5, c.value);
        std::ostringstream out;
        EXPECT_EQ(runTableCheck(copy.path(), c.strict, out), c.status);
        const std::string text = out.str();
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.substr(text.rfind("まとめ: ")).back(), '\n');
        if (c.file) {
            EXPECT_EQ(text.rfind(c.file, 0), 0u) << text;
        }
    }
}

// A counter folder of its own: the check reads the pair there and the
// tables in the tables folder; neither needs the other's files.
class CounterFolderCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        counter.setStart("11", "106");
        testing::TableFolder::writeAsInstalled(tables, counter);
    }
    testing::TableFolder tables;
    testing::TableFolder counter;
    CounterFolders both{tables.path(), counter.path()};
};

TEST_F(CounterFolderCheck, TheCheckAndThePriceListReadBothFolders) {
    std::ostringstream out, err;
    runTableCheck(both, false, out);
    EXPECT_EQ(out.str().find("Ekimei1.csv"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Start.csv"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Otona.csv:"), std::string::npos) << out.str();
    std::ostringstream alone;
    EXPECT_EQ(runTableCheck(CounterFolders(tables.path()), false, alone), 1);
    EXPECT_NE(alone.str().find("Start.csv"), std::string::npos) << alone.str();
    std::ostringstream list;
    EXPECT_EQ(runPriceList(
                  both, Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)},
                  list, err),
              0)
        << err.str();
}

}  // namespace
}  // namespace kippurun
