#pragma once
// The fare office's check of the table files: every finding in every
// file, where the program itself stops at the first failure or never notices
// a damaged value at all.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/counter_folders.h"

namespace kippurun {

enum class Severity { Error, Warning };

struct Finding {
    std::string file;       // "Otona.csv"
    std::size_t line = 0;   // counting from 1; 0 when the finding is about the whole file
    std::size_t field = 0;  // counting from 1 within the line
    Severity severity = Severity::Error;
    std::string message;  // Japanese; names the value where there is one
};

// Every file of TableFiles, in the order the program reads them: Start.csv,
// the square tables of the start-up list, Gakuwari.csv, Ekimei1.csv.
const std::vector<std::string>& checkedFiles();

// How the program reads one of checkedFiles(): the values it takes, and the
// side of a square table (0 for Start.csv and Ekimei1.csv; all zero for a
// file that is none of them).
struct CheckedFileShape {
    std::size_t count = 0;
    std::size_t side = 0;
};
CheckedFileShape checkedFileShape(std::string_view file);

// Every finding of the tables in `folders.tables` and the counter's pair in
// `folders.counter`, sorted by file (in the order of
// checkedFiles()) and position. Errors are what would stop the program or
// make it print a wrong amount; warnings are values it reads without
// complaint but that are most likely mistakes. A damaged or missing file is
// a finding, never an exception.
std::vector<Finding> checkTables(const CounterFolders& folders);

// "Otona.csv:68:1: エラー: …", or "Gakuwari.csv: エラー: …" for the whole file.
std::string findingLine(const Finding& finding);

// One line: the number of files, errors and warnings, and the counts of each
// file with findings. With `strict` it says that warnings count as errors.
std::string summaryLine(const std::vector<Finding>& findings, bool strict);

// True when the check fails: an error, or with `strict` also a warning.
bool checkFails(const std::vector<Finding>& findings, bool strict);

}  // namespace kippurun
