#pragma once
// What a revision of the tables changes: two table folders compared through
// the price list, journey by journey, and cell by cell for whatever the list
// does not show.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/fare_tables.h"
#include "data/table_file.h"
#include "office/price_list.h"

namespace kippurun {

// A table folder as the program reads it, and the values of all its files.
struct TableSet {
    FareTables tables;  // the start-up list and Gakuwari
    // Every file of checkedFiles() whose values could be taken; a file the
    // program loads is always here (else the set could not be read).
    std::map<std::string, FileValues, std::less<>> files;
    // Why a file is missing from `files` (Ekimei1.csv: absent or damaged).
    std::map<std::string, std::string, std::less<>> unreadable;
};

// Reads `dir` as a whole set (data/folder_transaction.h: settled, then
// under its shared lock). Throws DataFileError, in the program's own words,
// when the program could not load the set.
TableSet readTableSet(const std::filesystem::path& dir);

// One field of the list whose value changes.
struct PriceChange {
    int departure = 0;
    int arrival = 0;
    std::size_t column = 0;  // into TableDiff::columns
    std::string before, after;
    std::optional<std::int64_t> difference;  // when both are amounts
};

// A changed value that changes nothing in the list.
struct CellChange {
    std::string file;
    std::size_t valueNumber = 0;  // counting from 0
    std::size_t line = 0, field = 0;
    std::string before, after;
};

struct FileChange {
    std::string file;
    std::size_t values = 0;  // values that differ
    std::string note;        // when the file is readable on one side only
};

struct TableDiff {
    std::vector<PriceColumn> columns;   // the list's, the reserved charge of every season
    std::vector<PriceChange> prices;    // journey by journey, columns in list order
    std::vector<FileChange> files;      // in the order of checkedFiles()
    std::vector<CellChange> cells;      // by file, then position
    std::vector<std::string> failures;  // prices that could not be made, either side
    std::size_t journeys = 0;           // journeys with a change in the list

    bool same() const { return prices.empty() && files.empty(); }
};

TableDiff diffTableSets(const TableSet& older, const TableSet& newer);

// The CSV of the price changes: a byte-order mark, a header row (発駅番号,
// 発駅, 着駅番号, 着駅, 欄, 旧, 新, 差), one row per change, CRLF.
std::string diffCsv(const TableDiff& diff);

// The summary for the reader, one line each: the files that differ, the
// journeys affected, the largest rise and fall per ticket type in yen and per
// cent, the keys opened and closed, each value that changes nothing listed,
// and a last line saying whether anything differs.
std::vector<std::string> diffSummary(const TableDiff& diff);

}  // namespace kippurun
