// The program's own reader sees in Untin/ exactly the values the generator
// meant, each at its [arrival, departure].
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/fare_tables.h"
#include "data/table_files.h"
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
    FareTables t = FareTableLoad(untin);
    EXPECT_EQ(t.start.departure, 0);
    EXPECT_EQ(t.start.arrival, 67);
    t.Gakuwari = GakuwariLoad(untin);
    for (const TableFile& file : TableFiles)
        if (file.member != nullptr) expectSame(t.*file.member, tableNamed(made, file.fileName()));
}

}  // namespace
}  // namespace kippurun::tools
