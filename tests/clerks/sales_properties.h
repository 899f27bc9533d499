#pragma once
// What must hold on the sales screen after every action of a clerk.
#include <optional>
#include <string>

#include "app/frm_start.h"

namespace kippurun::testing {

// The first property that does not hold, described; empty when all hold.
std::optional<std::string> salesScreenFault(frmStart& screen);

}  // namespace kippurun::testing
