#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace kippurun {
namespace {

// The cell holding day d of a grid.
std::size_t cellOf(const MonthGrid& grid, int d) {
    return static_cast<std::size_t>(grid.firstWeekday - 1 + d - 1);
}

int dayCount(const MonthGrid& grid) {
    int count = 0;
    for (const auto& caption : grid.captions)
        if (caption != BlankCell) ++count;
    return count;
}

struct RowCase {
    int y, m;
    int firstWeekday, days;
    bool sixRows;
};

TEST(MonthGrid, RowsHeightAndCaptions) {
    const RowCase cases[] = {
        {2015, 2, 1, 28, false},  // 28-day February from a Sunday: exactly four rows
        {2026, 2, 1, 28, false}, {2026, 5, 6, 31, true},  // 31 days from a Friday
        {2026, 8, 7, 31, true},                           // 31 days from a Saturday
        {2016, 2, 2, 29, false}, {2024, 2, 5, 29, false},  {2020, 2, 7, 29, false},
        {2100, 2, 2, 28, false}, {2026, 9, 3, 30, false},  {2025, 11, 7, 30, true},
        {2026, 1, 5, 31, false}, {2026, 10, 5, 31, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m));
        MonthGrid grid = drawMonthGrid(c.y, c.m);
        EXPECT_EQ(grid.year, c.y);
        EXPECT_EQ(grid.month, c.m);
        EXPECT_EQ(grid.firstWeekday, c.firstWeekday);
        EXPECT_EQ(dayCount(grid), c.days);
        EXPECT_EQ(grid.sixthRowShown, c.sixRows);
        EXPECT_EQ(grid.heightTwips, c.sixRows ? 3495 : 3015);
        for (int cell = 0; cell < GridCellCount; ++cell) {
            int d = cell - (c.firstWeekday - 1) + 1;
            std::string expected = (d >= 1 && d <= c.days) ? std::to_string(d) : BlankCell;
            EXPECT_EQ(grid.captions[static_cast<std::size_t>(cell)], expected) << "cell " << cell;
        }
    }
}

TEST(MonthGrid, LeapDayCellIsThere) {
    EXPECT_EQ(drawMonthGrid(2016, 2).captions[29], "29");  // Monday 1st: 29th in cell 29
    EXPECT_EQ(drawMonthGrid(2024, 2).captions[32], "29");
    EXPECT_EQ(drawMonthGrid(2026, 2).captions[28], BlankCell);
}

TEST(MonthGrid, MonthOverflowRollsTheYear) {
    MonthGrid next = drawMonthGrid(2026, 13);
    EXPECT_EQ(next.year, 2027);
    EXPECT_EQ(next.month, 1);
    MonthGrid previous = drawMonthGrid(2026, 0);
    EXPECT_EQ(previous.year, 2025);
    EXPECT_EQ(previous.month, 12);
}

std::string markText(DayMark mark) {
    switch (mark) {
        case DayMark::Red:
            return "R";
        case DayMark::Blue:
            return "B";
        default:
            return ".";
    }
}

std::string marksOf(const MonthGrid& grid) {
    std::string out;
    for (int cell = 0; cell < GridCellCount; ++cell) {
        out += markText(grid.marks[static_cast<std::size_t>(cell)]);
        if (cell % 7 == 6 && cell != GridCellCount - 1) out += "|";
    }
    return out;
}

TEST(MonthGrid, MarksOfWholeMonths) {
    const struct {
        int y, m;
        const char* marks;
    } cases[] = {
        // September 2026 from a Tuesday: 21, 22, 23 red, Sundays red, Saturdays blue.
        {2026, 9, "R.....B|R.....B|R.....B|RRRR..B|R.....B|R.....B"},
        // October 2026: only Sundays and the sports day (12th, cell 15).
        {2026, 10, "R.....B|R.....B|RR....B|R.....B|R.....B|R.....B"},
        // May 2025: May 3 on a Saturday red, 4 Sunday, 5, 6 the substitute.
        {2025, 5, "R.....R|RRR...B|R.....B|R.....B|R.....B|R.....B"},
        // February 2015: blank cells 28-41 keep the column colours.
        {2015, 2, "R.....B|R..R..B|R.....B|R.....B|R.....B|R.....B"},
        // April 2024: April 29 on a Monday, the 30th black.
        {2024, 4, "R.....B|R.....B|R.....B|R.....B|RR....B|R.....B"},
        // April 2018: April 29 on a Sunday, the 30th red.
        {2018, 4, "R.....B|R.....B|R.....B|R.....B|RR....B|R.....B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m));
        EXPECT_EQ(marksOf(drawMonthGrid(c.y, c.m)), c.marks);
    }
}

TEST(MonthGrid, HolidayCellsAreRedEvenOnSaturday) {
    MonthGrid grid = drawMonthGrid(2025, 5);
    EXPECT_EQ(grid.captions[cellOf(grid, 3)], "3");
    EXPECT_EQ(cellOf(grid, 3) % 7, 6u);
    EXPECT_EQ(grid.marks[cellOf(grid, 3)], DayMark::Red);
}

TEST(MonthGrid, BlankGridBeforeAnyDraw) {
    MonthGrid grid = blankMonthGrid();
    for (int cell = 0; cell < GridCellCount; ++cell) {
        auto k = static_cast<std::size_t>(cell);
        EXPECT_EQ(grid.captions[k], BlankCell);
        DayMark expected = cell % 7 == 0   ? DayMark::Red
                           : cell % 7 == 6 ? DayMark::Blue
                                           : DayMark::Black;
        EXPECT_EQ(grid.marks[k], expected) << cell;
    }
    EXPECT_TRUE(grid.sixthRowShown);
    EXPECT_EQ(grid.heightTwips, 3495);
}

}  // namespace
}  // namespace kippurun
