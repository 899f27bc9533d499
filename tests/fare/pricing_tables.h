#pragma once
// Tables made inside the pricing tests, so each case states its exact values.
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "data/table.h"

namespace kippurun::testing {

// Every cell (arrival a, departure d) holds the text cell(a, d).
Table tableOf(int side, const std::function<std::string(int, int)>& cell);

// Cell (a, d) holds base + a * side + d, its own position in the file, so a
// look-up with arrival and departure swapped gives a visibly wrong price.
Table positionTable(int side, int base = 0);

// The chosen cells hold their texts; every other cell `fill`.
Table chosenTable(int side, const std::map<std::pair<int, int>, std::string>& cells,
                  const std::string& fill = "");

}  // namespace kippurun::testing
