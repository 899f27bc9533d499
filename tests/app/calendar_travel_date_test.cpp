// Fixing the travel date: the start-up steps, 決定 and the date keys.
#include <gtest/gtest.h>

#include <filesystem>

#include "calendar_screen.h"

namespace kippurun::testing {
namespace {

TEST(CalendarTravelDate, StartUpShowsTodayItsSeasonAndItsCell) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    EXPECT_EQ(f.txtDate.text, "令和8年9月21日月曜日");
    EXPECT_EQ(f.txtTuki.text, "9");
    EXPECT_EQ(f.txtNichi.text, "21");
    EXPECT_EQ(f.txtSeason.text, "通常期");  // third Monday of September
    EXPECT_EQ(f.txtYear.text, "2026");
    EXPECT_EQ(f.txtMonth.text, "9");
    EXPECT_EQ(f.txtDay.text, "21");
    EXPECT_EQ(f.txtWeek.text, "3");  // of September 1st, a Tuesday
    EXPECT_EQ(f.txtNannen.text, "2026年");
    EXPECT_EQ(f.txtNangatsu.text, "9月");
    EXPECT_EQ(f.txtFocus.text, "");
    EXPECT_EQ(s.markedCells(), "22:○ ");
    EXPECT_EQ(f.lblDay(22).caption, "21");
    EXPECT_EQ(f.picCalender.geometry.height, 3015);
    for (int cell = 35; cell < 42; ++cell) EXPECT_FALSE(f.lblDay(cell).visible) << cell;
    EXPECT_EQ(f.lblHi(0).foreColor, (Rgb{255, 128, 128}));
}

TEST(CalendarTravelDate, LoadStepOpensOnTodayWithItsSeason) {
    FixedClock clock(ymd(2026, 12, 30));
    RecordingPrompt prompt;
    frmStart f(std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin", clock, prompt);
    f.Form_Load();
    EXPECT_EQ(f.txtDate.text, "令和8年12月30日水曜日");
    EXPECT_EQ(f.txtTuki.text, "12");
    EXPECT_EQ(f.txtNichi.text, "30");
    EXPECT_EQ(f.txtSeason.text, "繁忙期");
    EXPECT_EQ(f.txtNannen.text, "2026年");
    EXPECT_EQ(f.txtNangatsu.text, "12月");
    EXPECT_EQ(f.lblDay(31).caption, "30");
    EXPECT_EQ(f.lblHi(31).caption, "○");
    EXPECT_EQ(f.lblHi(0).caption, "");
    EXPECT_EQ(f.picCalender.geometry.height, 3015);
    EXPECT_TRUE(prompt.questions.empty());
}

TEST(CalendarTravelDate, KetteiAfterPagingFixesTheFirst) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    f.cmdYokuGetsu.press();
    EXPECT_EQ(f.txtDay.text, "1");
    EXPECT_EQ(s.markedCells(), "");
    EXPECT_EQ(f.txtTuki.text, "9");  // nothing fixed yet
    f.cmdDayKettei.press();
    EXPECT_EQ(f.txtTuki.text, "10");
    EXPECT_EQ(f.txtNichi.text, "1");
    EXPECT_EQ(f.txtDate.text, "令和8年10月1日木曜日");
    EXPECT_EQ(f.txtSeason.text, "通常期");
    EXPECT_EQ(s.markedCells(), "4:○ ");
    EXPECT_EQ(f.txtWeek.text, "5");
}

TEST(CalendarTravelDate, DayClickThenKettei) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    f.lblHi(25).click();  // September 24th, a Thursday
    EXPECT_EQ(f.txtDay.text, "24");
    EXPECT_EQ(f.txtFocus.text, "25");
    EXPECT_EQ(s.markedCells(), "25:○ ");
    EXPECT_EQ(f.txtSeason.text, "通常期");  // a click decides nothing
    f.cmdDayKettei.press();
    EXPECT_EQ(f.txtSeason.text, "閑散期");
    EXPECT_EQ(f.txtDate.text, "令和8年9月24日木曜日");
    EXPECT_EQ(s.markedCells(), "25:○ ");
}

struct KeyCase {
    Date today;
    CommandButton frmStart::*key;
    const char *tuki, *nichi, *date, *season, *nannen, *nangatsu;
};

TEST(CalendarTravelDate, DateKeys) {
    const KeyCase cases[] = {
        // The last day of a month: the 1st of the next, its month drawn.
        {ymd(2026, 9, 30), &frmStart::cmdTomorrow, "10", "1", "令和8年10月1日木曜日", "通常期",
         "2026年", "10月"},
        {ymd(2026, 12, 30), &frmStart::cmdAsatte, "1", "1", "令和9年1月1日金曜日", "繁忙期",
         "2027年", "1月"},
        {ymd(2024, 2, 28), &frmStart::cmdTomorrow, "2", "29", "令和6年2月29日木曜日", "閑散期",
         "2024年", "2月"},
        {ymd(2026, 9, 21), &frmStart::cmdTomorrow, "9", "22", "令和8年9月22日火曜日", "通常期",
         "2026年", "9月"},
        {ymd(2026, 5, 6), &frmStart::cmdToday, "5", "6", "令和8年5月6日水曜日", "繁忙期", "2026年",
         "5月"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        CalendarScreen s(ymd(2000, 1, 1));
        s.clock.set(c.today);
        (s.screen.*c.key).press();
        frmStart& f = s.screen;
        EXPECT_EQ(f.txtTuki.text, c.tuki);
        EXPECT_EQ(f.txtNichi.text, c.nichi);
        EXPECT_EQ(f.txtDate.text, c.date);
        EXPECT_EQ(f.txtSeason.text, c.season);
        EXPECT_EQ(f.txtNannen.text, c.nannen);
        EXPECT_EQ(f.txtNangatsu.text, c.nangatsu);
        EXPECT_EQ(f.txtDay.text, c.nichi);
        int marked = std::stoi(c.nichi) - 1 + (std::stoi(f.txtWeek.text) - 1);
        EXPECT_EQ(s.markedCells(), std::to_string(marked) + ":○ ");
    }
}

TEST(CalendarTravelDate, SeasonReadsTheTravelMonthNotTheShownOne) {
    // November 4th 2025 follows a Monday holiday (cell 8 red in November);
    // the December grid on display has a black cell 8.
    CalendarScreen s(ymd(2025, 11, 3));
    s.screen.cmdYokuGetsu.press();
    ASSERT_EQ(s.screen.txtNangatsu.text, "12月");
    s.screen.cmdTomorrow.press();
    EXPECT_EQ(s.screen.txtSeason.text, "通常期");
    EXPECT_EQ(s.screen.txtNangatsu.text, "11月");
}

TEST(CalendarTravelDate, DayPastTheMonthEndRollsOver) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    f.txtDay.text = "31";
    f.cmdDayKettei.press();
    EXPECT_EQ(f.txtTuki.text, "10");
    EXPECT_EQ(f.txtNichi.text, "1");
    EXPECT_EQ(f.txtDate.text, "令和8年10月1日木曜日");
    EXPECT_EQ(f.txtNangatsu.text, "10月");
    f.txtMonth.text = "13";
    f.txtDay.text = "1";
    f.cmdDayKettei.press();
    EXPECT_EQ(f.txtDate.text, "令和9年1月1日金曜日");
}

TEST(CalendarTravelDate, EachPressReadsTheClockOnce) {
    CalendarScreen s(ymd(2026, 9, 30), 1);
    for (CommandButton* key : {&s.screen.cmdToday, &s.screen.cmdTomorrow, &s.screen.cmdAsatte}) {
        int before = s.clock.reads;
        key->press();
        EXPECT_EQ(s.clock.reads - before, 1) << key->name();
    }
    int before = s.clock.reads;
    s.screen.Today();
    s.screen.dateBoxesFromToday();
    EXPECT_EQ(s.clock.reads - before, 2);
}

TEST(CalendarTravelDate, NonNumberInADateBoxChangesNothing) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    for (const char* bad : {"", "abc", "12x", "99999999999999999999"}) {
        f.txtDay.text = bad;
        f.cmdDayKettei.press();
        EXPECT_EQ(f.txtDate.text, "令和8年9月21日月曜日") << bad;
        EXPECT_EQ(f.txtNichi.text, "21") << bad;
        f.txtDay.text = "21";
        f.txtYear.text = bad;
        f.cmdYokuGetsu.press();
        f.cmdZenNen.press();
        f.Calender();
        EXPECT_EQ(f.txtNangatsu.text, "9月") << bad;
        EXPECT_EQ(f.lblDay(22).caption, "21") << bad;
        f.txtYear.text = "2026";
    }
}

TEST(CalendarTravelDate, DateBoxClicksBringTheCalendarPage) {
    CalendarScreen s(ymd(2026, 9, 21));
    frmStart& f = s.screen;
    f.txtTuki.click();
    EXPECT_EQ(f.tabFullKey.tab(), 2);
    f.tabFullKey.setTab(0);
    f.txtNichi.click();
    EXPECT_EQ(f.tabFullKey.tab(), 2);
    EXPECT_EQ(f.txtTuki.text, "9");
    EXPECT_EQ(f.txtSeason.text, "通常期");
}

}  // namespace
}  // namespace kippurun::testing
