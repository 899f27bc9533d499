#pragma once
// The program as a Qt window.
#include "app/program_options.h"

namespace kippurun {

int runWindow(int argc, char** argv, const ProgramOptions& options);

}  // namespace kippurun
