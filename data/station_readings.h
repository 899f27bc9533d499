#pragma once
// How the stations are read, for finding a station by typing: the reading
// of each catalogue name in hiragana, and for the names that carry an old
// province in front ("伊予", "讃岐") the reading without it, the way a
// clerk calls the station at the counter ("さいじょう" for 伊予西条).
#include <array>
#include <string_view>

#include "data/station_catalogue.h"

namespace kippurun {

struct StationReading {
    std::string_view kana;       // the whole name, e.g. "いよさいじょう"
    std::string_view shortKana;  // without the province; empty for none
};

// Catalogue order: entry n reads station n.
const std::array<StationReading, StationCount>& stationReadings();

}  // namespace kippurun
