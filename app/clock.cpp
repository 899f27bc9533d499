#include "app/clock.h"

#include <ctime>

namespace kippurun {

Date SystemClock::today() const {
    if (fixed_) return *fixed_;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{std::chrono::year(local.tm_year + 1900),
                std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                std::chrono::day(static_cast<unsigned>(local.tm_mday))};
}

}  // namespace kippurun
