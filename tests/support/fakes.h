#pragma once
// The one fake clock and the one fake prompt of every test.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/clock.h"
#include "app/controls.h"
#include "calendar/date_ops.h"

namespace kippurun::testing {

// Today is the date the test sets. With a step, `step` days are added after
// each reading, so a handler that read the clock twice would see two
// different days; `reads` counts the readings.
class FixedClock : public Clock {
  public:
    explicit FixedClock(Date date, int step = 0) : date_(date), step_(step) {}
    Date today() const override {
        ++reads;
        Date now = date_;
        if (step_ != 0) date_ = addDays(date_, step_);
        return now;
    }
    void set(Date date) { date_ = date; }
    mutable int reads = 0;

  private:
    mutable Date date_;
    int step_;
};

// Answers questions from a queue (No once it is empty) and records every
// question and message.
class RecordingPrompt : public Prompt {
  public:
    struct Question {
        std::string title, text;
        PromptButtons buttons;
    };
    std::deque<PromptAnswer> answers;
    std::vector<Question> questions;
    std::vector<std::pair<std::string, std::string>> messages;
    // Runs while a question is open, before it is answered.
    std::function<void()> whileAsking;

    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override {
        questions.push_back({title, text, buttons});
        if (whileAsking) whileAsking();
        if (answers.empty()) return PromptAnswer::No;
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
};

inline Date ymd(int y, unsigned m, unsigned d) {
    return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

}  // namespace kippurun::testing
