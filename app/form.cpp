#include "app/form.h"

#include <type_traits>

namespace kippurun {

void ControlRegistry::add(Control& control) { controls_.push_back(&control); }

void ControlRegistry::place(Control& control, Placement placement) {
    placement.name = control.name();
    controls_.push_back(&control);
    placed_.emplace(&control, layout_.size());
    layout_.push_back(std::move(placement));
}

Control* ControlRegistry::find(std::string_view name) const {
    for (Control* c : controls_)
        if (c->name() == name) return c;
    return nullptr;
}

const Placement* ControlRegistry::placement(const Control& control) const {
    auto it = placed_.find(&control);
    return it == placed_.end() ? nullptr : &layout_[it->second];
}

namespace {

// `T&` or `const T&` as `control` is: the one description below serves the
// reading of a state (a const control) and its putting back.
template <class T, class C>
auto& as(C& control) {
    if constexpr (std::is_const_v<C>)
        return static_cast<const T&>(control);
    else
        return static_cast<T&>(control);
}

// What a control's state is, by kind, written once: from a const control
// into a state, or from a const state back into the control. A list's
// items and selection, an option's value and a tab's page go back through
// the control's own restore, which runs no handler.
template <class C, class S>
void transfer(C& control, S& state) {
    constexpr bool reading = std::is_const_v<C>;
    static_assert(reading != std::is_const_v<S>);
    const auto move = [](auto& member, auto& field) {
        if constexpr (reading)
            field = member;
        else
            member = field;
    };
    move(control.visible, state.visible);
    move(control.geometry, state.geometry);
    switch (control.kind()) {
        case ControlKind::Key: {
            auto& key = as<CommandButton>(control);
            move(key.caption, state.caption);
            move(key.enabled, state.enabled);
            break;
        }
        case ControlKind::DropDown: {
            auto& list = as<ComboBox>(control);
            move(list.enabled, state.enabled);
            if constexpr (reading) {
                state.items = list.items();
                state.index = list.listIndex();
            } else {
                list.restore(state.items, state.index);
            }
            break;
        }
        case ControlKind::TextBox: {
            auto& box = as<TextBox>(control);
            move(box.text, state.text);
            move(box.enabled, state.enabled);
            move(box.backColor, state.backColor);
            break;
        }
        case ControlKind::Label: {
            auto& label = as<Label>(control);
            move(label.caption, state.caption);
            move(label.foreColor, state.foreColor);
            break;
        }
        case ControlKind::Option: {
            auto& option = as<OptionButton>(control);
            move(option.caption, state.caption);
            if constexpr (reading)
                state.value = option.value();
            else
                option.restore(state.value);
            break;
        }
        case ControlKind::Frame:
            move(as<Frame>(control).caption, state.caption);
            break;
        case ControlKind::Picture:
            move(as<PictureBox>(control).backColor, state.backColor);
            break;
        case ControlKind::Tab: {
            auto& tabs = as<TabControl>(control);
            move(tabs.captions, state.items);
            if constexpr (reading)
                state.index = tabs.tab();
            else
                tabs.restore(state.index);
            break;
        }
    }
}

}  // namespace

ControlRegistry::ControlState ControlRegistry::stateOf(const Control& control) {
    ControlState state;
    transfer(control, state);
    return state;
}

void ControlRegistry::restore(Control& control, const ControlState& state) {
    transfer(control, state);
}

void ControlRegistry::keepInitialState() {
    initial_.clear();
    initial_.reserve(controls_.size());
    for (const Control* control : controls_) initial_.push_back(stateOf(*control));
}

void ControlRegistry::restoreInitialState() {
    for (std::size_t i = 0; i < initial_.size() && i < controls_.size(); ++i)
        restore(*controls_[i], initial_[i]);
}

namespace {

bool isEnabled(const Control& c) {
    switch (c.kind()) {
        case ControlKind::Key:
            return static_cast<const CommandButton&>(c).enabled;
        case ControlKind::DropDown:
            return static_cast<const ComboBox&>(c).enabled;
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(c).enabled;
        default:
            return true;
    }
}

}  // namespace

std::optional<std::string> whyUnreachable(const ControlRegistry& form, const Control& control) {
    const Placement* placed = form.placement(control);
    if (!placed) return "画面に出ないコントロールです";
    if (!control.visible) return "表示されていません";
    if (!isEnabled(control)) return "使用できません";
    // Up through the containers: each must be shown, and a tab control
    // must have the page holding it in front.
    for (const Placement* p = placed; !p->container.empty();) {
        const Control* container = form.find(p->container);
        const Placement* outer = container ? form.placement(*container) : nullptr;
        if (!outer) return "画面に出ない " + p->container + " の中にあります";
        if (!container->visible) return container->name() + " が表示されていません";
        if (container->kind() == ControlKind::Tab &&
            static_cast<const TabControl*>(container)->tab() != p->page)
            return container->name() + " のページ " + std::to_string(p->page) +
                   " が表に出ていません";
        p = outer;
    }
    return std::nullopt;
}

std::optional<TypingRefusal> whyUntypable(const ControlRegistry& form, const TextBox& box,
                                          std::string_view text) {
    const Placement* placed = form.placement(box);
    if (!placed || placed->readOnly) return TypingRefusal::NotTyped;
    if (whyUnreachable(form, box)) return TypingRefusal::Unreachable;
    if (box.digitsOnly && text.find_first_not_of("0123456789") != std::string_view::npos)
        return TypingRefusal::DigitsOnly;
    // Characters, not bytes, as the window's own length limit counts them.
    std::size_t characters = 0;
    for (const unsigned char c : text) characters += (c & 0xC0) != 0x80;
    if (box.maxLength > 0 && characters > static_cast<std::size_t>(box.maxLength))
        return TypingRefusal::TooLong;
    return std::nullopt;
}

bool needsAccessibleName(const Control& control, const Placement& placement) {
    switch (control.kind()) {
        case ControlKind::Key:
        case ControlKind::DropDown:
        case ControlKind::TextBox:
        case ControlKind::Option:
        case ControlKind::Tab:
            return true;
        case ControlKind::Picture:
            return placement.grid.has_value();
        case ControlKind::Label:
        case ControlKind::Frame:
            return false;
    }
    return false;
}

void moveGridMark(const KeyGrid& grid, int across, int down) {
    const int count = static_cast<int>(grid.cells.size());
    auto cell = [&](int k) -> Label& { return *grid.cells[static_cast<std::size_t>(k)]; };
    for (int k = 0; k < count; ++k) {
        if (cell(k).caption.empty()) continue;
        const int target = k + across + down * grid.columns;
        if (target >= 0 && target < count) cell(target).click();
        return;
    }
    const bool back = across + down < 0;
    for (int i = 0; i < count; ++i) {
        Label& candidate = cell(back ? count - 1 - i : i);
        candidate.click();
        if (!candidate.caption.empty()) return;
    }
}

}  // namespace kippurun
