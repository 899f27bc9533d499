#pragma once
// Japan's national holidays and the days off that follow from them, for
// every year (none before 1949).
#include <chrono>

namespace kippurun {

int vernalEquinoxDay(int year);    // day of March
int autumnalEquinoxDay(int year);  // day of September

// A national holiday, substitute holiday or citizens' holiday (Sundays as
// such are not included).
bool isHoliday(int year, int month, int day);

}  // namespace kippurun
