// The fare office's two commands on the sample tables: the check of the 25
// files, and the price list of every journey (the tables' load included, as
// the command does it).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "calendar/date_ops.h"
#include "office/office_commands.h"
#include "office/table_check.h"

namespace {

const std::filesystem::path kSampleTables = std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";

void BM_CheckTables(benchmark::State& state) {
    std::size_t findings = 0;
    for (auto _ : state) {
        const std::vector<kippurun::Finding> all = kippurun::checkTables(kSampleTables);
        findings = all.size();
        benchmark::DoNotOptimize(all.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}

void BM_PriceList(benchmark::State& state) {
    const kippurun::Date day{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kippurun::runPriceList(kSampleTables, day, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        benchmark::DoNotOptimize(out.str().size());
    }
}

BENCHMARK(BM_CheckTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PriceList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
