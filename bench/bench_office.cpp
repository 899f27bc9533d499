// The fare office's commands on the sample tables: the check of every
// file, the price list of every journey (the tables' load included, as the
// command does it), the comparison of two sets.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "calendar/date_ops.h"
#include "data/table_files.h"
#include "office/office_commands.h"
#include "office/table_check.h"
#include "office/table_install.h"
#include "office/table_sheets.h"

namespace {

const std::filesystem::path kSampleTables = std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";

// A copy of the sample tables in a fresh temporary folder, with the first
// line of Otona.csv (the adult fares to 岡山) raised by 10 yen each.
std::filesystem::path freshFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kippurun-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    return pattern;
}

std::filesystem::path revisedSampleTables() {
    const std::filesystem::path dir = freshFolder();
    for (const auto& entry : std::filesystem::directory_iterator(kSampleTables))
        if (entry.path().extension() == ".csv")
            std::filesystem::copy_file(entry.path(), dir / entry.path().filename());
    const std::string otonaFile(kippurun::fileNameOf(&kippurun::FareTables::Otona));
    std::ifstream in(dir / otonaFile, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string otona = bytes.str();
    const std::size_t lineEnd = otona.find('\n');
    std::string first;
    std::istringstream fares(otona.substr(0, lineEnd));
    for (std::string fare; std::getline(fares, fare, ',');) {
        const bool crlf = !fare.empty() && fare.back() == '\r';
        if (crlf) fare.pop_back();
        first +=
            (first.empty() ? "" : ",") + std::to_string(std::stoll(fare) + 10) + (crlf ? "\r" : "");
    }
    std::ofstream(dir / otonaFile, std::ios::binary | std::ios::trunc)
        << first << otona.substr(lineEnd);
    return dir;
}

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

// Two sample sets, one with a fare revision of every adult one-way fare:
// both sets read, every journey priced on both sides, the CSV written.
void BM_DiffTables(benchmark::State& state) {
    const std::filesystem::path revised = revisedSampleTables();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kippurun::runTableDiff(kSampleTables, revised, out, err) != 1) {
            state.SkipWithError(err.str().c_str());
            break;
        }
        bytes = out.str().size();
    }
    state.counters["csv_bytes"] = static_cast<double>(bytes);
    std::filesystem::remove_all(revised);
}

// Installs into a copy of the sample tables, the revised set and the sample
// set in turn: the check, the lock, the old set kept beside, the files that
// differ replaced and flushed. `state.range(0)` 1: every one of the office's files
// differs (each gets a line break more), not only Otona.csv.
void BM_InstallTables(benchmark::State& state) {
    const std::filesystem::path revised = revisedSampleTables();
    const std::filesystem::path holder = freshFolder();
    const std::filesystem::path counter = holder / "Untin";
    std::filesystem::copy(kSampleTables, counter);
    if (state.range(0) == 1) {
        for (const std::string& name : kippurun::officeFiles())
            std::ofstream(revised / name, std::ios::binary | std::ios::app) << "\r\n";
    }
    const std::filesystem::path sets[2] = {revised, kSampleTables};
    std::size_t replaced = 0;
    int turn = 0;
    for (auto _ : state) {
        const kippurun::Installation done =
            kippurun::installTables(sets[turn++ % 2], counter, std::chrono::system_clock::now());
        if (!done.succeeded()) {
            state.SkipWithError(done.failure.c_str());
            break;
        }
        replaced = done.replaced.size();
    }
    state.counters["files"] = static_cast<double>(replaced);
    std::filesystem::remove_all(holder);
    std::filesystem::remove_all(revised);
}

// --export-tables of the sample tables into a fresh folder, and
// --import-tables of those sheets into another: every sheet read, stations
// and amounts checked, the new set written as one transaction and checked.
void BM_ExportTables(benchmark::State& state) {
    const std::filesystem::path holder = freshFolder();
    int n = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kippurun::runExportTables(kSampleTables, holder / std::to_string(n++), out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(holder);
}

void BM_ImportTables(benchmark::State& state) {
    const std::filesystem::path holder = freshFolder();
    std::ostringstream out, err;
    if (kippurun::runExportTables(kSampleTables, holder / "sheets", out, err) != 0) {
        state.SkipWithError(err.str().c_str());
        return;
    }
    int n = 0;
    for (auto _ : state) {
        if (kippurun::runImportTables(holder / "sheets", holder / std::to_string(n++),
                                      kSampleTables, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(holder);
}

BENCHMARK(BM_CheckTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PriceList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTables)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
