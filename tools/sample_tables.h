#pragma once
// Every sample file of the Untin folder, made from the line's kilometre
// posts and the sample tariff.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kippurun::tools {

struct SampleTable {
    std::string fileName;             // "Otona.csv"
    int columns = 0;                  // values per line as written
    std::vector<std::string> values;  // file order: value a * side + d is [arrival a, departure d]

    const std::string& at(int arrival, int departure) const {
        return values.at(static_cast<std::size_t>(arrival * columns + departure));
    }
};

// The start-up tables in reading order, then Gakuwari.csv and Ekimei1.csv.
std::vector<SampleTable> makeSampleTables();

// Lines of `columns` comma-separated values, each line ended by CRLF.
std::string fileBytes(const SampleTable& table);

// Throws std::out_of_range when there is no such file.
const SampleTable& tableNamed(const std::vector<SampleTable>& tables, std::string_view fileName);

// Writes every file into `folder` (created when missing). Throws
// std::runtime_error naming the file that could not be written.
void writeSampleTables(const std::filesystem::path& folder);

}  // namespace kippurun::tools
