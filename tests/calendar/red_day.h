#pragma once
// Whether the calendar page shows a day in red, read from the month grid the
// page is drawn from: the mark of the day's own cell (Sundays and holidays).
// A day that is no calendar day is no red day.
#include <cstddef>
#include <string>

#include "calendar/month_grid.h"

namespace kippurun {

inline bool isRedDay(int year, int month, int day) {
    if (year < -32766 || year > 32766 || month < 1 || month > 12 || day < 1) return false;
    const MonthGrid grid = drawMonthGrid(year, month);
    const int cell = grid.firstWeekday - 1 + day - 1;
    if (cell >= GridCellCount) return false;
    const auto at = static_cast<std::size_t>(cell);
    return grid.captions[at] == std::to_string(day) && grid.marks[at] == DayMark::Red;
}

}  // namespace kippurun
