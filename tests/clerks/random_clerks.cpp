// Random clerks: long random sequences of what a clerk can do, run through
// the program shell on the sample tables, with the screen's properties
// checked after every step. A failure prints its seed and the shortest
// sequence that still fails, as a script for `kippurun --script`.
//
//   random_clerks [--sequences N] [--steps N] [--seconds S] [--seed S]
//
// Sequence i runs with seed S + i; `--seed X --sequences 1` repeats the
// sequence of seed X. --seconds 0 runs without a time bound.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_shell.h"
#include "app/script/state_lines.h"
#include "data/key_layout.h"
#include "tests/clerks/clerk_actions.h"
#include "tests/clerks/sales_properties.h"
#include "tests/support/fakes.h"
#include "tests/support/table_folder.h"

namespace kippurun::testing {

namespace {

struct Step {
    ClerkAction action;
    std::vector<PromptAnswer> answers;  // given to the questions the step asked
    bool ended = false;                 // the step ended the program
};

// Answers each question at random, or with the answers of a recorded step
// when one is replayed, and keeps what it answered.
class ClerkPrompt : public RecordingPrompt {
  public:
    Random* random = nullptr;  // null: replaying; unrecorded questions get No
    std::vector<PromptAnswer> given;

    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override {
        const bool cancelAllowed = buttons == PromptButtons::YesNoCancel;
        if (!answers.empty() && answers.front() == PromptAnswer::Cancel && !cancelAllowed)
            answers.front() = PromptAnswer::No;
        if (answers.empty() && random)
            answers.push_back(static_cast<PromptAnswer>(random->below(cancelAllowed ? 3 : 2)));
        const PromptAnswer answer = RecordingPrompt::ask(title, text, buttons);
        given.push_back(answer);
        return answer;
    }
};

struct Outcome {
    std::vector<Step> steps;  // the steps run, with their answers
    int starts = 1;           // the program was started this often
    std::optional<std::string> fault;
};

class Clerks {
  public:
    Clerks() {
        for (const auto& entry : std::filesystem::directory_iterator(sampleFolder()))
            folder_.write(entry.path().filename().string(), testing::bytesOf(entry.path()));
        ekimei_ = folder_.read("Ekimei1.csv");
        start_ = folder_.read("Start.csv");
    }

    // A new sequence from `seed`, or the replay of `replay` when given.
    Outcome run(std::uint64_t seed, int steps, const std::vector<Step>* replay) {
        restoreLayoutFiles();
        Random random(seed);
        const FixedClock clock(addDays(makeDate(2016, 1, 1), random.below(3 * 366)));
        ClerkPrompt prompt;
        prompt.random = replay ? nullptr : &random;
        ProgramShell shell(folder_.path(), clock, prompt);

        Outcome outcome;
        try {
            shell.start();
        } catch (const std::exception& e) {
            outcome.fault = std::string("start-up failed: ") + e.what();
            return outcome;
        }
        const int count = replay ? static_cast<int>(replay->size()) : steps;
        for (int i = 0; i < count; ++i) {
            Step step;
            if (replay) {
                step.action = (*replay)[static_cast<std::size_t>(i)].action;
                const auto& recorded = (*replay)[static_cast<std::size_t>(i)].answers;
                prompt.answers.assign(recorded.begin(), recorded.end());
            } else {
                std::optional<ClerkAction> action = randomAction(shell.currentControls(), random);
                if (!action) break;
                step.action = *action;
            }
            prompt.given.clear();
            bool done = false;
            try {
                done = perform(shell, step.action);
            } catch (const std::exception& e) {
                outcome.fault = std::string("exception: ") + e.what();
            } catch (...) {
                outcome.fault = "exception of unknown type";
            }
            prompt.answers.clear();
            step.answers = prompt.given;
            step.ended = shell.ended();
            if (done || outcome.fault) outcome.steps.push_back(step);
            if (outcome.fault) return outcome;
            if (shell.ended()) {
                // The clerk starts the program again and goes on.
                try {
                    shell.start();
                    ++outcome.starts;
                } catch (const std::exception& e) {
                    outcome.fault = std::string("start-up failed: ") + e.what();
                    return outcome;
                }
            }
            if (frmStart* sales = shell.salesScreen()) outcome.fault = salesScreenFault(*sales);
            if (frmSettei* settings = shell.settingsScreen())
                outcome.fault = settingsScreenFault(*settings);
            if (outcome.fault) return outcome;
        }
        outcome.fault = layoutFilesFault();
        if (!outcome.fault) outcome.fault = releaseFault(shell, clock);
        return outcome;
    }

    std::string todayText(std::uint64_t seed) const {
        Random random(seed);
        const Date date = addDays(makeDate(2016, 1, 1), random.below(3 * 366));
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        return buffer;
    }

  private:
    static std::filesystem::path sampleFolder() {
        return std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";
    }

    // Every sequence starts from the sample key layout and stations; they
    // are written anew only when a sequence changed them.
    void restoreLayoutFiles() {
        if (folder_.read("Ekimei1.csv") != ekimei_) folder_.write("Ekimei1.csv", ekimei_);
        if (folder_.read("Start.csv") != start_) folder_.write("Start.csv", start_);
    }

    // Whatever the clerk did, "開 放" leaves the sales screen exactly as a
    // fresh start of the program on the same folder and day leaves it.
    std::optional<std::string> releaseFault(ProgramShell& shell, const Clock& clock) const {
        frmStart* sales = shell.salesScreen();
        if (!sales || shell.ended()) return std::nullopt;
        sales->cmdKaihou.press();
        RecordingPrompt quiet;
        ProgramShell fresh(folder_.path(), clock, quiet);
        try {
            fresh.start();
        } catch (const std::exception& e) {
            return std::string("a fresh start failed: ") + e.what();
        }
        const std::vector<std::string> released = dump(*sales);
        const std::vector<std::string> started = dump(*fresh.salesScreen());
        for (std::size_t i = 0; i < released.size() && i < started.size(); ++i)
            if (released[i] != started[i])
                return "after 開 放: " + released[i] + "; a fresh start: " + started[i];
        if (released.size() != started.size()) return std::string("after 開 放: other controls");
        return std::nullopt;
    }

    static std::vector<std::string> dump(const frmStart& screen) {
        std::vector<std::string> lines;
        for (const Control* control : screen.controls().all()) lines.push_back(stateLine(*control));
        return lines;
    }

    // Whatever the clerk did, the next start of the program finds the two
    // files it needs.
    std::optional<std::string> layoutFilesFault() const {
        try {
            EkimeiLoad(folder_.path());
            StartStationsLoad(folder_.path());
        } catch (const std::exception& e) {
            return std::string("the table folder no longer loads: ") + e.what();
        }
        return std::nullopt;
    }

    TableFolder folder_{TableFolder::Contents::Empty};
    std::string ekimei_, start_;
};

// Drops steps while the sequence still fails: halves first, then smaller
// pieces down to single steps, until no step can go.
std::vector<Step> shrink(Clerks& clerks, std::uint64_t seed, std::vector<Step> steps) {
    for (std::size_t piece = steps.size() / 2; piece >= 1;) {
        bool removed = false;
        for (std::size_t at = 0; at + piece <= steps.size();) {
            std::vector<Step> shorter(steps.begin(), steps.begin() + static_cast<long>(at));
            shorter.insert(shorter.end(), steps.begin() + static_cast<long>(at + piece),
                           steps.end());
            const Outcome outcome = clerks.run(seed, 0, &shorter);
            if (outcome.fault) {
                steps = outcome.steps;  // as replayed: the answers really given
                removed = true;
            } else {
                at += piece;
            }
        }
        if (!removed) piece /= 2;
    }
    return steps;
}

void report(Clerks& clerks, std::uint64_t seed, const Outcome& failed) {
    const std::vector<Step> shortest = shrink(clerks, seed, failed.steps);
    const Outcome again = clerks.run(seed, 0, &shortest);
    std::cerr << "random clerks: seed " << seed << " fails after " << failed.steps.size()
              << " steps: " << *failed.fault << "\n"
              << "shortest sequence (" << shortest.size()
              << " steps): " << again.fault.value_or("(no longer fails)") << "\n"
              << "# kippurun --today " << clerks.todayText(seed) << " --untin Untin --script -\n";
    for (const Step& step : shortest) {
        for (PromptAnswer answer : step.answers)
            std::cerr << "answer "
                      << (answer == PromptAnswer::Yes  ? "yes"
                          : answer == PromptAnswer::No ? "no"
                                                       : "cancel")
                      << "\n";
        std::cerr << scriptLine(step.action) << "\n";
        if (step.ended) std::cerr << "# the program ends here; the rest runs on a new start\n";
    }
    if (again.fault && again.fault->rfind("after 開 放", 0) == 0)
        std::cerr << "click cmdKaihou\ndump\n# compare with the dump of a fresh start\n";
}

struct Options {
    long long sequences = 20000;
    int steps = 50;
    double seconds = 110;
    std::uint64_t seed = 13;
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--sequences")
            options.sequences = std::atoll(value);
        else if (name == "--steps")
            options.steps = std::atoi(value);
        else if (name == "--seconds")
            options.seconds = std::atof(value);
        else if (name == "--seed")
            options.seed = std::strtoull(value, nullptr, 10);
        else
            return std::nullopt;
    }
    if (argc % 2 == 0 || options.sequences < 1 || options.steps < 1) return std::nullopt;
    return options;
}

}  // namespace

}  // namespace kippurun::testing

int main(int argc, char** argv) {
    using namespace kippurun::testing;
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::cerr << "usage: random_clerks [--sequences N] [--steps N] [--seconds S] [--seed S]\n";
        return 2;
    }
    Clerks clerks;
    const auto begin = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    long long run = 0, steps = 0, starts = 0;
    for (; run < options->sequences; ++run) {
        if (options->seconds > 0 && elapsed() >= options->seconds) break;
        const std::uint64_t seed = options->seed + static_cast<std::uint64_t>(run);
        const Outcome outcome = clerks.run(seed, options->steps, nullptr);
        steps += static_cast<long long>(outcome.steps.size());
        starts += outcome.starts;
        if (outcome.fault) {
            report(clerks, seed, outcome);
            return 1;
        }
    }
    std::cout << "random clerks: " << run << " sequences of up to " << options->steps << " steps ("
              << steps << " steps, " << starts << " program starts) in "
              << static_cast<int>(elapsed()) << " s, seeds " << options->seed << " to "
              << options->seed + run - 1 << "\n";
    return 0;
}
