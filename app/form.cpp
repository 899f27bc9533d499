#include "app/form.h"

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

ControlRegistry::ControlState ControlRegistry::stateOf(const Control& control) {
    ControlState state;
    state.visible = control.visible;
    state.geometry = control.geometry;
    switch (control.kind()) {
        case ControlKind::Key: {
            const auto& key = static_cast<const CommandButton&>(control);
            state.caption = key.caption;
            state.enabled = key.enabled;
            break;
        }
        case ControlKind::DropDown: {
            const auto& list = static_cast<const ComboBox&>(control);
            state.enabled = list.enabled;
            state.items = list.items();
            state.index = list.listIndex();
            break;
        }
        case ControlKind::TextBox: {
            const auto& box = static_cast<const TextBox&>(control);
            state.text = box.text;
            state.enabled = box.enabled;
            state.backColor = box.backColor;
            break;
        }
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            state.caption = label.caption;
            state.foreColor = label.foreColor;
            break;
        }
        case ControlKind::Option: {
            const auto& option = static_cast<const OptionButton&>(control);
            state.caption = option.caption;
            state.value = option.value();
            break;
        }
        case ControlKind::Frame:
            state.caption = static_cast<const Frame&>(control).caption;
            break;
        case ControlKind::Picture:
            state.backColor = static_cast<const PictureBox&>(control).backColor;
            break;
        case ControlKind::Tab: {
            const auto& tabs = static_cast<const TabControl&>(control);
            state.items = tabs.captions;
            state.index = tabs.tab();
            break;
        }
    }
    return state;
}

void ControlRegistry::restore(Control& control, const ControlState& state) {
    control.visible = state.visible;
    control.geometry = state.geometry;
    switch (control.kind()) {
        case ControlKind::Key: {
            auto& key = static_cast<CommandButton&>(control);
            key.caption = state.caption;
            key.enabled = state.enabled;
            break;
        }
        case ControlKind::DropDown: {
            auto& list = static_cast<ComboBox&>(control);
            list.enabled = state.enabled;
            list.restore(state.items, state.index);
            break;
        }
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(control);
            box.text = state.text;
            box.enabled = state.enabled;
            box.backColor = state.backColor;
            break;
        }
        case ControlKind::Label: {
            auto& label = static_cast<Label&>(control);
            label.caption = state.caption;
            label.foreColor = state.foreColor;
            break;
        }
        case ControlKind::Option: {
            auto& option = static_cast<OptionButton&>(control);
            option.caption = state.caption;
            option.restore(state.value);
            break;
        }
        case ControlKind::Frame:
            static_cast<Frame&>(control).caption = state.caption;
            break;
        case ControlKind::Picture:
            static_cast<PictureBox&>(control).backColor = state.backColor;
            break;
        case ControlKind::Tab: {
            auto& tabs = static_cast<TabControl&>(control);
            tabs.captions = state.items;
            tabs.restore(state.index);
            break;
        }
    }
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
