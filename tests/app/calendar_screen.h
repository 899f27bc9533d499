#pragma once
// The sales screen on a clock fixed by the test, with the date steps of the
// load step run in their order (dates only, no table files needed).
#include <gtest/gtest.h>

#include <string>

#include "app/clock.h"
#include "app/frm_start.h"
#include "tests/support/fakes.h"

namespace kippurun::testing {

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

    // The date steps ask nothing.
    ~CalendarScreen() {
        for (const RecordingPrompt::Question& q : prompt.questions)
            ADD_FAILURE() << "unexpected question " << q.title << ": " << q.text;
        for (const auto& [title, text] : prompt.messages)
            ADD_FAILURE() << "unexpected message " << title << ": " << text;
    }

    FixedClock clock;
    RecordingPrompt prompt;
    frmStart screen{"/nonexistent-untin", clock, prompt};
};

}  // namespace kippurun::testing
