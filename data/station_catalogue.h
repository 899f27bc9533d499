#pragma once
// The 107 stations the counter sells between, and the two stop lists that
// index the charge tables. A station's number is its position everywhere:
// list position in every station drop-down, row and column of every
// 107 x 107 table, value stored for a station key.
#include <array>
#include <optional>
#include <string_view>

namespace kippurun {

inline constexpr int NotSet = 999;
inline constexpr int StationCount = 107;
inline constexpr int ExpressStopCount = 26;
inline constexpr int MarineStopCount = 15;

// Names exactly as stored, filler spaces included ("岡　　山").
const std::array<std::string_view, StationCount>& stationNames();
// Station numbers of the limited-express stops, index order.
const std::array<int, ExpressStopCount>& ExpressStopList();
// Station numbers of the rapid-train ("マリン") stops, index order.
const std::array<int, MarineStopCount>& MarineStopList();

// Empty optional for a number outside 0-106 (NotSet included).
std::optional<std::string_view> stationName(int station);
// NotSet when the station is no such stop or is outside 0-106.
int expressIndexOf(int station);
int marineIndexOf(int station);
// NotSet when the index is outside the list.
int stationOfExpressStop(int index);
int stationOfMarineStop(int index);

}  // namespace kippurun
