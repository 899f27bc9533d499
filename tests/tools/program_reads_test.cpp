// The program's own reader sees in Untin/ exactly the values the generator
// meant, each at its [arrival, departure].
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/fare_tables.h"
#include "tools/sample_tables.h"

namespace kippurun::tools {
namespace {

void expectSame(const Table& read, const SampleTable& made) {
    ASSERT_EQ(read.side(), made.columns) << made.fileName;
    for (int a = 0; a < read.side(); ++a)
        for (int d = 0; d < read.side(); ++d)
            ASSERT_EQ(std::string(read.at(a, d)), made.at(a, d))
                << made.fileName << " [" << a << ", " << d << "]";
}

TEST(ProgramReads, CommittedUntinLoadsAsGenerated) {
    const std::filesystem::path untin = std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";
    const std::vector<SampleTable> made = makeSampleTables();
    const FareTables t = FareTableLoad(untin);
    EXPECT_EQ(t.start.departure, 0);
    EXPECT_EQ(t.start.arrival, 67);
    const struct {
        const Table& table;
        const char* file;
    } pairs[] = {
        {t.Otona, "Otona.csv"},     {t.Kodomo, "Kodomo.csv"},     {t.Kai6, "6Kai.csv"},
        {t.Kai6K, "6KaiK.csv"},     {t.Ekiro, "Ekiro.csv"},       {t.GHan, "GHan.csv"},
        {t.KHan, "KHan.csv"},       {t.MHan, "MHan.csv"},         {t.Jiyu, "Jiyu.csv"},
        {t.JiyuK, "JiyuK.csv"},     {t.Kansan, "Kansan.csv"},     {t.KansanK, "KansanK.csv"},
        {t.Tujo, "Tujo.csv"},       {t.TujoK, "TujoK.csv"},       {t.Hanbo, "Hanbo.csv"},
        {t.HanboK, "HanboK.csv"},   {t.Green, "Green.csv"},       {t.GreenK, "GreenK.csv"},
        {t.Jiyukai, "Jiyukai.csv"}, {t.JiyuKaiK, "JiyuKaiK.csv"}, {t.JiKaiHan, "JiKaiHan.csv"},
        {t.MKiro, "MKiro.csv"},
    };
    for (const auto& p : pairs) expectSame(p.table, tableNamed(made, p.file));
    expectSame(GakuwariLoad(untin), tableNamed(made, "Gakuwari.csv"));
}

}  // namespace
}  // namespace kippurun::tools
