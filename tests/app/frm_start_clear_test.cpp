// Emptying the bill, the day marks, the key tab and the exit question.
#include <gtest/gtest.h>

#include "app/frm_start.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;
using testing::typeAsClerk;

class ClearTest : public ::testing::Test, public ScreenTest {
  protected:
    // A run with every kind of line on the bill, some of them hidden.
    void runWithBill() {
        frmStart& s = screen();
        typeAsClerk(s, s.txtNinzuK, "1");
        fillExpressStops(s.cboHatsu3, s.cboChaku3);
        s.cboHatsu3.setListIndex(0);
        s.cboChaku3.setListIndex(3);
        s.cboKenshu3.setListIndex(0);
        s.frameRyokin2.visible = false;
        s.cmdJikkou.press();
        ASSERT_NE(s.txtBill.text, "");
        ASSERT_FALSE(s.txtTan03.visible);
    }
};

void expectBillEmpty(frmStart& s) {
    for (const auto& line : s.billLines()) {
        EXPECT_EQ(line.unit->text, "") << line.suffix;
        EXPECT_EQ(line.count->text, "") << line.suffix;
        EXPECT_EQ(line.subtotal->text, "") << line.suffix;
    }
    for (int b = 0; b < 3; ++b) EXPECT_EQ(s.lblKenshuM(b).caption, "");
    EXPECT_EQ(s.txtBill.text, "");
}

TEST_F(ClearTest, MeisaiClearEmptiesTheTextsAndKeepsVisibilityAndInputs) {
    runWithBill();
    frmStart& s = screen();
    std::vector<bool> shown;
    for (const auto& line : s.billLines())
        shown.insert(shown.end(), {line.label->visible, line.unit->visible, line.count->visible,
                                   line.subtotal->visible});
    s.MeisaiClear();
    expectBillEmpty(s);
    std::vector<bool> after;
    for (const auto& line : s.billLines())
        after.insert(after.end(), {line.label->visible, line.unit->visible, line.count->visible,
                                   line.subtotal->visible});
    EXPECT_EQ(after, shown);
    EXPECT_FALSE(s.txtTan03.visible);
    EXPECT_EQ(s.txtNinzu.text, "1");
    EXPECT_EQ(s.lblMaisu.caption, "枚数");
    EXPECT_EQ(s.cboKenshu3.listIndex(), 0);
}

TEST_F(ClearTest, FocusIntoAnySelectionListEmptiesTheBill) {
    ComboBox frmStart::*const lists[] = {
        &frmStart::cboHatsu,  &frmStart::cboChaku,  &frmStart::cboKenshu, &frmStart::cboHatsu2,
        &frmStart::cboChaku2, &frmStart::cboHatsu3, &frmStart::cboChaku3, &frmStart::cboKenshu3,
        &frmStart::cboHatsu4, &frmStart::cboChaku4, &frmStart::cboKenshu4};
    for (ComboBox frmStart::*list : lists) {
        open();
        runWithBill();
        ComboBox& target = screen().*list;
        const int index = target.listIndex();
        target.gotFocus();
        SCOPED_TRACE(target.name());
        expectBillEmpty(screen());
        EXPECT_EQ(target.listIndex(), index);
    }
}

TEST_F(ClearTest, ClickOnACountBoxEmptiesTheBill) {
    for (TextBox frmStart::*box :
         {&frmStart::txtNinzu, &frmStart::txtNinzuK, &frmStart::txtNinzuG}) {
        open();
        runWithBill();
        (screen().*box).click();
        SCOPED_TRACE((screen().*box).name());
        expectBillEmpty(screen());
    }
}

TEST_F(ClearTest, CheckClearRemovesEveryDayMark) {
    frmStart& s = screen();
    s.lblHi(0).caption = "○";
    s.lblHi(41).caption = "○";
    s.lblDay(5).caption = "3";
    s.CheckClear();
    for (int n = 0; n < 42; ++n) EXPECT_EQ(s.lblHi(n).caption, "") << n;
    EXPECT_EQ(s.lblDay(5).caption, "3");
}

TEST_F(ClearTest, PagesOtherThanTheBillEmptyTheTotal) {
    runWithBill();
    frmStart& s = screen();
    const std::string total = s.txtBill.text;
    for (int page : {0, 1, 2}) {
        ASSERT_TRUE(s.tabFullKey.setTab(3));
        s.txtBill.text = total;
        ASSERT_TRUE(s.tabFullKey.setTab(page));
        EXPECT_EQ(s.txtBill.text, "") << page;
        EXPECT_NE(s.txtTan01.text, "") << "the lines stay";
    }
    s.tabFullKey.setTab(3);
    EXPECT_EQ(s.txtBill.text, "") << "not restored until the next run";
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtBill.text, total);
}

TEST_F(ClearTest, EveryExitKeyAsksTheSameQuestion) {
    frmStart& s = screen();
    for (int i = 0; i < 11; ++i) s.cmdExit(i).press();
    ASSERT_EQ(prompt.questions.size(), 11u);
    for (const auto& q : prompt.questions) {
        EXPECT_EQ(q.title, "終了");
        EXPECT_EQ(q.text, "キップルンを終了しますか？");
        EXPECT_EQ(q.buttons, PromptButtons::YesNo);
    }
    EXPECT_FALSE(s.ended());
}

TEST_F(ClearTest, ExitAnsweredNoLeavesEverything) {
    runWithBill();
    frmStart& s = screen();
    const auto before = testing::snapshot(s);
    prompt.answers = {PromptAnswer::No};
    s.cmdExit(0).press();
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(testing::snapshot(s), before);
}

TEST_F(ClearTest, ExitAnsweredYesEndsTheProgram) {
    prompt.answers = {PromptAnswer::Yes};
    screen().cmdExit(7).press();
    EXPECT_TRUE(screen().ended());
}

TEST_F(ClearTest, HiddenOrDisabledKeysCannotBePressed) {
    frmStart& s = screen();
    s.cmdExit(0).enabled = false;
    s.cmdExit(0).press();
    s.cmdExit(1).visible = false;
    s.cmdExit(1).press();
    EXPECT_TRUE(prompt.questions.empty());
}

}  // namespace
}  // namespace kippurun
