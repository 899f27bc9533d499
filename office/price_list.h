#pragma once
// The price list of every journey: for each departure and arrival station
// the unit prices the bill shows, the keys the determinations open, and the
// express charges, as CSV for a spreadsheet or for comparing two tariffs.
#include <string>
#include <string_view>
#include <vector>

#include "data/fare_tables.h"

namespace kippurun {

struct PriceList {
    std::string csv;  // UTF-8 with a byte-order mark, header row, CRLF line ends
    // One Japanese message per price that could not be made (a value the
    // pricing reads strictly that is no number); its cells are left empty.
    // A unit price whose cell holds no amount is marked "金額なし" in its
    // row instead.
    std::vector<std::string> failures;
};

// 107 x 107 rows, departure by departure, arrivals in station order. The
// tables must hold Gakuwari; `season` is one of the season texts and prices
// the reserved express ticket. Never throws for a damaged table value.
PriceList makePriceList(const FareTables& tables, std::string_view season);

}  // namespace kippurun
