#pragma once
// The season class of a travel date, deciding the reserved-seat charge.
#include <optional>
#include <string_view>

#include "calendar/date_ops.h"

namespace kippurun {

inline constexpr std::string_view SeasonPeak = "繁忙期";
inline constexpr std::string_view SeasonRegular = "通常期";
inline constexpr std::string_view SeasonOffPeak = "閑散期";

// The season classes as values, for the rules that price by season.
enum class Season { OffPeak, Regular, Peak };

// The season a SeasonClass text names; none for any other text.
constexpr std::optional<Season> seasonNamed(std::string_view text) {
    if (text == SeasonOffPeak) return Season::OffPeak;
    if (text == SeasonRegular) return Season::Regular;
    if (text == SeasonPeak) return Season::Peak;
    return std::nullopt;
}

constexpr std::string_view seasonText(Season season) {
    return season == Season::OffPeak   ? SeasonOffPeak
           : season == Season::Regular ? SeasonRegular
                                       : SeasonPeak;
}

// Reads the marks of the date's own month as laid out in that month's grid.
std::string_view seasonOf(Date date);

}  // namespace kippurun
