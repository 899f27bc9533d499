#include "app/script/state_lines.h"

#include <cstdio>

namespace kippurun {

namespace {

const char* flag(bool b) { return b ? "1" : "0"; }

}  // namespace

std::string quoteText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string colourText(Rgb colour) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", colour.r, colour.g, colour.b);
    return buf;
}

std::string stateLine(const Control& control) {
    std::string line = control.name();
    auto field = [&line](std::string_view name, const std::string& value) {
        line += ' ';
        line += name;
        line += '=';
        line += value;
    };
    switch (control.kind()) {
        case ControlKind::Key: {
            const auto& key = static_cast<const CommandButton&>(control);
            field("caption", quoteText(key.caption));
            field("visible", flag(key.visible));
            field("enabled", flag(key.enabled));
            break;
        }
        case ControlKind::DropDown: {
            const auto& list = static_cast<const ComboBox&>(control);
            field("index", std::to_string(list.listIndex()));
            field("text", quoteText(list.text()));
            field("count", std::to_string(list.count()));
            field("visible", flag(list.visible));
            field("enabled", flag(list.enabled));
            break;
        }
        case ControlKind::TextBox: {
            const auto& box = static_cast<const TextBox&>(control);
            field("text", quoteText(box.text));
            field("visible", flag(box.visible));
            field("enabled", flag(box.enabled));
            break;
        }
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            field("caption", quoteText(label.caption));
            field("color", colourText(label.foreColor));
            field("visible", flag(label.visible));
            break;
        }
        case ControlKind::Option:
            field("value", flag(static_cast<const OptionButton&>(control).value()));
            break;
        case ControlKind::Frame:
            field("visible", flag(control.visible));
            break;
        case ControlKind::Picture:
            field("height", std::to_string(control.geometry.height));
            field("visible", flag(control.visible));
            break;
        case ControlKind::Tab:
            field("tab", std::to_string(static_cast<const TabControl&>(control).tab()));
            break;
    }
    return line;
}

std::string billText(frmStart& screen) {
    std::string out;
    int block = -1;
    for (const frmStart::BillLine& line : screen.billLines()) {
        if (line.block != block) {
            block = line.block;
            const Label& name = screen.lblKenshuM(block);
            if (name.visible) out += "[" + name.caption + "]\n";
        }
        if (!line.label->visible) continue;
        out += std::string(line.suffix) + " " + line.label->caption +
               " unit=" + quoteText(line.unit->text) + " count=" + quoteText(line.count->text) +
               " subtotal=" + quoteText(line.subtotal->text) + "\n";
    }
    out += "total=" + quoteText(screen.txtBill.text) + "\n";
    return out;
}

}  // namespace kippurun
