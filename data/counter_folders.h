#pragma once
// The two folders a counter works with: the fare tables, and its own pair
// ("Ekimei1.csv", "Start.csv"). Where a counter has no folder of its own the
// pair lives with the tables, and both are one folder.
#include <filesystem>
#include <vector>

namespace kippurun {

struct CounterFolders {
    // One folder for the tables and the pair alike.
    CounterFolders(std::filesystem::path both) : tables(both), counter(std::move(both)) {}
    CounterFolders(const char* both) : CounterFolders(std::filesystem::path(both)) {}
    CounterFolders(std::filesystem::path tablesDir, std::filesystem::path counterDir)
        : tables(std::move(tablesDir)), counter(std::move(counterDir)) {}

    std::filesystem::path tables;
    std::filesystem::path counter;

    bool separate() const { return tables != counter; }
    // The order in which a reader of both takes their locks: the tables
    // first, then the counter's, each folder once.
    std::vector<std::filesystem::path> lockOrder() const {
        if (!separate()) return {tables};
        return {tables, counter};
    }
};

}  // namespace kippurun
