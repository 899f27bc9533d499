#include "tests/clerks/clerk_actions.h"

#include <map>

#include "app/qt/window_layout.h"

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
    }
    return {};
}

ReachMap::ReachMap(ControlRegistry& registry) : registry_(&registry) {
    const std::vector<Control*>& all = registry.all();
    for (Control* control : all) {
        Place place{control, -1, -1, false, false};
        if (const Placement* placement = findPlacement(control->name())) {
            place.onWindow = true;
            place.page = placement->page;
            place.typeable = control->kind() == ControlKind::TextBox && !placement->readOnly;
            // A container is always registered before what it holds.
            for (std::size_t i = 0; i < places_.size(); ++i)
                if (all[i]->name() == placement->container) place.container = static_cast<int>(i);
            if (!placement->container.empty() && place.container < 0) place.onWindow = false;
        }
        places_.push_back(place);
    }
}

const ReachMap::Place* ReachMap::placeOf(const Control& control) const {
    for (const Place& place : places_)
        if (place.control == &control) return &place;
    return nullptr;
}

bool ReachMap::shown(const Place& place) const {
    if (!place.onWindow || !place.control->visible) return false;
    if (place.container < 0) return true;
    const Place& outer = places_[static_cast<std::size_t>(place.container)];
    if (place.page >= 0) {
        const auto* tabs = dynamic_cast<const TabControl*>(outer.control);
        if (!tabs || tabs->tab() != place.page) return false;
    }
    return shown(outer);
}

bool ReachMap::typeable(const Control& control) const {
    const Place* place = placeOf(control);
    return place && place->typeable;
}

bool ReachMap::reachable(const Control& control) const {
    const Place* place = placeOf(control);
    if (!place || !shown(*place)) return false;
    switch (control.kind()) {
        case ControlKind::Key:
            return static_cast<const CommandButton&>(control).enabled;
        case ControlKind::DropDown:
            return static_cast<const ComboBox&>(control).enabled;
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(control).enabled;
        default:
            return true;
    }
}

std::vector<Control*> ReachMap::actionable() const {
    std::vector<Control*> out;
    for (const Place& place : places_) {
        Control& c = *place.control;
        if (!shown(place)) continue;
        bool acts = false;
        switch (c.kind()) {
            case ControlKind::Key:
                acts = static_cast<CommandButton&>(c).enabled;
                break;
            case ControlKind::DropDown:
                acts = static_cast<ComboBox&>(c).enabled;
                break;
            case ControlKind::TextBox: {
                auto& box = static_cast<TextBox&>(c);
                acts = box.enabled && (box.onClick || place.typeable);
                break;
            }
            case ControlKind::Label:
                acts = static_cast<bool>(static_cast<Label&>(c).onClick);
                break;
            case ControlKind::Tab:
                acts = true;
                break;
            default:
                break;
        }
        if (acts) out.push_back(&c);
    }
    return out;
}

std::optional<ClerkAction> randomAction(const ReachMap& map, Random& random) {
    std::map<std::string, std::vector<Control*>> families;
    for (Control* control : map.actionable()) families[family(control->name())].push_back(control);
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
            if (roll < 2 || list.count() == 0) {
                action.kind = ClerkAction::Kind::Focus;
            } else {
                action.kind = roll < 4 ? ClerkAction::Kind::Select : ClerkAction::Kind::Choose;
                action.number = random.below(list.count());
            }
            break;
        }
        case ControlKind::TextBox: {
            const auto& box = static_cast<TextBox&>(control);
            if (map.typeable(box) && (!box.onClick || random.below(3) > 0)) {
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

bool perform(ProgramShell& shell, const ReachMap& map, const ClerkAction& action) {
    const ControlRegistry& registry = shell.currentControls();
    if (action.kind == ClerkAction::Kind::Tab) {
        for (Control* control : registry.all()) {
            if (control->kind() != ControlKind::Tab || !map.reachable(*control)) continue;
            return static_cast<TabControl*>(control)->setTab(action.number);
        }
        return false;
    }
    Control* control = registry.find(action.control);
    if (!control || !map.reachable(*control)) return false;
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
        case ClerkAction::Kind::Type:
            if (!map.typeable(*control)) return false;
            static_cast<TextBox*>(control)->typeText(action.text);
            return true;
        case ClerkAction::Kind::Tab:
            break;
    }
    return false;
}

}  // namespace kippurun::testing
