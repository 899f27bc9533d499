#pragma once
// The two commands for the fare office, as the program's command line runs
// them.
#include <filesystem>
#include <ostream>

#include "calendar/date_ops.h"
#include "data/counter_folders.h"

namespace kippurun {

// kippurun --check: every finding of the table files in `folders`, one
// line each, then the summary line, on `out`. Returns the exit status: 0
// without errors (and, with `strict`, without warnings), 1 otherwise.
int runTableCheck(const CounterFolders& folders, bool strict, std::ostream& out);

// kippurun --price-list: the CSV price list of every journey on `out`, the
// reserved charges of the season of `travelDate`. Returns 0; 1 when the
// tables cannot be read (the program's own failure message on `err`, no
// list) or when a price could not be made (each on `err`, its cells empty).
int runPriceList(const CounterFolders& folders, Date travelDate, std::ostream& out,
                 std::ostream& err);

// kippurun --diff: every field of the price list (the reserved charge of
// every season) that differs between the folders `older` and `newer`, as CSV
// on `out`; the summary and each changed value the list does not show on
// `err`. Returns 0 when nothing differs, 1 when something does, 2 when a
// folder cannot be read as the program reads it.
int runTableDiff(const std::filesystem::path& older, const std::filesystem::path& newer,
                 std::ostream& out, std::ostream& err);

// kippurun --install-tables: the set in `newDir` checked as --check does
// (its findings and summary on `out`) and, without errors, its fare-office
// files put into `untinDir`; what was replaced and where the old set is kept
// on `out`. Returns 0 when installed (or already there), 1 when refused for
// an error or when the install could not be made (the reason on `err`).
int runInstallTables(const std::filesystem::path& newDir, const std::filesystem::path& untinDir,
                     std::ostream& out, std::ostream& err);

}  // namespace kippurun
