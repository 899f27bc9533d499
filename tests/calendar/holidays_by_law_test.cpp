// The red days of 2000-2050 worked out here from the law's rules on a
// day-of-year list, with its own weekday and month arithmetic, and compared
// day by day with the holiday calendar.
#include <gtest/gtest.h>

#include "red_day.h"

#include <array>
#include <set>
#include <string>

#include "calendar/holidays.h"

namespace kippurun {
namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int monthLength(int y, int m) {
    static constexpr std::array<int, 12> lengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && leap(y)) ? 29 : lengths[static_cast<std::size_t>(m - 1)];
}

int dayOfYear(int y, int m, int d) {
    int n = d;
    for (int k = 1; k < m; ++k) n += monthLength(y, k);
    return n;
}

// Sakamoto's method: 0 = Sunday.
int weekday(int y, int m, int d) {
    static constexpr std::array<int, 12> t{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + t[static_cast<std::size_t>(m - 1)] + d) % 7;
}

int nthMonday(int y, int m, int n) {
    int first = 1 + (8 - weekday(y, m, 1)) % 7;
    return first + 7 * (n - 1);
}

// The equinox days of 2000-2050 as the tables list them.
int vernal(int y) {
    if (y < 2024) return (y % 4 <= 1) ? 20 : 21;
    return (y % 4 == 3) ? 21 : 20;
}
int autumnal(int y) {
    if ((y >= 2012 && y % 4 == 0) || y == 2045 || y == 2049) return 22;
    return 23;
}

struct FixedDay {
    int m, d, from, to;
};
constexpr FixedDay FixedDays[] = {
    {1, 1, 1949, 9999},   {1, 15, 1949, 1999}, {2, 11, 1967, 9999},  {2, 23, 2020, 9999},
    {4, 29, 1949, 9999},  {5, 3, 1949, 9999},  {5, 4, 2007, 9999},   {5, 5, 1949, 9999},
    {7, 20, 1996, 2002},  {8, 11, 2016, 2019}, {8, 11, 2022, 9999},  {9, 15, 1966, 2002},
    {10, 10, 1966, 1999}, {11, 3, 1948, 9999}, {11, 23, 1948, 9999}, {12, 23, 1989, 2018},
};
struct MondayRule {
    int m, n, from, to;
};
constexpr MondayRule MondayRules[] = {
    {1, 2, 2000, 9999}, {7, 3, 2003, 2019},  {7, 3, 2022, 9999},
    {9, 3, 2003, 9999}, {10, 2, 2000, 2019}, {10, 2, 2022, 9999},
};
struct OneOff {
    int y, m, d;
};
constexpr OneOff OneOffs[] = {{2019, 5, 1},  {2019, 10, 22}, {2020, 7, 23}, {2020, 7, 24},
                              {2020, 8, 10}, {2021, 7, 22},  {2021, 7, 23}, {2021, 8, 8}};

// Days of the year that are holidays of the law.
std::set<int> lawHolidays(int y) {
    std::set<int> days;
    for (const auto& f : FixedDays)
        if (y >= f.from && y <= f.to) days.insert(dayOfYear(y, f.m, f.d));
    for (const auto& r : MondayRules)
        if (y >= r.from && y <= r.to) days.insert(dayOfYear(y, r.m, nthMonday(y, r.m, r.n)));
    for (const auto& o : OneOffs)
        if (o.y == y) days.insert(dayOfYear(y, o.m, o.d));
    days.insert(dayOfYear(y, 3, vernal(y)));
    days.insert(dayOfYear(y, 9, autumnal(y)));
    return days;
}

// Day of the year -> weekday, counting on from January 1st.
int weekdayOfDay(int y, int n) { return (weekday(y, 1, 1) + n - 1) % 7; }

std::set<int> daysOff(int y) {
    std::set<int> law = lawHolidays(y);
    std::set<int> off = law;
    for (int h : law) {
        if (weekdayOfDay(y, h) != 0) continue;
        int next = h + 1;
        if (y >= 2007)
            while (law.count(next)) ++next;
        off.insert(next);
    }
    for (int h : law) {
        bool sundayExcluded = y < 2007 && weekdayOfDay(y, h + 1) == 0;
        if (!law.count(h + 1) && law.count(h + 2) && !sundayExcluded) off.insert(h + 1);
    }
    return off;
}

TEST(HolidaysByLaw, RedDaysOf2000To2050) {
    for (int y = 2000; y <= 2050; ++y) {
        std::set<int> off = daysOff(y);
        int n = 0;
        int mismatches = 0;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= monthLength(y, m); ++d) {
                ++n;
                bool holiday = off.count(n) > 0;
                bool red = holiday || weekday(y, m, d) == 0;
                if (isHoliday(y, m, d) != holiday || isRedDay(y, m, d) != red) {
                    ADD_FAILURE() << y << "-" << m << "-" << d << ": expected holiday " << holiday
                                  << " red " << red;
                    ++mismatches;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << y;
        EXPECT_EQ(vernalEquinoxDay(y), vernal(y)) << y;
        EXPECT_EQ(autumnalEquinoxDay(y), autumnal(y)) << y;
    }
}

TEST(HolidaysByLaw, CountOfDaysOffPerYear) {
    // Plausibility of the generator itself: 2026 has 16 holidays of the law,
    // one substitute (May 6) and one citizens' holiday (September 22).
    EXPECT_EQ(lawHolidays(2026).size(), 16u);
    EXPECT_EQ(daysOff(2026).size(), 18u);
}

}  // namespace
}  // namespace kippurun
