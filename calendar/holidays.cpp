#include "calendar/holidays.h"

#include <algorithm>

#include "calendar/date_ops.h"

namespace kippurun {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

// The formulas hold for 1900-2150; past that the nearest row is used and
// the day is kept inside the month.
int equinoxDay(int year, double before1980, double from1980, double from2100, int monthLength) {
    long long y = year;
    double base = from1980;
    long long offset = 1980;
    if (y < 1980) {
        base = before1980;
        offset = 1983;
    } else if (y >= 2100) {
        base = from2100;
    }
    double value =
        base + 0.242194 * static_cast<double>(y - 1980) - static_cast<double>((y - offset) / 4);
    value = std::clamp(value, 1.0, static_cast<double>(monthLength));
    return static_cast<int>(value);
}

int nthMonday(int year, int month, int n) {
    int firstWeekday = weekdayNumber(makeDate(year, month, 1));  // 1 = Sunday
    int firstMonday = 1 + (9 - firstWeekday) % 7;
    return firstMonday + 7 * (n - 1);
}

bool within(int year, int from, int to) { return year >= from && year <= to; }

// The holidays of the law and the one-off holidays by their own acts (国民の祝日), without the
// days off that follow from them.
bool isLawHoliday(int y, int m, int d) {
    switch (m) {
        case 1:
            return y >= 1949 &&
                   (d == 1 || (y <= 1999 && d == 15) || (y >= 2000 && d == nthMonday(y, 1, 2)));
        case 2:
            return (y >= 1967 && d == 11) || (y >= 2020 && d == 23) || (y == 1989 && d == 24);
        case 3:
            return y >= 1949 && d == vernalEquinoxDay(y);
        case 4:
            return (y >= 1949 && d == 29) || (y == 1959 && d == 10);
        case 5:
            return (y >= 1949 && (d == 3 || d == 5)) || (y >= 2007 && d == 4) ||
                   (y == 2019 && d == 1);
        case 6:
            return y == 1993 && d == 9;
        case 7:
            if (y == 2020) return d == 23 || d == 24;
            if (y == 2021) return d == 22 || d == 23;
            return (within(y, 1996, 2002) && d == 20) ||
                   ((within(y, 2003, 2019) || y >= 2022) && d == nthMonday(y, 7, 3));
        case 8:
            if (y == 2020) return d == 10;
            if (y == 2021) return d == 8;
            return (within(y, 2016, 2019) || y >= 2022) && d == 11;
        case 9:
            return (within(y, 1966, 2002) && d == 15) || (y >= 2003 && d == nthMonday(y, 9, 3)) ||
                   (y >= 1948 && d == autumnalEquinoxDay(y));
        case 10:
            return (within(y, 1966, 1999) && d == 10) ||
                   ((within(y, 2000, 2019) || y >= 2022) && d == nthMonday(y, 10, 2)) ||
                   (y == 2019 && d == 22);
        case 11:
            return (y >= 1948 && (d == 3 || d == 23)) || (y == 1990 && d == 12);
        case 12:
            return within(y, 1989, 2018) && d == 23;
        default:
            return false;
    }
}

bool isLawHoliday(sys_days day) {
    Date date{day};
    return isLawHoliday(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                        static_cast<int>(unsigned(date.day())));
}

bool isSunday(sys_days day) { return std::chrono::weekday{day} == std::chrono::Sunday; }

const sys_days SubstituteStart{std::chrono::year{1973} / 4 / 12};
const sys_days NearestFreeDayStart{std::chrono::year{2007} / 1 / 1};
const sys_days CitizensHolidayStart{std::chrono::year{1985} / 12 / 27};

// 振替休日: until 2006 the Monday after a Sunday holiday; from 2007 the first
// day after it that is no holiday, so a run of holidays pushes it on.
bool isSubstituteHoliday(sys_days day) {
    if (isLawHoliday(day)) return false;
    sys_days before = day - days{1};
    if (before < NearestFreeDayStart)
        return before >= SubstituteStart && isSunday(before) && isLawHoliday(before);
    for (; isLawHoliday(before); before -= days{1}) {
        if (isSunday(before)) return before >= NearestFreeDayStart;
    }
    return false;
}

// 国民の休日: a working day between two holidays of the law. Until 2006 a
// Sunday did not become one.
bool isCitizensHoliday(sys_days day) {
    if (day < CitizensHolidayStart || isLawHoliday(day)) return false;
    if (day < NearestFreeDayStart && isSunday(day)) return false;
    return isLawHoliday(day - days{1}) && isLawHoliday(day + days{1});
}

// Inside the range of the calendar types, with room for the day either side.
bool isCalendarDay(int year, int month, int day) {
    if (year < -32766 || year > 32766 || month < 1 || month > 12) return false;
    return day >= 1 && day <= daysInMonth(year, month);
}

}  // namespace

int vernalEquinoxDay(int year) { return equinoxDay(year, 20.8357, 20.8431, 21.8510, 31); }

int autumnalEquinoxDay(int year) { return equinoxDay(year, 23.2588, 23.2488, 24.2488, 30); }

bool isHoliday(int year, int month, int day) {
    if (!isCalendarDay(year, month, day)) return false;
    sys_days date{makeDate(year, month, day)};
    return isLawHoliday(year, month, day) || isSubstituteHoliday(date) || isCitizensHoliday(date);
}

}  // namespace kippurun
