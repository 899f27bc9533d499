#include "calendar/date_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace kippurun {
namespace {

using std::chrono::year;

Date ymd(int y, unsigned m, unsigned d) {
    return Date{year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

struct MakeDateCase {
    long long y, m, d;
    Date expected;
};

TEST(MakeDate, OverflowRollsForwardAndBack) {
    const MakeDateCase cases[] = {
        {2026, 9, 21, ymd(2026, 9, 21)},  {2026, 4, 31, ymd(2026, 5, 1)},
        {2026, 11, 31, ymd(2026, 12, 1)}, {2026, 2, 29, ymd(2026, 3, 1)},
        {2024, 2, 29, ymd(2024, 2, 29)},  {2026, 12, 32, ymd(2027, 1, 1)},
        {2026, 13, 1, ymd(2027, 1, 1)},   {2026, 25, 1, ymd(2028, 1, 1)},
        {2026, 0, 1, ymd(2025, 12, 1)},   {2026, -1, 1, ymd(2025, 11, 1)},
        {2026, -12, 1, ymd(2024, 12, 1)}, {2026, 3, 0, ymd(2026, 2, 28)},
        {2024, 3, 0, ymd(2024, 2, 29)},   {2026, 1, 0, ymd(2025, 12, 31)},
        {2026, 1, -30, ymd(2025, 12, 1)}, {2026, 1, 365, ymd(2026, 12, 31)},
        {2026, 13, 0, ymd(2026, 12, 31)}, {2026, 0, 0, ymd(2025, 11, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(makeDate(c.y, c.m, c.d), c.expected);
    }
}

TEST(MakeDate, ExtremeInputsGiveAValidDate) {
    EXPECT_TRUE(makeDate(LLONG_MAX, LLONG_MAX, LLONG_MAX).ok());
    EXPECT_TRUE(makeDate(LLONG_MIN, LLONG_MIN, LLONG_MIN).ok());
    EXPECT_TRUE(makeDate(40000, 1, 1).ok());
    EXPECT_TRUE(addDays(ymd(32767, 12, 31), 1).ok());
    EXPECT_TRUE(addDays(ymd(-32767, 1, 1), LLONG_MIN).ok());
}

TEST(AddDays, CrossesMonthsYearsAndLeapDays) {
    EXPECT_EQ(addDays(ymd(2026, 12, 30), 2), ymd(2027, 1, 1));
    EXPECT_EQ(addDays(ymd(2026, 9, 30), 1), ymd(2026, 10, 1));
    EXPECT_EQ(addDays(ymd(2024, 2, 28), 1), ymd(2024, 2, 29));
    EXPECT_EQ(addDays(ymd(2100, 2, 28), 1), ymd(2100, 3, 1));
    EXPECT_EQ(addDays(ymd(2026, 1, 1), -1), ymd(2025, 12, 31));
    EXPECT_EQ(addDays(ymd(2026, 1, 1), 0), ymd(2026, 1, 1));
}

TEST(WeekdayNumber, SundayIsOne) {
    EXPECT_EQ(weekdayNumber(ymd(2004, 11, 7)), 1);  // Sunday
    EXPECT_EQ(weekdayNumber(ymd(2026, 9, 21)), 2);  // Monday
    EXPECT_EQ(weekdayNumber(ymd(2026, 12, 9)), 4);  // Wednesday
    EXPECT_EQ(weekdayNumber(ymd(2026, 8, 1)), 7);   // Saturday
    EXPECT_EQ(weekdayNumber(ymd(2000, 1, 1)), 7);
}

TEST(DaysInMonth, GregorianLeapYears) {
    const struct {
        int y, m, n;
    } cases[] = {{2024, 2, 29},  {2016, 2, 29},  {2020, 2, 29}, {2028, 2, 29},
                 {2000, 2, 29},  {2100, 2, 28},  {1900, 2, 28}, {2026, 2, 28},
                 {2026, 1, 31},  {2026, 4, 30},  {2026, 6, 30}, {2026, 9, 30},
                 {2026, 11, 30}, {2026, 12, 31}, {2026, 0, 0},  {2026, 13, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m));
        EXPECT_EQ(daysInMonth(c.y, c.m), c.n);
    }
}

TEST(EraLongDate, JapaneseEraWithFirstYearAsGannen) {
    const struct {
        Date date;
        const char* text;
    } cases[] = {
        {ymd(2004, 11, 7), "平成16年11月7日日曜日"}, {ymd(2019, 5, 1), "令和元年5月1日水曜日"},
        {ymd(2026, 12, 9), "令和8年12月9日水曜日"},  {ymd(2019, 4, 30), "平成31年4月30日火曜日"},
        {ymd(1989, 1, 7), "昭和64年1月7日土曜日"},   {ymd(1989, 1, 8), "平成元年1月8日日曜日"},
        {ymd(2026, 9, 22), "令和8年9月22日火曜日"},  {ymd(2027, 1, 1), "令和9年1月1日金曜日"},
    };
    for (const auto& c : cases) EXPECT_EQ(eraLongDate(c.date), c.text);
}

}  // namespace
}  // namespace kippurun

namespace kippurun {
namespace {

// The modern eras are written without ICU's date pattern; the text must be
// the pattern's to the letter: every day from 明治 to 2100, each era's first
// and last day, and a sample of later days up to where the pattern takes over.
TEST(EraLongDate, TheSameTextAsIcusPattern) {
    std::vector<Date> dates;
    for (Date d = ymd(1867, 12, 25); d <= ymd(2100, 12, 31); d = addDays(d, 1)) dates.push_back(d);
    for (Date d = ymd(2101, 1, 1); d <= ymd(10000, 1, 10); d = addDays(d, 97)) dates.push_back(d);
    for (const Date d : {ymd(9999, 12, 31), ymd(10000, 1, 1), ymd(1, 1, 1), ymd(-5, 3, 1)})
        dates.push_back(d);
    for (const Date d : dates) {
        const std::string byPattern = eraLongDateByPattern(d);
        ASSERT_EQ(eraLongDate(d), byPattern)
            << static_cast<int>(d.year()) << "-" << static_cast<unsigned>(d.month()) << "-"
            << static_cast<unsigned>(d.day());
    }
    EXPECT_EQ(eraLongDateByPattern(ymd(2019, 5, 1)), "令和元年5月1日水曜日");
}

// The eras are read once for the program, by whichever thread is first (the
// start reads them on another thread while the load step may already ask):
// threads asking at once all get the text the pattern writes.
TEST(EraLongDate, ThreadsAskingAtOnceGetTheSameText) {
    const std::vector<Date> dates = {ymd(1868, 10, 23), ymd(1912, 7, 30), ymd(1926, 12, 25),
                                     ymd(1989, 1, 8),   ymd(2019, 5, 1),  ymd(2026, 12, 9)};
    std::vector<std::vector<std::string>> texts(4);
    std::vector<std::thread> threads;
    for (auto& out : texts)
        threads.emplace_back([&dates, &out] {
            loadEraNames();
            for (const Date d : dates) out.push_back(eraLongDate(d));
        });
    for (std::thread& t : threads) t.join();
    for (const auto& out : texts)
        for (std::size_t i = 0; i < dates.size(); ++i)
            EXPECT_EQ(out[i], eraLongDateByPattern(dates[i]));
}

}  // namespace
}  // namespace kippurun
