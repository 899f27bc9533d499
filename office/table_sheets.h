#pragma once
// The fare office's tables as spreadsheets: each square table written as a
// CSV whose first row names the departure stations and whose first column
// the arrival stations, and such a file read back, as a spreadsheet saves
// it, into the form the program reads. A file whose stations are no longer
// where the catalogue puts them (a row moved, a column sorted) is refused:
// its numbers would all still be valid and belong to other journeys.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/fare_tables.h"
#include "data/table_files.h"

namespace kippurun {

// "67 松　　山": a header cell, the station number and its name as stored.
std::string sheetStationCell(const TableFile& file, std::size_t index);

// The CSV of one square table: UTF-8 with a byte-order mark, CRLF, the
// corner cell naming the file, the values exactly as stored.
std::string tableSheet(const TableFile& file, const Table& table);

// The records of a CSV as a spreadsheet writes it: a byte-order mark or
// none, CRLF or LF, fields quoted ("" for a quote inside) or not.
std::vector<std::vector<std::string>> readCsvRecords(std::string_view bytes);

struct SheetReading {
    std::string bytes;    // the table file in the program's written form
    std::string refusal;  // Japanese, naming the file and the cell; empty when read
};

// A sheet of `file` read back. `sheetName` is the name the message gives.
SheetReading readTableSheet(const TableFile& file, std::string_view sheetBytes);

// kippurun --export-tables DIR: every table of `untinDir` as a sheet, with a
// README, into `dir`, which must be missing or empty. Returns 0, or 1 with
// the reason on `err`.
int runExportTables(const std::filesystem::path& untinDir, const std::filesystem::path& dir,
                    std::ostream& out, std::ostream& err);

// kippurun --import-tables DIR --into NEW: the sheets of `dir` read back
// into a new set in `newDir` (missing or empty), a table without a sheet and
// the counter's two files copied from `untinDir`; then the check of NEW.
// Returns 0 when written and the check finds no error, 1 otherwise.
int runImportTables(const std::filesystem::path& dir, const std::filesystem::path& newDir,
                    const std::filesystem::path& untinDir, std::ostream& out, std::ostream& err);

}  // namespace kippurun
