#include "office/table_diff.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "office/office_commands.h"
#include "tests/support/split.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

namespace fs = std::filesystem;
using testing::split;
using testing::TableFolder;

struct DiffRun {
    int status = 0;
    std::vector<std::vector<std::string>> rows;  // the CSV's fields, header first
    std::string summary;                         // standard error
};

DiffRun diff(const fs::path& older, const fs::path& newer) {
    std::ostringstream out, err;
    DiffRun run;
    run.status = runTableDiff(older, newer, out, err);
    run.summary = err.str();
    if (out.str().empty()) return run;
    EXPECT_EQ(out.str().substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> lines = split(out.str().substr(3), "\r\n");
    EXPECT_EQ(lines.back(), "");
    lines.pop_back();
    for (const std::string& line : lines) run.rows.push_back(split(line, ","));
    return run;
}

bool says(const DiffRun& run, const std::string& text) {
    return run.summary.find(text) != std::string::npos;
}

TEST(TableDiff, EqualFoldersGiveTheHeaderAloneAndStatusZero) {
    const TableFolder older, newer;
    const DiffRun run = diff(older.path(), newer.path());
    EXPECT_EQ(run.status, 0) << run.summary;
    ASSERT_EQ(run.rows.size(), 1u);
    EXPECT_EQ(run.rows[0], (std::vector<std::string>{"発駅番号", "発駅", "着駅番号", "着駅", "欄",
                                                     "旧", "新", "差"}));
    EXPECT_EQ(run.summary, "まとめ: 違いはありません\n");
}

// Otona[67, 0] is the adult fare 岡山 -> 松山 alone: every adult price made
// from it changes, for that journey only, and nothing else.
TEST(TableDiff, OneChangedFareCellGivesExactlyItsJourneyAndColumns) {
    const TableFolder older;
    TableFolder newer;
    const std::string before = TableFolder::cell("Otona.csv", 67, 0);
    newer.set("Otona.csv", 67, 0, std::to_string(std::stoi(before) + 100));
    newer.write();
    const DiffRun run = diff(older.path(), newer.path());
    EXPECT_EQ(run.status, 1);
    std::vector<std::tuple<std::string, std::string, std::string>> changes;
    for (std::size_t r = 1; r < run.rows.size(); ++r) {
        const std::vector<std::string>& row = run.rows[r];
        ASSERT_EQ(row.size(), 8u);
        EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 4),
                  (std::vector<std::string>{"0", "岡　　山", "67", "松　　山"}));
        changes.emplace_back(row[4], row[5], row[7]);
    }
    const auto fare = [](int times) { return std::to_string(113400 * times); };
    EXPECT_EQ(changes, (std::vector<std::tuple<std::string, std::string, std::string>>{
                           {"片道乗車券 大人", fare(1), "100"},
                           {"往復乗車券 大人", fare(2), "200"},
                           {"普通回数券(11枚) 大人", fare(10), "1000"},
                           {"週末回数券 大人", fare(10), "1000"},
                       }));
    EXPECT_TRUE(says(run, "違いのあるファイル: Otona.csv（値 1 個）")) << run.summary;
    EXPECT_TRUE(says(run, "変わる区間: 1 区間（一覧の値 4 個）")) << run.summary;
    EXPECT_TRUE(says(run,
                     "片道乗車券: 値上げ 最大 +100 円（岡　　山 → 松　　山 大人 113400 → "
                     "113500）、最大 +0.1 %"))
        << run.summary;
    EXPECT_TRUE(says(run, "値下げ なし")) << run.summary;
}

// A changed flag opens or closes keys; a changed value that no list field
// shows (a distance on the same side of 100 km, a file the list does not
// read) is named by file, line and field.
TEST(TableDiff, KeysOpenedAndClosedAndValuesTheListDoesNotShow) {
    TableFolder older, newer;
    older.set("MHan.csv", 3, 5, "0");
    older.write();
    newer.set("GHan.csv", 67, 0, "0");  // 学割表 closed for 岡山 -> 松山
    newer.set("Ekiro.csv", 10, 2, "13");
    newer.set("Jiyukai.csv", 2, 4, "1");
    newer.write();
    const DiffRun run = diff(older.path(), newer.path());
    EXPECT_EQ(run.status, 1);
    std::set<std::vector<std::string>> rows(run.rows.begin() + 1, run.rows.end());
    EXPECT_EQ(rows, (std::set<std::vector<std::string>>{
                        {"0", "岡　　山", "67", "松　　山", "学割表", "1", "0", "-1"},
                        {"5", "早　　島", "3", "妹　　尾", "マリンキー", "0", "1", "1"},
                    }))
        << run.summary;
    EXPECT_TRUE(says(run, "学割表: 開く区間 0、閉じる区間 1")) << run.summary;
    EXPECT_TRUE(says(run, "マリンキー: 開く区間 1、閉じる区間 0")) << run.summary;
    EXPECT_TRUE(
        says(run, "Ekiro.csv:11:3: 1073 番目の値 「12」 → 「13」（一覧の値は変わりません）"))
        << run.summary;
    EXPECT_TRUE(says(run, "Jiyukai.csv:3:5: 57 番目の値 「60404」 → 「1」")) << run.summary;
    EXPECT_TRUE(says(run,
                     "違いのあるファイル: Ekiro.csv（値 1 個）、GHan.csv（値 1 個）、"
                     "MHan.csv（値 1 個）、Jiyukai.csv（値 1 個）"))
        << run.summary;
}

TEST(TableDiff, AFolderThatCannotBeReadGivesStatusTwoAndNoList) {
    const TableFolder good;
    TableFolder damaged;
    damaged.remove("Kodomo.csv");
    for (const auto& [older, newer] : {std::pair{good.path(), damaged.path()},
                                       std::pair{good.path() / "missing", good.path()}}) {
        const DiffRun run = diff(older, newer);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.rows.empty());
        EXPECT_TRUE(says(run, "を読めません")) << run.summary;
    }
    EXPECT_TRUE(says(diff(good.path(), damaged.path()), "Kodomo.csv"));
}

// The counter's key layout is no price: a set without one compares, and the
// file is named as readable on one side only.
TEST(TableDiff, AKeyLayoutOnOneSideOnlyIsAFileThatDiffers) {
    const TableFolder older;
    TableFolder newer;
    newer.remove("Ekimei1.csv");
    const DiffRun run = diff(older.path(), newer.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.rows.size(), 1u);
    EXPECT_TRUE(says(run, "Ekimei1.csv（新のフォルダでは読めません")) << run.summary;
}

}  // namespace
}  // namespace kippurun
