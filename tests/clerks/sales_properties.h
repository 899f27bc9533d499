#pragma once
// What must hold on each screen after every action of a clerk.
#include <optional>
#include <string>

#include "app/frm_settei.h"
#include "app/frm_start.h"

namespace kippurun::testing {

// The first property that does not hold, described; empty when all hold.
std::optional<std::string> salesScreenFault(frmStart& screen);
// On the settings screen: every key shows what its cell of the working grid
// holds (the station's name, or its own number when unassigned), and the
// default-station boxes show the stations of the start pair.
std::optional<std::string> settingsScreenFault(frmSettei& screen);

}  // namespace kippurun::testing
