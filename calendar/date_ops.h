#pragma once
// Date arithmetic on std::chrono calendar types, and the long date with the
// Japanese era shown on the sales screen.
#include <chrono>
#include <string>

namespace kippurun {

using Date = std::chrono::year_month_day;

// The years a date can hold; a date past either end is held at the end.
inline constexpr long long MinCalendarYear = -32767;
inline constexpr long long MaxCalendarYear = 32767;

// The date from year, month and day with overflow rolling forward (and
// back): month 13 is January of the next year, day 31 of a 30-day month is
// the 1st of the next, day 0 the last day of the month before.
Date makeDate(long long year, long long month, long long day);
Date addDays(Date date, long long days);
// 1 = Sunday ... 7 = Saturday.
int weekdayNumber(Date date);
int daysInMonth(int year, int month);  // Gregorian

// "ggge年m月d日aaaa": 平成16年11月7日日曜日, 令和元年5月1日水曜日.
std::string eraLongDate(Date date);
// The same text from ICU's date pattern "GGGGy年M月d日EEEE" (year 1 as 元)
// for any date. eraLongDate writes the dates of the modern eras itself from
// the eras' first days and names and the weekday names in ICU's data, read
// entry by entry: a fraction of the memory a date pattern, or ICU's Japanese
// calendar and its date symbols, take to start.
std::string eraLongDateByPattern(Date date);
// Reads those eras' days and names now (ICU's data, once for the program),
// so that the first eraLongDate need not: the start reads them on another
// thread while the window is being made.
void loadEraNames();

}  // namespace kippurun
