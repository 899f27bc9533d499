#pragma once
// The sales screen on a clock fixed by the test, with the date steps of the
// load step run in their order (dates only, no table files needed).
#include <gtest/gtest.h>

#include <string>

#include "app/clock.h"
#include "app/frm_start.h"

namespace kippurun::testing {

// Counts its readings; `step` days are added after each one, so a handler
// that read the clock twice would see two different days.
class SteppingClock : public Clock {
  public:
    explicit SteppingClock(Date start, int step = 0) : date_(start), step_(step) {}
    Date today() const override {
        ++reads;
        Date now = date_;
        date_ = addDays(date_, step_);
        return now;
    }
    void set(Date date) { date_ = date; }
    mutable int reads = 0;

  private:
    mutable Date date_;
    int step_;
};

class NoQuestions : public Prompt {
  public:
    PromptAnswer ask(const std::string& title, const std::string& text, PromptButtons) override {
        ADD_FAILURE() << "unexpected question " << title << ": " << text;
        return PromptAnswer::No;
    }
    void inform(const std::string& title, const std::string& text) override {
        ADD_FAILURE() << "unexpected message " << title << ": " << text;
    }
};

inline Date ymd(int y, unsigned m, unsigned d) {
    return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

struct CalendarScreen {
    explicit CalendarScreen(Date today, int step = 0) : clock(today, step) {
        screen.dateBoxesFromToday();
        screen.Today();
        screen.Calender();
        screen.Today();
        screen.cmdDayKettei_Click();
    }

    // Cells carrying the selection mark.
    std::string markedCells() {
        std::string out;
        for (int n = 0; n < 42; ++n)
            if (!screen.lblHi(n).caption.empty())
                out += std::to_string(n) + ":" + screen.lblHi(n).caption + " ";
        return out;
    }

    SteppingClock clock;
    NoQuestions prompt;
    frmStart screen{"/nonexistent-untin", clock, prompt};
};

}  // namespace kippurun::testing
