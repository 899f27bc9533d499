#pragma once
// Where each station lies along the line, and the distance between two
// stations that the sample tables are computed from.
//
// The line is a trunk with two side routes:
//   trunk     岡山 – 児島 – (瀬戸大橋) – 坂出 – 松山 – 向井原 – 内子 – 伊予大洲 – 宇和島
//   高松 side  坂出 – 八十場 – … – 香西 – (讃)高松, a branch leaving the trunk at 坂出
//   coast     向井原 – 高野川 – … – 伊予長浜 – … – 五郎 – 伊予大洲, the second way
//             between 向井原 and 伊予大洲 beside the inland trunk by 内子
#include <span>
#include <string_view>

namespace kippurun::tools {

enum class Route { Trunk, TakamatsuSide, Coast };

// One kilometre post. A side route's first row (and the coast's last) is
// the trunk station where it joins; every other station has exactly one row.
struct LinePoint {
    int station;
    std::string_view name;  // as in the catalogue, to keep the table readable and checked
    double km;              // from the start of its route
};

std::span<const LinePoint> routePoints(Route route);

// Throws std::logic_error when the table disagrees with the station
// catalogue (a station missing, placed twice, misnamed) or a route's posts
// do not rise.
void checkLineTable();

// Distance along the line in tenths of a kilometre, symmetric, 0 for the
// same station. A 高松 side station is reached through 坂出. A coast
// station is entered from the end facing the other station (向井原 from
// the 岡山 side, 伊予大洲 from the 宇和島 side), so a journey never goes
// round the 向井原 – 伊予大洲 loop; between the coast and the inland
// stations the shorter way through either end is taken.
int distanceTenths(int a, int b);

// Whole kilometres as the fare tables count them: a part of a kilometre
// counts as a whole one.
int distanceKm(int a, int b);

}  // namespace kippurun::tools
