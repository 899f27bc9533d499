#pragma once
// A sales screen over small tables written into a temporary folder, with a
// fixed clock and a prompt that records what it was asked.
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/clock.h"
#include "app/controls.h"
#include "app/frm_start.h"
#include "data/station_catalogue.h"

namespace kippurun::testing {

class FixedClock : public Clock {
  public:
    explicit FixedClock(Date date) : date_(date) {}
    Date today() const override { return date_; }

  private:
    Date date_;
};

class RecordingPrompt : public Prompt {
  public:
    struct Question {
        std::string title, text;
        PromptButtons buttons;
    };
    std::deque<PromptAnswer> answers;
    std::vector<Question> questions;
    std::vector<std::pair<std::string, std::string>> messages;

    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override {
        questions.push_back({title, text, buttons});
        if (answers.empty()) return PromptAnswer::No;
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
};

// The files of a table folder. Every cell holds its own value derived from
// its file and position, so that a swapped arrival and departure or a wrong
// table shows; single cells can be overridden.
class TableFolder {
  public:
    TableFolder();
    ~TableFolder();
    TableFolder(const TableFolder&) = delete;
    TableFolder& operator=(const TableFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The default text of a cell.
    static std::string cell(const std::string& file, int arrival, int departure);
    // What the folder holds for the cell (default or override).
    std::string at(const std::string& file, int arrival, int departure) const;

    void set(const std::string& file, int arrival, int departure, std::string text);
    void setStart(std::string departure, std::string arrival);
    // Station key k's cell of "Ekimei1.csv" (every key unassigned, 999, until set).
    void setKey(int k, std::string value);
    // Writes every file; call again after changing cells.
    void write() const;
    void remove(const std::string& file) const;

  private:
    std::filesystem::path path_;
    std::map<std::string, std::map<std::pair<int, int>, std::string>> overrides_;
    std::string startDeparture_ = "0", startArrival_ = "67";
    std::map<int, std::string> keys_;
};

// A screen opened on a TableFolder; the journey is 0 -> 67 by default.
class ScreenTest {
  public:
    ScreenTest();
    frmStart& screen() { return *screen_; }
    // Rebuilds the screen on the folder as it is now and runs the load step.
    void open();
    // Puts the 26 express stops or the 15 Marine stops into a charge
    // section's stop lists, as the determinations will.
    void fillExpressStops(ComboBox& hatsu, ComboBox& chaku);
    void fillMarineStops(ComboBox& hatsu, ComboBox& chaku);

    TableFolder folder;
    FixedClock clock{Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    RecordingPrompt prompt;

  private:
    std::unique_ptr<frmStart> screen_;
};

// Everything a clerk could see or a handler could read, as one text per
// control, to compare a whole screen before and after.
std::vector<std::string> snapshot(frmStart& screen);

}  // namespace kippurun::testing
