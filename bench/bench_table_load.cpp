// The start-up load of the fare tables against the least any load must do:
// read the same files into memory and count their separators.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/fare_tables.h"
#include "data/table_files.h"

namespace {

namespace fs = std::filesystem;

// The start-up list: file name and side (0 for the start file).
std::vector<std::pair<std::string, int>> startUpFiles() {
    std::vector<std::pair<std::string, int>> files;
    for (const kippurun::TableFile& file : kippurun::TableFiles) {
        if (!file.startUp) continue;
        files.emplace_back(file.fileName(), file.member ? static_cast<int>(file.perLine) : 0);
    }
    return files;
}

const std::vector<std::pair<std::string, int>> kFiles = startUpFiles();

// Tables of the sample's shape: one row per line, four-digit fares.
fs::path makeThrowawayFolder() {
    std::string pattern = (fs::temp_directory_path() / "kippurun-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    const fs::path dir = pattern;
    for (const auto& [name, side] : kFiles) {
        std::ofstream out(dir / name, std::ios::binary);
        if (side == 0) {
            out << "0,67\r\n";
            continue;
        }
        for (int a = 0; a < side; ++a) {
            for (int d = 0; d < side; ++d) {
                out << (a == d ? 0 : 1000 + (a * 37 + d * 11) % 9000)
                    << (d + 1 < side ? "," : "\r\n");
            }
        }
    }
    return dir;
}

struct TableFolder {
    fs::path dir;
    bool throwaway = false;

    TableFolder() {
        dir = fs::path(KIPPURUN_SOURCE_DIR) / "Untin";
        for (const auto& [name, side] : kFiles) {
            if (!fs::is_regular_file(dir / name)) {
                std::fprintf(stderr, "%s is incomplete; using generated tables\n", dir.c_str());
                dir = makeThrowawayFolder();
                throwaway = true;
                break;
            }
        }
    }
    ~TableFolder() {
        std::error_code ec;
        if (throwaway) fs::remove_all(dir, ec);
    }
};

const TableFolder& tableFolder() {
    static const TableFolder folder;
    return folder;
}

void BM_FareTableLoad(benchmark::State& state) {
    const fs::path& dir = tableFolder().dir;
    for (auto _ : state) {
        std::unique_ptr<kippurun::FareTables> tables;
        try {
            tables = std::make_unique<kippurun::FareTables>(kippurun::FareTableLoad(dir));
        } catch (const kippurun::DataFileError& error) {
            // Timing calls after a skip abort the run; report and stop instead.
            state.SkipWithError(error.what());
            return;
        }
        benchmark::DoNotOptimize(tables);
        state.PauseTiming();  // the program frees its tables only long after loading
        tables.reset();
        state.ResumeTiming();
    }
}

// Reads each file the way the loader does (one read into a buffer of the
// file's size), keeps all 23 in memory as the loaded tables are kept, and
// counts their commas and line-break bytes.
void BM_ReadAndCountSeparators(benchmark::State& state) {
    const fs::path& dir = tableFolder().dir;
    std::size_t separators = 0;
    for (auto _ : state) {
        auto contents = std::make_unique<std::vector<std::string>>();
        contents->reserve(std::size(kFiles));
        separators = 0;
        for (const auto& [name, side] : kFiles) {
            const fs::path path = dir / name;
            struct stat info {};
            const int fd =
                ::stat(path.c_str(), &info) == 0 ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
            if (fd < 0) {
                state.SkipWithError("a table file cannot be opened");
                return;
            }
            std::string& content =
                contents->emplace_back(static_cast<std::size_t>(info.st_size) + 1, '\0');
            std::size_t filled = 0;
            for (ssize_t n;
                 (n = ::read(fd, content.data() + filled, content.size() - filled)) > 0;) {
                filled += static_cast<std::size_t>(n);
            }
            ::close(fd);
            content.resize(filled);
            for (const char c : content) separators += c == ',' || c == '\n' || c == '\r';
        }
        benchmark::DoNotOptimize(contents);
        state.PauseTiming();
        contents.reset();
        state.ResumeTiming();
    }
    state.counters["separators"] = static_cast<double>(separators);
}

BENCHMARK(BM_FareTableLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAndCountSeparators)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
