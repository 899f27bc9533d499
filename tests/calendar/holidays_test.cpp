#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include "red_day.h"

#include <sstream>
#include <string>
#include <string_view>

namespace kippurun {
namespace {

// Dates written "YYYY-MM-DD", separated by spaces.
void expectHolidays(std::string_view dates, bool expected) {
    std::istringstream in{std::string(dates)};
    std::string date;
    while (in >> date) {
        SCOPED_TRACE(date);
        int y = 0, m = 0, d = 0;
        char dash1 = 0, dash2 = 0;
        std::istringstream fields(date);
        ASSERT_TRUE(fields >> y >> dash1 >> m >> dash2 >> d);
        EXPECT_EQ(isHoliday(y, m, d), expected);
        if (expected) {
            EXPECT_TRUE(isRedDay(y, m, d));
        }
    }
}

TEST(Holidays, SpotChecks2026) {
    expectHolidays(
        "2026-01-01 2026-01-12 2026-02-11 2026-02-23 2026-03-20 2026-04-29 2026-05-03 2026-05-04 "
        "2026-05-05 2026-05-06 2026-07-20 2026-08-11 2026-09-21 2026-09-22 2026-09-23 2026-10-12 "
        "2026-11-03 2026-11-23",
        true);
    // The days the old year lists got wrong for today's dates.
    expectHolidays("2026-11-24 2026-03-21 2026-12-23 2026-01-15", false);
    EXPECT_FALSE(isRedDay(2026, 11, 24));
    EXPECT_FALSE(isRedDay(2026, 12, 23));
}

TEST(Holidays, SpotChecks2019And2020) {
    expectHolidays(
        "2019-04-29 2019-04-30 2019-05-01 2019-05-02 2019-05-03 2019-05-04 2019-05-05 2019-05-06 "
        "2019-10-22 2020-07-23 2020-07-24 2020-08-10 2020-02-24",
        true);
    expectHolidays("2019-12-23 2019-02-23 2020-07-20 2020-08-11", false);
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
    // The announced days on either side of the 1980 row change, and the
    // first year of the last row.
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
    expectHolidays("1973-04-30 2001-09-24 2006-01-02 2017-01-02", true);
    // From 2007 the next day that is no holiday: May 3 on a Sunday gives May 6.
    expectHolidays("2009-05-06 2015-05-06 2020-05-06 2026-05-06", true);
    // Before the substitute rule came into force.
    expectHolidays("1973-02-12", false);
    // A Sunday May 4 before 2007 was no holiday, so nothing follows it.
    expectHolidays("2003-05-06", false);
}

TEST(Holidays, CitizensHolidays) {
    expectHolidays(
        "1988-05-04 1993-05-04 2006-05-04 2009-09-22 2015-09-22 2019-04-30 2019-05-02 2026-09-22 "
        "2032-09-21",
        true);
    // Before the rule, and a Sunday May 4 under the old law.
    expectHolidays("1985-05-04 2003-05-04", false);
    EXPECT_TRUE(isRedDay(2003, 5, 4));
}

TEST(Holidays, HistoricalAndOneOffDays) {
    expectHolidays(
        "1959-04-10 1989-02-24 1990-11-12 1993-06-09 1999-01-15 1999-10-11 1988-04-29 1998-12-23 "
        "2002-07-20 2002-09-16",
        true);
    expectHolidays("1948-01-01 1966-02-11 1995-07-20 2000-01-15 2003-07-20", false);
    EXPECT_FALSE(isRedDay(1948, 1, 1));
    EXPECT_TRUE(isRedDay(1948, 1, 4));  // a Sunday
}

TEST(Holidays, NoDateOutsideTheCalendar) {
    expectHolidays("2026-02-29 2026-13-01 2026-00-01 2026-04-31 2026-01-00", false);
    EXPECT_FALSE(isRedDay(2026, 2, 30));
    EXPECT_FALSE(isRedDay(40000, 1, 1));
    EXPECT_FALSE(isHoliday(-40000, 1, 1));
}

}  // namespace
}  // namespace kippurun
