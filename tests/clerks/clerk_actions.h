#pragma once
// What a clerk can do on the screen now open: press a key, click a label or
// box, enter a list, choose a position, type a count, bring a tab page to
// the front. Only controls a clerk can reach are offered (whyUnreachable).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/program_shell.h"

namespace kippurun::testing {

// A small, fast generator whose sequence is the same on every platform.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in 0 ... n-1; n > 0.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

struct ClerkAction {
    enum class Kind { Click, Focus, Select, Choose, Type, Tab, Search };
    Kind kind = Kind::Click;
    std::string control;  // empty for Tab
    int number = 0;       // the position of Select and Choose, the page of Tab
    std::string text;     // what Type types, what Search types into a station list
};

// The action as a line of the script driver.
std::string scriptLine(const ClerkAction& action);

// A random action on one of the controls the clerk can reach now; empty
// when nothing can be reached. Members of a control array and numbered keys
// of one kind ("cmdEki00" ... "cmdEki51") together count as one choice, so
// that eleven exit keys are not eleven times as likely as one list.
std::optional<ClerkAction> randomAction(const ControlRegistry& form, Random& random);

// Performs the action as the clerk would; false (nothing done) when the
// control cannot be reached now or the position is not in the list.
bool perform(ProgramShell& shell, const ClerkAction& action);

}  // namespace kippurun::testing
