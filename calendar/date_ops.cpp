#include "calendar/date_ops.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>
#include <unicode/ures.h>

#include <algorithm>
#include <cfloat>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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

// The formatter's calendar switches to the Julian calendar before 1582;
// the dates here are proleptic Gregorian throughout.
bool makeProlepticGregorian(icu::Calendar& calendar) {
    auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(&calendar);
    if (!gregorian) return false;
    UErrorCode status = U_ZERO_ERROR;
    gregorian->setGregorianChange(-DBL_MAX, status);
    return U_SUCCESS(status);
}

const char* const JapaneseLocale = "ja_JP@calendar=japanese";

struct EraFormatter {
    std::unique_ptr<icu::SimpleDateFormat> format;

    EraFormatter() {
        UErrorCode status = U_ZERO_ERROR;
        auto f = std::make_unique<icu::SimpleDateFormat>(
            icu::UnicodeString::fromUTF8("GGGGy年M月d日EEEE"),
            icu::UnicodeString::fromUTF8("y=jpanyear"), icu::Locale(JapaneseLocale), status);
        if (U_FAILURE(status)) return;
        f->setTimeZone(*icu::TimeZone::getGMT());
        std::unique_ptr<icu::Calendar> calendar(f->getCalendar()->clone());
        if (!calendar || !makeProlepticGregorian(*calendar)) return;
        f->adoptCalendar(calendar.release());
        format = std::move(f);
    }
};

// ICU's resource bundle, closed with the object.
struct Bundle {
    UResourceBundle* p = nullptr;
    Bundle() = default;
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;
    ~Bundle() {
        if (p) ures_close(p);
    }
};

// The bundle under the path of keys from `from`, or null.
bool descend(const UResourceBundle* from, std::initializer_list<const char*> keys, Bundle& out) {
    UErrorCode status = U_ZERO_ERROR;
    const UResourceBundle* at = from;
    for (const char* key : keys) {
        out.p = ures_getByKey(at, key, out.p, &status);
        if (U_FAILURE(status)) return false;
        at = out.p;
    }
    return true;
}

std::string toUtf8(const UChar* text, int32_t length) {
    std::string out;
    icu::UnicodeString(false, text, length).toUTF8String(out);
    return out;
}

// The Japanese eras that start from the end of the list back to the first
// one begun before 1868, with their names, and the names of the weekdays:
// read from ICU's data as they are, which its Japanese calendar and date
// formats use. Reading just these entries leaves the calendar's and the
// date symbols' whole tables unread: they are some megabytes at start-up.
struct EraNames {
    struct Era {
        Date start;
        std::string name;
    };
    std::vector<Era> eras;  // latest first
    std::string weekdays[7];
    bool ok = false;

    EraNames() {
        UErrorCode status = U_ZERO_ERROR;
        Bundle supplemental, japanese;
        supplemental.p = ures_openDirect(nullptr, "supplementalData", &status);
        japanese.p = ures_open(nullptr, "ja", &status);
        Bundle starts, names, days;
        if (U_FAILURE(status) ||
            !descend(supplemental.p, {"calendarData", "japanese", "eras"}, starts) ||
            !descend(japanese.p, {"calendar", "japanese", "eras", "abbreviated"}, names) ||
            !descend(japanese.p, {"calendar", "gregorian", "dayNames", "format", "wide"}, days))
            return;
        const int32_t count = ures_getSize(names.p);
        if (count != ures_getSize(starts.p) || ures_getSize(days.p) != 7) return;
        for (int32_t i = count - 1; i >= 0; --i) {
            Bundle start;
            if (!descend(starts.p, {std::to_string(i).c_str(), "start"}, start)) return;
            int32_t fields = 0;
            int32_t length = 0;
            const int32_t* ymd = ures_getIntVector(start.p, &fields, &status);
            const UChar* name = ures_getStringByIndex(names.p, i, &length, &status);
            if (U_FAILURE(status) || fields != 3) return;
            const Date first{std::chrono::year{ymd[0]},
                             std::chrono::month{static_cast<unsigned>(ymd[1])},
                             std::chrono::day{static_cast<unsigned>(ymd[2])}};
            if (!first.ok() || (!eras.empty() && first >= eras.back().start)) return;
            eras.push_back({first, toUtf8(name, length)});
            if (first.year() < std::chrono::year(1868)) break;
        }
        for (int i = 0; i < 7; ++i) {
            int32_t length = 0;
            const UChar* name = ures_getStringByIndex(days.p, i, &length, &status);
            if (U_FAILURE(status)) return;
            weekdays[i] = toUtf8(name, length);
        }
        ok = !eras.empty() && eras.back().start.year() < std::chrono::year(1868);
    }
};

// Noon UTC on the civil date, read in UTC: no time zone can move it to a
// neighbouring day.
UDate noonOf(Date date) {
    return (static_cast<double>(dayCount(date)) * 86400.0 + 43200.0) * 1000.0;
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

const char* const WeekdayNames[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                    "木曜日", "金曜日", "土曜日"};

// Read once for the whole program, by whichever thread asks first: the
// names do not change while it runs.
const EraNames& eraNames() {
    static const EraNames names;
    return names;
}

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

void loadEraNames() { static_cast<void>(eraNames()); }

std::string eraLongDateByPattern(Date date) {
    if (!date.ok()) return {};
    thread_local EraFormatter formatter;
    if (!formatter.format) return plainLongDate(date);
    icu::UnicodeString text;
    formatter.format->format(noonOf(date), text);
    return toUtf8(text);
}

std::string eraLongDate(Date date) {
    if (!date.ok()) return {};
    // From 明治 on, within four-digit years: what the pattern writes, put
    // together here (the pattern's numbers are plain digits, year 1 is 元).
    if (date.year() < std::chrono::year(1868) || date.year() > std::chrono::year(9999))
        return eraLongDateByPattern(date);
    const EraNames& names = eraNames();
    if (!names.ok) return eraLongDateByPattern(date);
    const auto era = std::find_if(names.eras.begin(), names.eras.end(),
                                  [&](const EraNames::Era& e) { return e.start <= date; });
    if (era == names.eras.end()) return eraLongDateByPattern(date);
    const int year = static_cast<int>(date.year()) - static_cast<int>(era->start.year()) + 1;
    return era->name + (year == 1 ? "元" : std::to_string(year)) + "年" +
           std::to_string(static_cast<unsigned>(date.month())) + "月" +
           std::to_string(static_cast<unsigned>(date.day())) + "日" +
           names.weekdays[weekdayNumber(date) - 1];
}

}  // namespace kippurun
