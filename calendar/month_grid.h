#pragma once
// The month calendar: 42 cells, 7 per row from Sunday, with their day
// captions and colour marks.
#include <array>
#include <string>

namespace kippurun {

inline constexpr int GridCellCount = 42;
inline constexpr int GridHeightSixRows = 3495;  // twips
inline constexpr int GridHeightFiveRows = 3015;
inline constexpr const char* BlankCell = "・";

enum class DayMark { Black, Red, Blue };  // RGB (0,0,0), (255,0,0), (0,0,255)

struct MonthGrid {
    int year = 0;  // after overflow of the month was rolled forward
    int month = 0;
    int firstWeekday = 1;                             // of the 1st, 1 = Sunday
    std::array<std::string, GridCellCount> captions;  // "1".."31" or "・"
    std::array<DayMark, GridCellCount> marks{};
    bool sixthRowShown = true;
    int heightTwips = GridHeightSixRows;
};

// Draws year/month (month may overflow: 13 is January of the next year).
MonthGrid drawMonthGrid(long long year, long long month);
// The grid before any draw: every cell "・", column colours.
MonthGrid blankMonthGrid();

}  // namespace kippurun
