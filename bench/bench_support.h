#pragma once
// What the benchmarks over the whole program share: the sample tables, the
// day they run on, and a prompt that answers every question No at once.
#include <chrono>
#include <filesystem>
#include <string>

#include "app/clock.h"
#include "app/controls.h"

namespace kippurun::bench {

inline const std::filesystem::path SampleTables =
    std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";
inline constexpr Date SampleToday{std::chrono::year(2026), std::chrono::December,
                                  std::chrono::day(9)};

class SilentPrompt : public Prompt {
  public:
    int questions = 0;  // how often it was asked
    PromptAnswer ask(const std::string&, const std::string&, PromptButtons) override {
        ++questions;
        return PromptAnswer::No;
    }
    void inform(const std::string&, const std::string&) override {}
};

}  // namespace kippurun::bench
