#include "calendar/season_rule.h"

#include <string>

#include "calendar/holidays.h"
#include "calendar/month_grid.h"

namespace kippurun {

namespace {

std::string_view weekdayRule(int weekday) {
    int w = weekday % 7;
    return (w >= 2 && w <= 5) ? SeasonOffPeak : SeasonRegular;
}

// A day of September or November that is regular when its cell is red (a
// holiday or a day off) and off-peak otherwise, whatever its weekday.
std::string_view byMark(const MonthGrid& grid, int cell) {
    return grid.marks[static_cast<std::size_t>(cell)] == DayMark::Red ? SeasonRegular
                                                                      : SeasonOffPeak;
}

std::string_view september(const MonthGrid& grid, int year, int d, int weekday) {
    int equinox = autumnalEquinoxDay(year);
    if (d == equinox - 1 || d == equinox) return SeasonRegular;
    int cellOfDay = grid.firstWeekday - 1 + d - 1;
    // The day after an equinox on a Sunday.
    if (d == equinox + 1 && weekdayNumber(makeDate(year, 9, equinox)) == 1)
        return byMark(grid, cellOfDay);
    std::string text = std::to_string(d);
    for (int cell : {15, 22})
        if (grid.captions[static_cast<std::size_t>(cell)] == text) return byMark(grid, cell);
    return weekdayRule(weekday);
}

std::string_view november(const MonthGrid& grid, int d, int weekday) {
    if (d == 2 || d == 3 || d == 22 || d == 23) return SeasonRegular;
    if (d == 4) return byMark(grid, 8);
    if (d == 24) return byMark(grid, 29);
    return weekdayRule(weekday);
}

}  // namespace

std::string_view seasonOf(Date date) {
    int year = static_cast<int>(date.year());
    int month = static_cast<int>(static_cast<unsigned>(date.month()));
    int d = static_cast<int>(static_cast<unsigned>(date.day()));
    int weekday = weekdayNumber(date);
    switch (month) {
        case 1:
            if (d <= 10) return SeasonPeak;
            if (d <= 15) return SeasonRegular;
            return weekdayRule(weekday);
        case 2:
            return (d == 10 || d == 11) ? SeasonRegular : weekdayRule(weekday);
        case 3:
            return d <= 20 ? SeasonRegular : SeasonPeak;
        case 4:
            return d <= 27 ? SeasonRegular : SeasonPeak;
        case 5:
            return d <= 6 ? SeasonPeak : SeasonRegular;
        case 6:
            return weekdayRule(weekday);
        case 7:
            return d <= 20 ? SeasonRegular : SeasonPeak;
        case 8:
            return SeasonPeak;
        case 9:
            return september(drawMonthGrid(year, month), year, d, weekday);
        case 10:
            return SeasonRegular;
        case 11:
            return november(drawMonthGrid(year, month), d, weekday);
        case 12:
            if (d <= 20) return weekdayRule(weekday);
            if (d <= 24) return SeasonRegular;
            return SeasonPeak;
        default:
            return SeasonRegular;
    }
}

}  // namespace kippurun
