#pragma once
// Runs the sales screen from a script, without any window or display.
#include <iosfwd>

#include "app/program_options.h"

namespace kippurun {

// Opens the sales screen as the program does, then runs options.script
// ("-" reads `in`). Exit status: 0 at the end or when the program ends,
// 1 for a fatal data failure, 2 for a script error.
int runScript(const ProgramOptions& options, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace kippurun
