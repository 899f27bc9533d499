// The calendar page: drawing, paging and day clicks.
#include <gtest/gtest.h>

#include "calendar_screen.h"

namespace kippurun::testing {
namespace {

// "R" red, "B" blue, "." black per cell, rows split by "|".
std::string colours(frmStart& f) {
    std::string out;
    for (int cell = 0; cell < 42; ++cell) {
        Rgb c = f.lblDay(cell).foreColor;
        out += c == RgbRed ? "R" : c == RgbBlue ? "B" : c == RgbBlack ? "." : "?";
        if (cell % 7 == 6 && cell != 41) out += "|";
    }
    return out;
}

std::string captions(frmStart& f, int from, int to) {
    std::string out;
    for (int cell = from; cell <= to; ++cell) out += f.lblDay(cell).caption + " ";
    return out;
}

TEST(CalendarPage, MonthKeysAcrossTheYearEnd) {
    CalendarScreen s(ymd(2026, 12, 9));
    frmStart& f = s.screen;
    f.cmdYokuGetsu.press();
    EXPECT_EQ(f.txtNannen.text, "2027年");
    EXPECT_EQ(f.txtNangatsu.text, "1月");
    EXPECT_EQ(f.txtYear.text, "2027");
    EXPECT_EQ(f.txtMonth.text, "1");
    EXPECT_EQ(captions(f, 4, 6), "・ 1 2 ");  // January 1st 2027 is a Friday
    f.cmdZenGetu.press();
    EXPECT_EQ(f.txtNannen.text, "2026年");
    EXPECT_EQ(f.txtNangatsu.text, "12月");
    f.cmdZenGetu.press();
    f.cmdZenGetu.press();
    EXPECT_EQ(f.txtNangatsu.text, "10月");
    EXPECT_EQ(f.txtNannen.text, "2026年");

    CalendarScreen january(ymd(2026, 1, 15));
    january.screen.cmdZenGetu.press();
    EXPECT_EQ(january.screen.txtNannen.text, "2025年");
    EXPECT_EQ(january.screen.txtNangatsu.text, "12月");
    EXPECT_EQ(captions(january.screen, 0, 1), "・ 1 ");  // December 1st 2025, a Monday
}

// At either end of the years a date can hold, paging stops with the year
// shown, the hidden year and the month all agreeing.
TEST(CalendarPage, PagingStopsAtTheEndsOfTheCalendar) {
    CalendarScreen last(ymd(32767, 11, 9));
    frmStart& f = last.screen;
    f.cmdYokuNen.press();
    f.cmdYokuGetsu.press();
    f.cmdYokuGetsu.press();
    f.cmdYokuNen.press();
    EXPECT_EQ(f.txtNannen.text, "32767年");
    EXPECT_EQ(f.txtYear.text, "32767");
    EXPECT_EQ(f.txtNangatsu.text, "12月");
    EXPECT_EQ(f.txtMonth.text, "12");
    f.cmdZenGetu.press();
    EXPECT_EQ(f.txtMonth.text, "11");

    CalendarScreen first(ymd(-32767, 2, 9));
    frmStart& g = first.screen;
    g.cmdZenNen.press();
    g.cmdZenGetu.press();
    g.cmdZenGetu.press();
    EXPECT_EQ(g.txtNannen.text, "-32767年");
    EXPECT_EQ(g.txtYear.text, "-32767");
    EXPECT_EQ(g.txtNangatsu.text, "1月");
    EXPECT_EQ(g.txtMonth.text, "1");
}

TEST(CalendarPage, YearKeysLeaveTheMonthText) {
    CalendarScreen s(ymd(2026, 2, 10));
    frmStart& f = s.screen;
    f.cmdYokuNen.press();
    EXPECT_EQ(f.txtNannen.text, "2027年");
    EXPECT_EQ(f.txtNangatsu.text, "2月");
    EXPECT_EQ(f.txtDay.text, "1");
    EXPECT_EQ(s.markedCells(), "");
    f.cmdZenNen.press();
    f.cmdZenNen.press();
    f.cmdZenNen.press();
    EXPECT_EQ(f.txtNannen.text, "2024年");
    EXPECT_EQ(captions(f, 32, 33), "29 ・ ");  // a leap year's February
    EXPECT_EQ(f.txtSeason.text, "通常期");     // paging decides nothing
}

TEST(CalendarPage, RowsAndHeight) {
    CalendarScreen s(ymd(2026, 2, 10));  // 28 days from a Sunday
    frmStart& f = s.screen;
    EXPECT_EQ(f.picCalender.geometry.height, 3015);
    EXPECT_EQ(captions(f, 27, 28), "28 ・ ");
    for (int cell = 35; cell < 42; ++cell) EXPECT_FALSE(f.lblDay(cell).visible);
    f.txtMonth.text = "5";  // 31 days from a Friday
    f.cmdDayKettei.press();
    EXPECT_EQ(f.picCalender.geometry.height, 3495);
    EXPECT_EQ(f.lblDay(35).caption, "31");
    for (int cell = 35; cell < 42; ++cell) EXPECT_TRUE(f.lblDay(cell).visible);
    EXPECT_TRUE(f.lblHi(41).visible);
}

TEST(CalendarPage, SeptemberFromOctoberKeepsNoOctoberColour) {
    CalendarScreen s(ymd(2026, 10, 12));
    frmStart& f = s.screen;
    EXPECT_EQ(f.lblDay(15).foreColor, RgbRed);  // the sports day
    f.cmdZenGetu.press();
    EXPECT_EQ(colours(f), "R.....B|R.....B|R.....B|RRRR..B|R.....B|R.....B");
    EXPECT_EQ(f.lblDay(15).caption, "14");
    EXPECT_EQ(f.lblDay(15).foreColor, RgbBlack);
}

TEST(CalendarPage, DayClicks) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    for (int blank : {0, 1, 32, 41}) {
        f.lblHi(blank).click();
        EXPECT_EQ(s.markedCells(), "22:○ ") << blank;
        EXPECT_EQ(f.txtDay.text, "21") << blank;
        EXPECT_EQ(f.txtFocus.text, "") << blank;
    }
    f.lblHi(10).click();
    EXPECT_EQ(s.markedCells(), "10:○ ");
    EXPECT_EQ(f.txtDay.text, "9");
    EXPECT_EQ(f.txtFocus.text, "10");
    EXPECT_EQ(f.txtNichi.text, "21");
    f.lblHi_Click(-1);  // not a cell
    f.lblHi_Click(42);
    EXPECT_EQ(s.markedCells(), "10:○ ");
}

}  // namespace
}  // namespace kippurun::testing
