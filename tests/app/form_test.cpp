// The form table: what a row declares, and when a clerk can reach a control.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/form.h"
#include "app/frm_settei.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

// A small screen: a key on the form, a frame with a list and a count box,
// a tab control with a key on each of two pages, one hidden holder.
struct MiniScreen {
    CommandButton cmdGo{"cmdGo"};
    Frame frameBox{"frameBox"};
    ComboBox cboList{"cboList"};
    TextBox txtCount{"txtCount"};
    TextBox txtShown{"txtShown"};
    TabControl tabPages{"tabPages"};
    CommandButton cmdFront{"cmdFront"};
    CommandButton cmdBack{"cmdBack"};
    Frame frameOnBack{"frameOnBack"};
    CommandButton cmdDeep{"cmdDeep"};
    TextBox txtHolder{"txtHolder"};
    ControlRegistry registry;
    int goPresses = 0;

    void go() { ++goPresses; }

    MiniScreen() {
        FormBuilder<MiniScreen> f(*this, registry);
        f.form("frmMini", "小画面", 6000, 4000);
        f.put(cmdGo, {0, 0, 900, 375}).caption("実 行").click(&MiniScreen::go).initialFocus();
        f.put(frameBox, {0, 600, 3000, 2000});
        f.in(frameBox);
        f.put(cboList, {120, 240, 1800, 375});
        f.put(txtCount, {120, 720, 735, 375}).typedDigits(4).rightAligned();
        f.put(txtShown, {1000, 720, 735, 375}).centred();
        f.onForm();
        f.put(tabPages, {3000, 0, 3000, 3000}).caption("表|裏");
        f.onPage(tabPages, 0);
        f.put(cmdFront, {120, 120, 900, 375});
        f.onPage(tabPages, 1);
        f.put(cmdBack, {120, 120, 900, 375}).disabled();
        f.put(frameOnBack, {120, 600, 2000, 1000});
        f.in(frameOnBack);
        f.put(cmdDeep, {60, 60, 900, 375});
        f.holder(txtHolder);
    }
};

TEST(FormTable, RowsGiveOrderCaptionsStateHandlersAndPlaces) {
    MiniScreen s;
    const ControlRegistry& form = s.registry;
    std::string order;
    for (const Control* c : form.all()) order += c->name() + " ";
    EXPECT_EQ(order,
              "cmdGo frameBox cboList txtCount txtShown tabPages cmdFront cmdBack frameOnBack "
              "cmdDeep txtHolder ");
    EXPECT_EQ(form.name, "frmMini");
    EXPECT_EQ(form.caption, "小画面");
    EXPECT_EQ(form.initialFocus, &s.cmdGo);
    EXPECT_EQ(s.cmdGo.caption, "実 行");
    EXPECT_EQ(s.tabPages.captions, (std::vector<std::string>{"表", "裏"}));
    s.cmdGo.press();
    EXPECT_EQ(s.goPresses, 1);
    EXPECT_FALSE(s.cmdBack.enabled);
    EXPECT_TRUE(s.txtCount.digitsOnly && s.txtCount.rightAligned);
    EXPECT_EQ(s.txtCount.maxLength, 4);
    EXPECT_TRUE(s.txtShown.centred);
    EXPECT_FALSE(s.txtHolder.visible);

    const Placement* count = form.placement(s.txtCount);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->name, "txtCount");
    EXPECT_EQ(count->container, "frameBox");
    EXPECT_FALSE(count->readOnly);
    EXPECT_TRUE(form.placement(s.txtShown)->readOnly);
    const Placement* back = form.placement(s.cmdBack);
    EXPECT_EQ(back->container, "tabPages");
    EXPECT_EQ(back->page, 1);
    EXPECT_EQ(form.placement(s.cmdDeep)->container, "frameOnBack");
    EXPECT_EQ(form.placement(s.txtHolder), nullptr);
    EXPECT_EQ(form.layout().size(), form.all().size() - 1);
    EXPECT_EQ(form.find("cboList"), &s.cboList);
    EXPECT_EQ(form.find("nothing"), nullptr);
}

TEST(FormTable, AClerkReachesOnlyShownEnabledControlsOnThePageInFront) {
    struct Case {
        const char* what;
        void (*arrange)(MiniScreen&);
        Control& (*target)(MiniScreen&);
        std::optional<std::string> why;
    };
    const Case cases[] = {
        {"a key on the form", [](MiniScreen&) {}, [](MiniScreen& s) -> Control& { return s.cmdGo; },
         std::nullopt},
        {"a hidden key", [](MiniScreen& s) { s.cmdGo.visible = false; },
         [](MiniScreen& s) -> Control& { return s.cmdGo; }, "表示されていません"},
        {"a disabled list", [](MiniScreen& s) { s.cboList.enabled = false; },
         [](MiniScreen& s) -> Control& { return s.cboList; }, "使用できません"},
        {"a box in a hidden frame", [](MiniScreen& s) { s.frameBox.visible = false; },
         [](MiniScreen& s) -> Control& { return s.txtCount; }, "frameBox が表示されていません"},
        {"a key on the page in front", [](MiniScreen&) {},
         [](MiniScreen& s) -> Control& { return s.cmdFront; }, std::nullopt},
        {"a key on a page behind", [](MiniScreen&) {},
         [](MiniScreen& s) -> Control& { return s.cmdDeep; },
         "tabPages のページ 1 が表に出ていません"},
        {"a key in a frame on the page brought to the front",
         [](MiniScreen& s) { s.tabPages.setTab(1); },
         [](MiniScreen& s) -> Control& { return s.cmdDeep; }, std::nullopt},
        {"the front page's key once the page is behind",
         [](MiniScreen& s) { s.tabPages.setTab(1); },
         [](MiniScreen& s) -> Control& { return s.cmdFront; },
         "tabPages のページ 0 が表に出ていません"},
        {"a key whose tab control is hidden",
         [](MiniScreen& s) {
             s.tabPages.setTab(1);
             s.tabPages.visible = false;
         },
         [](MiniScreen& s) -> Control& { return s.cmdDeep; }, "tabPages が表示されていません"},
        {"a hidden holder made visible", [](MiniScreen& s) { s.txtHolder.visible = true; },
         [](MiniScreen& s) -> Control& { return s.txtHolder; }, "画面に出ないコントロールです"},
    };
    for (const Case& c : cases) {
        MiniScreen s;
        c.arrange(s);
        EXPECT_EQ(whyUnreachable(s.registry, c.target(s)), c.why) << c.what;
    }
}

TEST(FormTable, ARowNamesItsControlByCaptionUnlessNamedOtherwise) {
    struct Named {
        CommandButton cmdCaptioned{"cmdCaptioned"}, cmdNamedFirst{"cmdNamedFirst"},
            cmdNamedAfter{"cmdNamedAfter"}, cmdBare{"cmdBare"};
        TextBox txtBanner{"txtBanner"};
        Label lblCount{"lblCount"};
        ControlRegistry registry;
        Named() {
            FormBuilder<Named> f(*this, registry);
            f.put(cmdCaptioned, {}).caption("実 行");
            f.put(cmdNamedFirst, {}).named("前の年").caption("▲");
            f.put(cmdNamedAfter, {}).caption("▼").named("次の年");
            f.put(cmdBare, {});
            f.put(txtBanner, {}).caption("乗 料 券");
            f.put(lblCount, {}).caption("大人").labels(txtBanner);
        }
    } s;
    const struct {
        const Control& control;
        const char* name;
        const char* buddy;
    } cases[] = {
        {s.cmdCaptioned, "実 行", ""},
        {s.cmdNamedFirst, "前の年", ""},
        {s.cmdNamedAfter, "次の年", ""},
        {s.cmdBare, "", ""},
        // A box's fixed text is what it shows, not what it is.
        {s.txtBanner, "", ""},
        // A label is read by its caption; it names the box it is tied to.
        {s.lblCount, "", "txtBanner"},
    };
    for (const auto& c : cases) {
        const Placement* placed = s.registry.placement(c.control);
        ASSERT_NE(placed, nullptr) << c.control.name();
        EXPECT_EQ(placed->accessibleName, c.name) << c.control.name();
        EXPECT_EQ(placed->buddyOf, c.buddy) << c.control.name();
    }
}

// Every control a clerk works or reads on a screen, hidden ones too (they
// show in other sales), has a name of its own; every label's partner is a
// control the screen shows.
void expectNamedOnce(const ControlRegistry& form, const std::string& screen) {
    std::map<std::string, std::string> owners;
    for (const Placement& placed : form.layout()) {
        const Control* control = form.find(placed.name);
        ASSERT_NE(control, nullptr) << screen << " " << placed.name;
        if (!placed.buddyOf.empty()) {
            const Control* partner = form.find(placed.buddyOf);
            EXPECT_TRUE(partner && form.placement(*partner)) << screen << " " << placed.name;
        }
        if (!needsAccessibleName(*control, placed)) continue;
        EXPECT_FALSE(placed.accessibleName.empty()) << screen << " " << placed.name;
        if (placed.accessibleName.empty()) continue;
        auto [at, fresh] = owners.emplace(placed.accessibleName, placed.name);
        EXPECT_TRUE(fresh) << screen << ": " << placed.name << " and " << at->second
                           << " are both called " << placed.accessibleName;
    }
}

TEST(FormTable, EveryControlOfBothScreensHasItsOwnAccessibleName) {
    testing::ShellTest program;
    frmSettei& settings = program.openSettings();
    expectNamedOnce(settings.controls(), "frmSettei");
    testing::ScreenTest sales;
    expectNamedOnce(sales.screen().controls(), "frmStart");

    const struct {
        const ControlRegistry& form;
        const char* control;
        const char* name;
    } cases[] = {
        {sales.screen().controls(), "cboHatsu", "区間１ 発駅"},
        {sales.screen().controls(), "cboChaku2", "区間２ 着駅"},
        {sales.screen().controls(), "cboHatsu3", "料金区間１ 発駅"},
        {sales.screen().controls(), "txtTan01", "大人 単価"},
        {sales.screen().controls(), "txtNin03", "学割 枚数"},
        {sales.screen().controls(), "txtSho22", "料金区間１ 小児 小計"},
        {sales.screen().controls(), "txtSho32", "料金区間２ 小児 小計"},
        {sales.screen().controls(), "txtNinzuK", "小児 人数"},
        {sales.screen().controls(), "txtBill", "合計金額"},
        {sales.screen().controls(), "cmdJikkou", "実 行"},
        {sales.screen().controls(), "cmdEki00", "駅名キー1"},
        {sales.screen().controls(), "cmdZenGetu", "前の月"},
        {settings.controls(), "cmdEki51", "駅名キー52"},
        {settings.controls(), "txtHatsu", "初期の発駅"},
        {settings.controls(), "cmdStart", "設定終了"},
    };
    for (const auto& c : cases) {
        const Control* control = c.form.find(c.control);
        ASSERT_NE(control, nullptr) << c.control;
        const Placement* placed = c.form.placement(*control);
        ASSERT_NE(placed, nullptr) << c.control;
        EXPECT_EQ(placed->accessibleName, c.name) << c.control;
    }
}

}  // namespace
}  // namespace kippurun
