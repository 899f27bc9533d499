#include "calendar/season_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace kippurun {
namespace {

struct SeasonCase {
    int y;
    unsigned m, d;
    std::string_view expected;
    const char* why;
};

void expectSeasons(std::initializer_list<SeasonCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d) +
                     " " + c.why);
        Date date{std::chrono::year{c.y}, std::chrono::month{c.m}, std::chrono::day{c.d}};
        EXPECT_EQ(seasonOf(date), c.expected);
    }
}

constexpr auto Peak = SeasonPeak;
constexpr auto Regular = SeasonRegular;
constexpr auto OffPeak = SeasonOffPeak;

TEST(SeasonRule, MonthsWithFixedBounds) {
    expectSeasons({
        {2026, 1, 1, Peak, ""},
        {2026, 1, 10, Peak, ""},
        {2026, 1, 11, Regular, ""},
        {2026, 1, 15, Regular, ""},
        {2025, 1, 16, OffPeak, "Thursday"},
        {2026, 1, 16, Regular, "Friday"},
        {2026, 2, 10, Regular, "Tuesday"},
        {2026, 2, 11, Regular, "Wednesday"},
        {2026, 2, 12, OffPeak, "Thursday"},
        {2018, 2, 12, OffPeak, "substitute holiday, a Monday"},
        {2026, 2, 14, Regular, "Saturday"},
        {2026, 3, 20, Regular, "equinox"},
        {2026, 3, 21, Peak, "Saturday after the equinox"},
        {2022, 3, 20, Regular, "Sunday before the equinox"},
        {2022, 3, 21, Peak, "equinox"},
        {2026, 4, 27, Regular, ""},
        {2026, 4, 28, Peak, ""},
        {2026, 5, 6, Peak, ""},
        {2026, 5, 7, Regular, ""},
        {2026, 7, 20, Regular, ""},
        {2026, 7, 21, Peak, ""},
        {2026, 8, 1, Peak, ""},
        {2026, 8, 19, Peak, "Wednesday"},
        {2026, 8, 31, Peak, ""},
        {2026, 10, 1, Regular, ""},
        {2026, 10, 14, Regular, "Wednesday"},
        {2026, 10, 31, Regular, ""},
    });
}

TEST(SeasonRule, WeekdayRuleInJune) {
    expectSeasons({
        {2026, 6, 1, OffPeak, "Monday"},
        {2026, 6, 3, OffPeak, "Wednesday"},
        {2026, 6, 4, OffPeak, "Thursday"},
        {2026, 6, 5, Regular, "Friday"},
        {2026, 6, 6, Regular, "Saturday"},
        {2026, 6, 7, Regular, "Sunday"},
    });
}

TEST(SeasonRule, SeptemberAroundTheEquinox) {
    expectSeasons({
        // 2012: equinox on Saturday the 22nd; third Monday the 17th.
        {2012, 9, 21, Regular, "E-1"},
        {2012, 9, 22, Regular, "E"},
        {2012, 9, 23, Regular, "Sunday, weekday rule"},
        {2012, 9, 24, OffPeak, "Monday, no holiday"},
        {2012, 9, 17, Regular, "third Monday, cell 22"},
        {2012, 9, 10, OffPeak, "Monday in cell 15, not red"},
        // 2016: equinox on Thursday the 22nd; third Monday the 19th.
        {2016, 9, 21, Regular, "E-1"},
        {2016, 9, 22, Regular, "E"},
        {2016, 9, 23, Regular, "Friday"},
        {2016, 9, 20, OffPeak, "Tuesday"},
        {2016, 9, 19, Regular, "third Monday"},
        {2016, 9, 12, OffPeak, "Monday, not red"},
        // 2026: equinox on Wednesday the 23rd, third Monday the 21st,
        // citizens' holiday the 22nd.
        {2026, 9, 21, Regular, "third Monday in cell 22"},
        {2026, 9, 22, Regular, "E-1"},
        {2026, 9, 23, Regular, "E"},
        {2026, 9, 24, OffPeak, "Thursday"},
        {2026, 9, 14, OffPeak, "Monday in cell 15, not red"},
        {2026, 9, 25, Regular, "Friday"},
        // 2018: equinox on Sunday the 23rd; the 24th is its substitute.
        {2018, 9, 22, Regular, "E-1, Saturday"},
        {2018, 9, 23, Regular, "E, Sunday"},
        {2018, 9, 24, Regular, "substitute in cell 29"},
        {2018, 9, 17, Regular, "third Monday"},
        {2018, 9, 10, OffPeak, "Monday, not red"},
        {2018, 9, 25, OffPeak, "Tuesday"},
        // 2024: equinox on Sunday the 22nd, the 23rd its substitute.
        {2024, 9, 23, Regular, "substitute after a Sunday equinox of the 22nd"},
        {2024, 9, 24, OffPeak, "Tuesday"},
        {2024, 9, 16, Regular, "third Monday"},
        {2024, 9, 9, OffPeak, "Monday, not red"},
    });
}

TEST(SeasonRule, NovemberCellsEightAndTwentyNine) {
    expectSeasons({
        {2026, 11, 2, Regular, ""},
        {2026, 11, 3, Regular, ""},
        {2026, 11, 22, Regular, ""},
        {2026, 11, 23, Regular, ""},
        // Cell 8 red: November 3 on a Monday (2025) or on a Sunday (2019).
        {2025, 11, 4, Regular, "cell 8 is the 3rd"},
        {2019, 11, 4, Regular, "cell 8 is the substitute 4th"},
        // Cell 8 not red, whatever the weekday of the 4th.
        {2026, 11, 4, OffPeak, "Wednesday"},
        {2023, 11, 4, OffPeak, "Saturday"},
        {2018, 11, 4, OffPeak, "Sunday"},
        // Cell 29 red only when it is the substitute 24th (November 23 on a Sunday).
        {2025, 11, 24, Regular, "substitute"},
        {2026, 11, 24, OffPeak, "Tuesday"},
        {2019, 11, 24, OffPeak, "Sunday, cell 29 is the 25th"},
        {2026, 11, 5, OffPeak, "Thursday"},
        {2026, 11, 6, Regular, "Friday"},
    });
}

TEST(SeasonRule, December) {
    expectSeasons({
        {2018, 12, 20, OffPeak, "Thursday"},
        {2026, 12, 20, Regular, "Sunday"},
        {2026, 12, 21, Regular, "Monday"},
        {2026, 12, 24, Regular, ""},
        {2026, 12, 25, Peak, ""},
        {2026, 12, 31, Peak, ""},
        {2027, 1, 1, Peak, "the day after"},
    });
}

}  // namespace
}  // namespace kippurun
