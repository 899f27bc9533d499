#pragma once
// Today's date, injected so that a run can be fixed to a date (--today).
#include <optional>

#include "calendar/date_ops.h"

namespace kippurun {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
};

// The system's local date, or the fixed one when given.
class SystemClock : public Clock {
  public:
    explicit SystemClock(std::optional<Date> fixed = std::nullopt) : fixed_(fixed) {}
    Date today() const override;

  private:
    std::optional<Date> fixed_;
};

}  // namespace kippurun
