#include "tests/clerks/clerk_actions.h"

#include <map>

#include "app/form.h"
#include "data/station_catalogue.h"
#include "data/station_readings.h"
#include "data/station_search.h"

namespace kippurun::testing {

namespace {

// "cmdExit(3)" -> "cmdExit", "cmdEki07" -> "cmdEki", "cmdO2" -> "cmdO".
std::string family(const std::string& name) {
    std::string stem = name.substr(0, name.find('('));
    while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9') stem.pop_back();
    return stem;
}

// Keys that end the program or begin the sale afresh: a clerk presses them
// once per sale, not once per entry, so they are chosen a fifth as often.
bool rarelyPressed(const std::string& family) {
    return family == "cmdExit" || family == "cmdKaihou";
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string digits(Random& random, int longest) {
    std::string text;
    const int length = random.below(longest + 1);
    for (int i = 0; i < length; ++i) text += static_cast<char>('0' + random.below(10));
    return text;
}

// What a clerk types to find a station: the start of a reading in rōmaji
// or kana, or a number, now and then a slip.
std::string stationTyping(Random& random) {
    const int roll = random.below(10);
    if (roll == 0) return digits(random, 3);
    if (roll == 1) return "xq";
    const StationReading& reading =
        stationReadings()[static_cast<std::size_t>(random.below(StationCount))];
    if (roll == 2) return std::string(reading.kana.substr(0, 3 * (1 + random.below(3))));
    const std::string letters = hepburn(reading.kana);
    return letters.substr(0, static_cast<std::size_t>(1 + random.below(6)));
}

}  // namespace

std::uint64_t Random::next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string scriptLine(const ClerkAction& action) {
    switch (action.kind) {
        case ClerkAction::Kind::Click:
            return "click " + action.control;
        case ClerkAction::Kind::Focus:
            return "focus " + action.control;
        case ClerkAction::Kind::Select:
            return "select " + action.control + " " + std::to_string(action.number);
        case ClerkAction::Kind::Choose:
            return "choose " + action.control + " " + std::to_string(action.number);
        case ClerkAction::Kind::Type:
            return "type " + action.control + " " + quoted(action.text);
        case ClerkAction::Kind::Tab:
            return "tab " + std::to_string(action.number);
        case ClerkAction::Kind::Search:
            return "search " + action.control + " " + quoted(action.text);
    }
    return {};
}

bool reachable(const ControlRegistry& form, const Control& control) {
    return !whyUnreachable(form, control);
}

// A box the window lets the clerk type into.
bool typeable(const ControlRegistry& form, const Control& control) {
    const Placement* placement = form.placement(control);
    return control.kind() == ControlKind::TextBox && placement && !placement->readOnly;
}

// What the clerk can act on: keys, lists, the tab control, boxes and
// labels that take a click, boxes that take typing.
bool actsOn(const ControlRegistry& form, const Control& c) {
    switch (c.kind()) {
        case ControlKind::Key:
        case ControlKind::DropDown:
        case ControlKind::Tab:
            return true;
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(c).onClick || typeable(form, c);
        case ControlKind::Label:
            return static_cast<bool>(static_cast<const Label&>(c).onClick);
        default:
            return false;
    }
}

std::optional<ClerkAction> randomAction(const ControlRegistry& form, Random& random) {
    std::map<std::string, std::vector<Control*>> families;
    for (Control* control : form.all())
        if (actsOn(form, *control) && reachable(form, *control))
            families[family(control->name())].push_back(control);
    if (families.empty()) return std::nullopt;
    auto chosen = families.begin();
    do {
        chosen = families.begin();
        std::advance(chosen, random.below(static_cast<int>(families.size())));
    } while (rarelyPressed(chosen->first) && random.below(5) != 0);
    const std::vector<Control*>& members = chosen->second;
    Control& control =
        *members[static_cast<std::size_t>(random.below(static_cast<int>(members.size())))];

    ClerkAction action;
    action.control = control.name();
    switch (control.kind()) {
        case ControlKind::DropDown: {
            const auto& list = static_cast<ComboBox&>(control);
            const int roll = random.below(10);
            const Placement* placement = form.placement(list);
            if (roll < 2 || list.count() == 0) {
                action.kind = ClerkAction::Kind::Focus;
            } else if (roll >= 8 && placement && placement->stationSearch) {
                action.kind = ClerkAction::Kind::Search;
                action.text = stationTyping(random);
            } else {
                action.kind = roll < 4 ? ClerkAction::Kind::Select : ClerkAction::Kind::Choose;
                action.number = random.below(list.count());
            }
            break;
        }
        case ControlKind::TextBox: {
            const auto& box = static_cast<TextBox&>(control);
            if (typeable(form, box) && (!box.onClick || random.below(3) > 0)) {
                action.kind = ClerkAction::Kind::Type;
                action.text = digits(random, box.maxLength > 0 ? box.maxLength : 6);
            }
            break;
        }
        case ControlKind::Tab:
            action.kind = ClerkAction::Kind::Tab;
            action.control.clear();
            action.number =
                random.below(static_cast<int>(static_cast<TabControl&>(control).captions.size()));
            break;
        default:
            break;
    }
    return action;
}

bool perform(ProgramShell& shell, const ClerkAction& action) {
    const ControlRegistry& registry = shell.currentControls();
    if (action.kind == ClerkAction::Kind::Tab) {
        for (Control* control : registry.all()) {
            if (control->kind() != ControlKind::Tab || !reachable(registry, *control)) continue;
            return static_cast<TabControl*>(control)->setTab(action.number);
        }
        return false;
    }
    Control* control = registry.find(action.control);
    if (!control || !reachable(registry, *control)) return false;
    switch (action.kind) {
        case ClerkAction::Kind::Click:
            if (control->kind() == ControlKind::Key) static_cast<CommandButton*>(control)->press();
            if (control->kind() == ControlKind::Label) static_cast<Label*>(control)->click();
            if (control->kind() == ControlKind::TextBox) static_cast<TextBox*>(control)->click();
            return true;
        case ClerkAction::Kind::Focus:
        case ClerkAction::Kind::Select:
        case ClerkAction::Kind::Choose: {
            if (control->kind() != ControlKind::DropDown) return false;
            auto* list = static_cast<ComboBox*>(control);
            if (action.kind != ClerkAction::Kind::Focus && action.number >= list->count())
                return false;
            if (action.kind != ClerkAction::Kind::Select) list->gotFocus();
            if (action.kind != ClerkAction::Kind::Focus) list->setListIndex(action.number);
            return true;
        }
        case ClerkAction::Kind::Search: {
            const Placement* placement = registry.placement(*control);
            if (control->kind() != ControlKind::DropDown || !placement || !placement->stationSearch)
                return false;
            auto* list = static_cast<ComboBox*>(control);
            const std::vector<int> found = findStations(list->items(), action.text);
            if (!found.empty()) list->setListIndex(found.front());
            return true;
        }
        case ClerkAction::Kind::Type:
            if (!typeable(registry, *control)) return false;
            static_cast<TextBox*>(control)->typeText(action.text);
            return true;
        case ClerkAction::Kind::Tab:
            break;
    }
    return false;
}

}  // namespace kippurun::testing
