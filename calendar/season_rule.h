#pragma once
// The season class of a travel date, deciding the reserved-seat charge.
#include <string_view>

#include "calendar/date_ops.h"

namespace kippurun {

inline constexpr std::string_view SeasonPeak = "繁忙期";
inline constexpr std::string_view SeasonRegular = "通常期";
inline constexpr std::string_view SeasonOffPeak = "閑散期";

// Reads the marks of the date's own month as laid out in that month's grid.
std::string_view seasonOf(Date date);

}  // namespace kippurun
