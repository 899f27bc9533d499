#include "calendar/date_ops.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cfloat>
#include <memory>

namespace kippurun {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

// std::chrono::year covers -32767 .. 32767; a date past either end is held
// at the end rather than wrapping into nonsense.
constexpr long long MinYear = MinCalendarYear;
constexpr long long MaxYear = MaxCalendarYear;
// Far enough past the year range that clamping before arithmetic changes no
// date the clamp at the end would keep.
constexpr long long InputLimit = 100'000'000;

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

sys_days firstDay() { return sys_days{std::chrono::year{MinYear} / 1 / 1}; }
sys_days lastDay() { return sys_days{std::chrono::year{MaxYear} / 12 / 31}; }

Date fromDayCount(long long count) {
    long long lo = firstDay().time_since_epoch().count();
    long long hi = lastDay().time_since_epoch().count();
    return Date{sys_days{days{std::clamp(count, lo, hi)}}};
}

long long dayCount(Date date) { return sys_days{date}.time_since_epoch().count(); }

struct EraFormatter {
    std::unique_ptr<icu::SimpleDateFormat> format;

    EraFormatter() {
        UErrorCode status = U_ZERO_ERROR;
        auto f = std::make_unique<icu::SimpleDateFormat>(
            icu::UnicodeString::fromUTF8("GGGGy年M月d日EEEE"),
            icu::UnicodeString::fromUTF8("y=jpanyear"), icu::Locale("ja_JP@calendar=japanese"),
            status);
        if (U_FAILURE(status)) return;
        f->setTimeZone(*icu::TimeZone::getGMT());
        // The formatter's calendar switches to the Julian calendar before 1582;
        // the dates here are proleptic Gregorian throughout.
        std::unique_ptr<icu::Calendar> calendar(f->getCalendar()->clone());
        if (auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(calendar.get())) {
            gregorian->setGregorianChange(-DBL_MAX, status);
            if (U_FAILURE(status)) return;
            f->adoptCalendar(calendar.release());
        }
        format = std::move(f);
    }
};

const char* const WeekdayNames[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                    "木曜日", "金曜日", "土曜日"};

// Without the ICU data the clerk still gets a readable date.
std::string plainLongDate(Date date) {
    return std::to_string(static_cast<int>(date.year())) + "年" +
           std::to_string(static_cast<unsigned>(date.month())) + "月" +
           std::to_string(static_cast<unsigned>(date.day())) + "日" +
           WeekdayNames[weekdayNumber(date) - 1];
}

}  // namespace

Date makeDate(long long year, long long month, long long day) {
    year = std::clamp(year, -InputLimit, InputLimit);
    month = std::clamp(month, -InputLimit, InputLimit);
    day = std::clamp(day, -InputLimit, InputLimit);
    long long y = year + floorDiv(month - 1, 12);
    long long m = month - 1 - 12 * floorDiv(month - 1, 12) + 1;
    if (y < MinYear) return fromDayCount(dayCount(Date{firstDay()}) + day - 1);
    if (y > MaxYear) return fromDayCount(dayCount(Date{lastDay()}) + day);
    Date first{std::chrono::year{static_cast<int>(y)}, std::chrono::month{static_cast<unsigned>(m)},
               std::chrono::day{1}};
    return fromDayCount(dayCount(first) + day - 1);
}

Date addDays(Date date, long long count) {
    count = std::clamp(count, -InputLimit, InputLimit);
    return fromDayCount(dayCount(date) + count);
}

int weekdayNumber(Date date) {
    return static_cast<int>(std::chrono::weekday{sys_days{date}}.c_encoding()) + 1;
}

int daysInMonth(int year, int month) {
    static constexpr int Lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Lengths[month - 1];
}

std::string eraLongDate(Date date) {
    if (!date.ok()) return {};
    thread_local EraFormatter formatter;
    if (!formatter.format) return plainLongDate(date);
    // Noon UTC on the civil date, formatted in UTC: no time zone can move it
    // to a neighbouring day.
    UDate instant = (static_cast<double>(dayCount(date)) * 86400.0 + 43200.0) * 1000.0;
    icu::UnicodeString text;
    formatter.format->format(instant, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace kippurun
