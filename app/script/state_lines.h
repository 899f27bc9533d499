#pragma once
// The script driver's printed forms of controls and of the bill.
#include <string>
#include <string_view>

#include "app/controls.h"
#include "app/frm_start.h"

namespace kippurun {

// "text" in double quotes; a quote, backslash or line break inside is
// written with a backslash.
std::string quoteText(std::string_view text);
// "#RRGGBB".
std::string colourText(Rgb colour);
// One control as "NAME field=value ...", the fields of its kind.
std::string stateLine(const Control& control);
// One line per visible bill line, under a "[name]" line per visible ticket
// name, then the total; every line ends with '\n'.
std::string billText(frmStart& screen);

}  // namespace kippurun
