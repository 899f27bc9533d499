#pragma once
// The two commands for the fare office, as the program's command line runs
// them.
#include <filesystem>
#include <ostream>

namespace kippurun {

// kippurun --check: every finding of the 25 table files in `untinDir`, one
// line each, then the summary line, on `out`. Returns the exit status: 0
// without errors (and, with `strict`, without warnings), 1 otherwise.
int runTableCheck(const std::filesystem::path& untinDir, bool strict, std::ostream& out);

}  // namespace kippurun
