#include "calendar/month_grid.h"

#include "calendar/date_ops.h"
#include "calendar/holidays.h"

namespace kippurun {

namespace {

DayMark columnMark(int cell) {
    switch (cell % 7) {
        case 0:
            return DayMark::Red;
        case 6:
            return DayMark::Blue;
        default:
            return DayMark::Black;
    }
}

}  // namespace

MonthGrid blankMonthGrid() {
    MonthGrid grid;
    for (int cell = 0; cell < GridCellCount; ++cell) {
        grid.captions[static_cast<std::size_t>(cell)] = BlankCell;
        grid.marks[static_cast<std::size_t>(cell)] = columnMark(cell);
    }
    return grid;
}

MonthGrid drawMonthGrid(long long year, long long month) {
    Date first = makeDate(year, month, 1);
    MonthGrid grid = blankMonthGrid();
    grid.year = static_cast<int>(first.year());
    grid.month = static_cast<int>(static_cast<unsigned>(first.month()));
    grid.firstWeekday = weekdayNumber(first);

    int start = grid.firstWeekday - 1;
    int length = daysInMonth(grid.year, grid.month);
    for (int day = 1; day <= length; ++day) {
        auto cell = static_cast<std::size_t>(start + day - 1);
        grid.captions[cell] = std::to_string(day);
        // A holiday on a Saturday is red, not blue.
        if (isHoliday(grid.year, grid.month, day)) grid.marks[cell] = DayMark::Red;
    }
    grid.sixthRowShown = start + length > 35;
    grid.heightTwips = grid.sixthRowShown ? GridHeightSixRows : GridHeightFiveRows;
    return grid;
}

}  // namespace kippurun
