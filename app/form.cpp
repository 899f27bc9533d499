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

}  // namespace kippurun
