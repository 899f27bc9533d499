#include "tests/support/screen_test.h"

#include <gtest/gtest.h>

#include "app/form.h"
#include "data/station_catalogue.h"

namespace kippurun::testing {

ScreenTest::ScreenTest() { open(); }

void ScreenTest::open() {
    screen_ = std::make_unique<frmStart>(folder.path(), clock, prompt);
    screen_->Form_Load();
}

void ScreenTest::fillExpressStops(ComboBox& hatsu, ComboBox& chaku) {
    for (ComboBox* list : {&hatsu, &chaku}) {
        list->clear();
        for (int station : ExpressStopList()) list->addItem(std::string(*stationName(station)));
    }
}

void ScreenTest::fillMarineStops(ComboBox& hatsu, ComboBox& chaku) {
    for (ComboBox* list : {&hatsu, &chaku}) {
        list->clear();
        for (int station : MarineStopList()) list->addItem(std::string(*stationName(station)));
    }
}

void typeAsClerk(frmStart& screen, TextBox& box, const std::string& text) {
    if (const auto refusal = whyUntypable(screen.controls(), box, text)) {
        ADD_FAILURE() << "a clerk cannot type \"" << text << "\" into " << box.name() << " ("
                      << static_cast<int>(*refusal) << ")";
        return;
    }
    box.typeText(text);
}

frmSettei& ShellTest::openSettings() {
    shell.start();
    shell.salesScreen()->cmdSettei.press();
    return *shell.settingsScreen();
}

std::vector<std::string> snapshot(frmStart& screen) {
    std::vector<std::string> out;
    for (const Control* c : screen.controls().all()) {
        std::string s = c->name() + (c->visible ? " v" : " h");
        switch (c->kind()) {
            case ControlKind::Key: {
                auto& k = static_cast<const CommandButton&>(*c);
                s += " [" + k.caption + "]" + (k.enabled ? " e" : " d");
                break;
            }
            case ControlKind::DropDown: {
                auto& l = static_cast<const ComboBox&>(*c);
                s += " " + std::to_string(l.listIndex()) + "/" + std::to_string(l.count()) +
                     (l.enabled ? " e" : " d");
                break;
            }
            case ControlKind::TextBox: {
                auto& t = static_cast<const TextBox&>(*c);
                s += " [" + t.text + "]" + (t.enabled ? " e" : " d");
                break;
            }
            case ControlKind::Label: {
                auto& l = static_cast<const Label&>(*c);
                s += " [" + l.caption + "] " + std::to_string(l.foreColor.r) + "," +
                     std::to_string(l.foreColor.g) + "," + std::to_string(l.foreColor.b);
                break;
            }
            case ControlKind::Option:
                s += static_cast<const OptionButton&>(*c).value() ? " on" : " off";
                break;
            case ControlKind::Picture:
                s += " " + std::to_string(c->geometry.height);
                break;
            case ControlKind::Tab:
                s += " " + std::to_string(static_cast<const TabControl&>(*c).tab());
                break;
            case ControlKind::Frame:
                break;
        }
        out.push_back(s);
    }
    return out;
}

}  // namespace kippurun::testing
