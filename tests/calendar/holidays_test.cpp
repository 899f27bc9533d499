#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <string>

namespace kippurun {
namespace {

struct Day {
    int y, m, d;
};

std::string text(const Day& day) {
    return std::to_string(day.y) + "-" + std::to_string(day.m) + "-" + std::to_string(day.d);
}

void expectHolidays(std::initializer_list<Day> days, bool expected) {
    for (const Day& day : days) {
        SCOPED_TRACE(text(day));
        EXPECT_EQ(isHoliday(day.y, day.m, day.d), expected);
        if (expected) {
            EXPECT_TRUE(isRedDay(day.y, day.m, day.d));
        }
    }
}

TEST(Holidays, SpotChecks2026) {
    expectHolidays({{2026, 1, 1},
                    {2026, 1, 12},
                    {2026, 2, 11},
                    {2026, 2, 23},
                    {2026, 3, 20},
                    {2026, 4, 29},
                    {2026, 5, 3},
                    {2026, 5, 4},
                    {2026, 5, 5},
                    {2026, 5, 6},
                    {2026, 7, 20},
                    {2026, 8, 11},
                    {2026, 9, 21},
                    {2026, 9, 22},
                    {2026, 9, 23},
                    {2026, 10, 12},
                    {2026, 11, 3},
                    {2026, 11, 23}},
                   true);
    // The days the old year lists got wrong for today's dates.
    expectHolidays({{2026, 11, 24}, {2026, 3, 21}, {2026, 12, 23}, {2026, 1, 15}}, false);
    EXPECT_FALSE(isRedDay(2026, 11, 24));
    EXPECT_FALSE(isRedDay(2026, 12, 23));
}

TEST(Holidays, SpotChecks2019And2020) {
    expectHolidays({{2019, 4, 29},
                    {2019, 4, 30},
                    {2019, 5, 1},
                    {2019, 5, 2},
                    {2019, 5, 3},
                    {2019, 5, 4},
                    {2019, 5, 5},
                    {2019, 5, 6},
                    {2019, 10, 22},
                    {2020, 7, 23},
                    {2020, 7, 24},
                    {2020, 8, 10},
                    {2020, 2, 24}},
                   true);
    expectHolidays({{2019, 12, 23}, {2019, 2, 23}, {2020, 7, 20}, {2020, 8, 11}}, false);
    for (int d = 1; d <= 31; ++d) EXPECT_FALSE(isHoliday(2020, 10, d)) << "2020-10-" << d;
}

TEST(Holidays, EquinoxDaysOfTheCheckList) {
    for (int y : {2004, 2005, 2008, 2009, 2012, 2013, 2016, 2017, 2020, 2021, 2024, 2025, 2026})
        EXPECT_EQ(vernalEquinoxDay(y), 20) << y;
    for (int y : {2006, 2007, 2010, 2011, 2014, 2015, 2018, 2019, 2022, 2023})
        EXPECT_EQ(vernalEquinoxDay(y), 21) << y;
    for (int y : {2012, 2016, 2020, 2024, 2028}) EXPECT_EQ(autumnalEquinoxDay(y), 22) << y;
    for (int y = 2004; y <= 2027; ++y) {
        if (y % 4 == 0 && y >= 2012) continue;
        EXPECT_EQ(autumnalEquinoxDay(y), 23) << y;
    }
}

TEST(Holidays, EquinoxFormulaRowsAndFarYears) {
    // Announced days on either side of the 1980 row change.
    EXPECT_EQ(vernalEquinoxDay(1979), 21);
    EXPECT_EQ(autumnalEquinoxDay(1979), 24);
    EXPECT_EQ(vernalEquinoxDay(1960), 20);
    EXPECT_EQ(autumnalEquinoxDay(1960), 23);
    EXPECT_EQ(vernalEquinoxDay(1980), 20);
    EXPECT_EQ(autumnalEquinoxDay(1980), 23);
    EXPECT_EQ(vernalEquinoxDay(2100), 20);
    EXPECT_EQ(autumnalEquinoxDay(2100), 23);
    for (int y : {-30000, 1000, 3000, 30000}) {
        EXPECT_GE(vernalEquinoxDay(y), 1) << y;
        EXPECT_LE(vernalEquinoxDay(y), 31) << y;
        EXPECT_GE(autumnalEquinoxDay(y), 1) << y;
        EXPECT_LE(autumnalEquinoxDay(y), 30) << y;
    }
}

TEST(Holidays, SubstituteHolidays) {
    // Until 2006: the Monday after.
    expectHolidays({{1973, 4, 30}, {2001, 9, 24}, {2006, 1, 2}, {2017, 1, 2}}, true);
    // From 2007 the next day that is no holiday: May 3 on a Sunday gives May 6.
    expectHolidays({{2009, 5, 6}, {2015, 5, 6}, {2020, 5, 6}, {2026, 5, 6}}, true);
    // Before the substitute rule came into force.
    expectHolidays({{1973, 2, 12}}, false);
    // A Sunday May 4 before 2007 was no holiday, so nothing follows it.
    expectHolidays({{2003, 5, 6}}, false);
}

TEST(Holidays, CitizensHolidays) {
    expectHolidays({{1988, 5, 4},
                    {1993, 5, 4},
                    {2006, 5, 4},
                    {2009, 9, 22},
                    {2015, 9, 22},
                    {2019, 4, 30},
                    {2019, 5, 2},
                    {2026, 9, 22},
                    {2032, 9, 21}},
                   true);
    // Before the rule, and a Sunday May 4 under the old law.
    expectHolidays({{1985, 5, 4}, {2003, 5, 4}}, false);
    EXPECT_TRUE(isRedDay(2003, 5, 4));
}

TEST(Holidays, HistoricalAndOneOffDays) {
    expectHolidays({{1959, 4, 10},
                    {1989, 2, 24},
                    {1990, 11, 12},
                    {1993, 6, 9},
                    {1999, 1, 15},
                    {1999, 10, 11},
                    {1988, 4, 29},
                    {1998, 12, 23},
                    {2002, 7, 20},
                    {2002, 9, 16}},
                   true);
    expectHolidays({{1948, 1, 1}, {1966, 2, 11}, {1995, 7, 20}, {2000, 1, 15}, {2003, 7, 20}},
                   false);
    EXPECT_FALSE(isRedDay(1948, 1, 1));
    EXPECT_TRUE(isRedDay(1948, 1, 4));  // a Sunday
}

TEST(Holidays, NoDateOutsideTheCalendar) {
    expectHolidays({{2026, 2, 29}, {2026, 13, 1}, {2026, 0, 1}, {2026, 4, 31}, {2026, 1, 0}},
                   false);
    EXPECT_FALSE(isRedDay(2026, 2, 30));
    EXPECT_FALSE(isRedDay(40000, 1, 1));
    EXPECT_FALSE(isHoliday(-40000, 1, 1));
}

}  // namespace
}  // namespace kippurun
