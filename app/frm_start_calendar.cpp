// The travel date and the month calendar of the sales screen.
#include <optional>
#include <string>
#include <string_view>

#include "app/frm_start.h"
#include "calendar/date_ops.h"
#include "calendar/month_grid.h"
#include "calendar/season_rule.h"
#include "data/number_reading.h"

namespace kippurun {

namespace {

constexpr const char* SelectionMark = "○";
constexpr int CalendarPage = 2;
constexpr long long NumberLimit = 1'000'000'000;

// The date boxes are hidden and written only by the calendar code; a reset
// or a test may still leave them empty or holding other text. Anything but
// a whole number is refused by the operation that reads it, which then
// changes nothing. Numbers far past any calendar are refused too, so that
// paging cannot overflow.
std::optional<long long> wholeNumber(const TextBox& box) {
    std::optional<long long> value = readWholeNumber(box.text);
    if (!value || *value < -NumberLimit || *value > NumberLimit) return std::nullopt;
    return value;
}

std::string yearText(Date date) { return std::to_string(static_cast<int>(date.year())); }
std::string monthText(Date date) { return std::to_string(static_cast<unsigned>(date.month())); }
std::string dayText(Date date) { return std::to_string(static_cast<unsigned>(date.day())); }

Rgb colourOf(DayMark mark) {
    switch (mark) {
        case DayMark::Red:
            return RgbRed;
        case DayMark::Blue:
            return RgbBlue;
        default:
            return RgbBlack;
    }
}

// The selection mark on the cell showing txtDay, or on cell 0 when no cell
// does (a day the grid on display does not hold).
void markChosenDay(frmStart& screen) {
    int chosen = 0;
    for (int cell = 0; cell < GridCellCount; ++cell) {
        if (screen.lblDay(cell).caption == screen.txtDay.text) {
            chosen = cell;
            break;
        }
    }
    screen.CheckClear();
    screen.lblHi(chosen).caption = SelectionMark;
}

void showPagingTexts(frmStart& screen) {
    screen.txtNannen.text = screen.txtYear.text + "年";
    screen.txtNangatsu.text = screen.txtMonth.text + "月";
}

}  // namespace

void frmStart::dateBoxesFromToday() {
    Date today = clock_.today();
    txtDate.text = eraLongDate(today);
    txtTuki.text = monthText(today);
    txtNichi.text = dayText(today);
}

void frmStart::Today() {
    Date today = clock_.today();
    txtYear.text = yearText(today);
    txtMonth.text = monthText(today);
    txtDay.text = dayText(today);
    txtWeek.text = std::to_string(weekdayNumber(today));
    showPagingTexts(*this);
    txtFocus.text.clear();
    markChosenDay(*this);
}

void frmStart::Calender() {
    std::optional<long long> year = wholeNumber(txtYear);
    std::optional<long long> month = wholeNumber(txtMonth);
    if (!year || !month) return;
    MonthGrid grid = drawMonthGrid(*year, *month);
    txtYear.text = std::to_string(grid.year);
    txtMonth.text = std::to_string(grid.month);
    txtDay.text = "1";
    txtWeek.text = std::to_string(grid.firstWeekday);

    for (int cell = 0; cell < GridCellCount; ++cell) {
        auto k = static_cast<std::size_t>(cell);
        lblDay(cell).caption = grid.captions[k];
        lblDay(cell).foreColor = colourOf(grid.marks[k]);
    }
    // The overlays of row 6 stay visible; the shorter picture box hides them.
    for (int cell = 35; cell < GridCellCount; ++cell) lblDay(cell).visible = grid.sixthRowShown;
    picCalender.geometry.height = grid.heightTwips;
}

void frmStart::lblHi_Click(int n) {
    if (n < 0 || n >= GridCellCount || lblDay(n).caption == BlankCell) return;
    CheckClear();
    lblHi(n).caption = SelectionMark;
    txtDay.text = lblDay(n).caption;
    txtFocus.text = std::to_string(n);
}

// Paging stops at the first and last year a date can hold, so that the
// year shown, the hidden year and the month always agree.
void frmStart::cmdYokuNen_Click() {
    std::optional<long long> year = wholeNumber(txtYear);
    if (!year || *year >= MaxCalendarYear) return;
    txtYear.text = std::to_string(*year + 1);
    txtNannen.text = txtYear.text + "年";
    Calender();
    CheckClear();
}

void frmStart::cmdZenNen_Click() {
    std::optional<long long> year = wholeNumber(txtYear);
    if (!year || *year <= MinCalendarYear) return;
    txtYear.text = std::to_string(*year - 1);
    txtNannen.text = txtYear.text + "年";
    Calender();
    CheckClear();
}

void frmStart::cmdYokuGetsu_Click() {
    std::optional<long long> month = wholeNumber(txtMonth);
    std::optional<long long> year = wholeNumber(txtYear);
    if (!month || !year || (*month >= 12 && *year >= MaxCalendarYear)) return;
    txtMonth.text = std::to_string(*month + 1);
    if (*month + 1 == 13) {
        txtMonth.text = "1";
        cmdYokuNen_Click();
    }
    Calender();
    txtNangatsu.text = txtMonth.text + "月";
    CheckClear();
}

void frmStart::cmdZenGetu_Click() {
    std::optional<long long> month = wholeNumber(txtMonth);
    std::optional<long long> year = wholeNumber(txtYear);
    if (!month || !year || (*month <= 1 && *year <= MinCalendarYear)) return;
    txtMonth.text = std::to_string(*month - 1);
    if (*month - 1 == 0) {
        txtMonth.text = "12";
        cmdZenNen_Click();
    }
    Calender();
    txtNangatsu.text = txtMonth.text + "月";
    CheckClear();
}

void frmStart::cmdDayKettei_Click() {
    std::optional<long long> year = wholeNumber(txtYear);
    std::optional<long long> month = wholeNumber(txtMonth);
    std::optional<long long> day = wholeNumber(txtDay);
    if (!year || !month || !day) return;
    Date date = makeDate(*year, *month, *day);

    txtYear.text = yearText(date);
    txtMonth.text = monthText(date);
    txtDay.text = dayText(date);
    txtWeek.text = std::to_string(weekdayNumber(date));
    txtTuki.text = txtMonth.text;
    txtNichi.text = txtDay.text;
    txtDate.text = eraLongDate(date);
    // Read from the travel date's own month, whatever month is on display.
    txtSeason.text = std::string(seasonOf(date));

    Calender();
    showPagingTexts(*this);
    txtDay.text = txtNichi.text;
    markChosenDay(*this);
}

namespace {

// One reading of the clock per press, so that a press at midnight cannot
// mix the fields of two days.
void chooseDayFromToday(frmStart& screen, Date today, int offset) {
    Date chosen = addDays(today, offset);
    screen.txtTuki.text = monthText(chosen);
    screen.txtNichi.text = dayText(chosen);
    screen.txtYear.text = yearText(chosen);
    screen.txtMonth.text = monthText(chosen);
    screen.txtDay.text = dayText(chosen);
    screen.cmdDayKettei_Click();
}

}  // namespace

void frmStart::cmdToday_Click() { chooseDayFromToday(*this, clock_.today(), 0); }
void frmStart::cmdTomorrow_Click() { chooseDayFromToday(*this, clock_.today(), 1); }
void frmStart::cmdAsatte_Click() { chooseDayFromToday(*this, clock_.today(), 2); }

void frmStart::txtTuki_Click() { tabFullKey.setTab(CalendarPage); }
void frmStart::txtNichi_Click() { tabFullKey.setTab(CalendarPage); }

}  // namespace kippurun
