#pragma once
// What a clerk can do on the screen now open: press a key, click a label or
// box, enter a list, choose a position, type a count, bring a tab page to
// the front. Only controls a clerk can reach are offered: visible, enabled,
// in containers that are visible and on the page in front.
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
    enum class Kind { Click, Focus, Select, Choose, Type, Tab };
    Kind kind = Kind::Click;
    std::string control;  // empty for Tab
    int number = 0;       // the position of Select and Choose, the page of Tab
    std::string text;     // what Type types
};

// The action as a line of the script driver.
std::string scriptLine(const ClerkAction& action);

// The controls of the open screen with their containers, found once per
// screen: which of them a clerk can reach is then cheap to tell.
class ReachMap {
  public:
    explicit ReachMap(ControlRegistry& registry);
    const ControlRegistry& registry() const { return *registry_; }
    bool reachable(const Control& control) const;
    bool typeable(const Control& control) const;
    // Every control the clerk can act on now, in registry order.
    std::vector<Control*> actionable() const;

  private:
    struct Place {
        Control* control;
        int container;  // index of its container's place; -1: the form itself
        int page;       // page of the tab control holding it; -1 for none
        bool onWindow;  // false for the hidden state holders
        bool typeable;  // a box the clerk can type into
    };
    bool shown(const Place& place) const;
    const Place* placeOf(const Control& control) const;

    ControlRegistry* registry_;
    std::vector<Place> places_;
};

// A random action on one of the controls the clerk can reach now; empty
// when nothing can be reached. Members of a control array and numbered keys
// of one kind ("cmdEki00" ... "cmdEki51") together count as one choice, so
// that eleven exit keys are not eleven times as likely as one list.
std::optional<ClerkAction> randomAction(const ReachMap& map, Random& random);

// Performs the action as the clerk would; false (nothing done) when the
// control cannot be reached now or the position is not in the list.
bool perform(ProgramShell& shell, const ReachMap& map, const ClerkAction& action);

}  // namespace kippurun::testing
