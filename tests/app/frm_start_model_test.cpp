// The sales screen's controls before and right after the load step.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/frm_start.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;

class ModelTest : public ::testing::Test, public ScreenTest {};

int positionOf(frmStart& s, const std::string& name) {
    const auto& all = s.controls().all();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i]->name() == name) return static_cast<int>(i);
    return -1;
}

TEST_F(ModelTest, RegistryHoldsEveryControlOnceUnderItsName) {
    frmStart& s = screen();
    std::set<std::string> names;
    for (const Control* c : s.controls().all())
        EXPECT_TRUE(names.insert(c->name()).second) << c->name();
    // Form 16, passenger frame 25, charge frames 18, bottom 10, tab and
    // pages 0-1 105, calendar 108, bill 34.
    EXPECT_EQ(s.controls().all().size(), 316u);
    for (const char* name :
         {"cmdExit(0)", "cmdExit(10)", "lblKenshu(3)", "lblKukan1(3)", "lblArrow(3)",
          "lblKenshuM(2)", "lblDay(41)", "lblWeek(6)", "lblHi0", "lblHi41", "cmdEki00", "cmdEki51",
          "cmdFull04", "cmdFull30", "cmdFull52", "txthatsu2", "picCalender", "Label1"})
        EXPECT_NE(s.controls().find(name), nullptr) << name;
    EXPECT_EQ(s.controls().find("cmdFull05"), nullptr);  // position 5 is "大人１"
    EXPECT_EQ(s.controls().find("lblHi(3)"), nullptr);
}

TEST_F(ModelTest, ContainersComeBeforeTheirContents) {
    frmStart& s = screen();
    const std::pair<const char*, const char*> pairs[] = {
        {"frameJosha", "cboKenshu"},    {"frameJosha", "txtNinzuG"},
        {"frameRyokin", "cboKenshu3"},  {"frameRyokin", "frameRyokin2"},
        {"frameRyokin2", "cboKenshu4"}, {"frameRyokin2", "txtChaku4"},
        {"tabFullKey", "cmdToday"},     {"tabFullKey", "cmdEki00"},
        {"tabFullKey", "txtTan01"},     {"picCalender", "lblDay(0)"},
        {"picCalender", "lblHi41"},     {"picYear", "txtNannen"},
        {"picMonth", "cmdYokuGetsu"},
    };
    for (auto [container, content] : pairs)
        EXPECT_LT(positionOf(s, container), positionOf(s, content)) << container << " " << content;
}

TEST_F(ModelTest, PageZeroKeysSitAtTheirPositions) {
    frmStart& s = screen();
    EXPECT_EQ(&s.fullKey(1), &s.cmdToday);
    EXPECT_EQ(&s.fullKey(5), &s.cmdO1);
    EXPECT_EQ(&s.fullKey(17), &s.cmd11Kai);
    EXPECT_EQ(&s.fullKey(26), &s.cmdMarineG);
    EXPECT_EQ(&s.fullKey(29), &s.cmdGaku);
    EXPECT_EQ(s.fullKey(4).name(), "cmdFull04");
    EXPECT_EQ(s.fullKey(52).name(), "cmdFull52");
    EXPECT_THROW(s.fullKey(0), std::out_of_range);
    EXPECT_THROW(s.cmdFull(5), std::out_of_range);
    int empty = 0;
    for (int n = 1; n <= 52; ++n)
        if (s.fullKey(n).name().starts_with("cmdFull")) {
            ++empty;
            EXPECT_EQ(s.fullKey(n).caption, "");
        }
    EXPECT_EQ(empty, 29);
}

TEST_F(ModelTest, FixedCaptionsAreExact) {
    frmStart& s = screen();
    const std::pair<std::string, std::string> captions[] = {
        {"cmdExit(0)", "終 了"},    {"cmdSettei", "設 定"},    {"cmdJikkou", "実 行"},
        {"cmdKaihou", "開 放"},     {"lblKenshu(0)", "券種"},  {"lblKenshu(3)", "合計金額"},
        {"lblHizuke", "乗車日"},    {"lblSrash", "／"},        {"lblKukan1(1)", "区間２"},
        {"lblKukan1(2)", "区間１"}, {"lblArrow(3)", "→"},      {"cmdO4", "大人４"},
        {"cmdK2", "小児２"},        {"cmdKatamichi", "片 道"}, {"cmd6Kai", "６枚回数"},
        {"cmdMarineG", "マリンＧ"}, {"cmdGaku", "学 生"},      {"cmdAsatte", "明後日"},
        {"cmdZenNen", "▲"},         {"cmdYokuGetsu", "▼"},     {"cmdDayKettei", "決定"},
        {"lblWeek(0)", "日"},       {"lblWeek(6)", "土"},      {"lblTanka", "単　価"},
        {"lblMaisu", "枚数"},       {"lblShokei", "小　計"},   {"lbl03", "学割"},
        {"lbl32", "小児"},          {"cmdExit(5)", ""},
    };
    for (const auto& [name, caption] : captions) {
        Control* c = s.controls().find(name);
        ASSERT_NE(c, nullptr) << name;
        const std::string& actual = c->kind() == ControlKind::Key
                                        ? static_cast<CommandButton*>(c)->caption
                                        : static_cast<Label*>(c)->caption;
        EXPECT_EQ(actual, caption) << name;
    }
    EXPECT_EQ(s.txtJoryouken.text, "乗 料 券");
    EXPECT_EQ(s.txtJoryouken.backColor, (Rgb{192, 255, 192}));
    EXPECT_EQ(s.frameRyokin.caption, "料金券");
    EXPECT_EQ(s.tabFullKey.captions,
              (std::vector<std::string>{"フルキー", "駅名", "カレンダー", "明細"}));
}

TEST_F(ModelTest, StateHoldersStartHiddenAndTheRestShown) {
    frmStart s(folder.path(), clock, prompt);  // as built, before the load step
    std::set<std::string> hidden = {
        "txtHatsu", "txtChaku", "txthatsu2", "txtChaku2", "txtHatsu4", "txtChaku4", "optRyokin1",
        "optRyokin2", "optHatsu1", "optHatsu2", "optHatsu3", "optHatsu4", "optChaku1", "optChaku2",
        "optChaku3", "optChaku4", "txtFocus", "txtYear", "txtMonth", "txtDay", "txtWeek", "lblGaku",
        "txtNinzuG",
        // journey section 2 and charge section 2 wait for a sale that needs them
        "cboHatsu2", "cboChaku2", "lblKukan1(1)", "lblArrow(1)", "frameRyokin2"};
    for (const Control* c : s.controls().all())
        EXPECT_EQ(c->visible, !hidden.count(c->name())) << c->name();
}

TEST_F(ModelTest, CalendarAndBillLookBeforeAnyDraw) {
    frmStart s(folder.path(), clock, prompt);  // no load step
    for (int k = 0; k < 42; ++k) {
        EXPECT_EQ(s.lblDay(k).caption, "・");
        const Rgb expected = k % 7 == 0 ? RgbRed : k % 7 == 6 ? RgbBlue : RgbBlack;
        EXPECT_EQ(s.lblDay(k).foreColor, expected) << k;
        EXPECT_TRUE(s.lblHi(k).transparent);
        EXPECT_EQ(s.lblHi(k).caption, "");
    }
    EXPECT_EQ(s.lblWeek(0).foreColor, RgbRed);
    EXPECT_EQ(s.lblWeek(3).foreColor, RgbBlack);
    EXPECT_EQ(s.lblWeek(6).foreColor, RgbBlue);
    EXPECT_EQ(s.picCalender.geometry.height, 3495);
    EXPECT_TRUE(s.txtSeason.centred);
    for (const auto& line : s.billLines()) {
        EXPECT_TRUE(line.unit->rightAligned && line.count->rightAligned &&
                    line.subtotal->rightAligned);
        EXPECT_EQ(line.unit->text, "");
    }
    for (TextBox* count : {&s.txtNinzu, &s.txtNinzuK, &s.txtNinzuG}) EXPECT_TRUE(count->digitsOnly);
    EXPECT_FALSE(s.txtBill.digitsOnly);
}

TEST_F(ModelTest, EmptyPageZeroKeysDoNothing) {
    frmStart& s = screen();
    const auto before = testing::snapshot(s);
    for (int n = 1; n <= 52; ++n)
        if (s.fullKey(n).name().starts_with("cmdFull")) s.fullKey(n).press();
    EXPECT_EQ(testing::snapshot(s), before);
}

}  // namespace
}  // namespace kippurun
