// The determinations through the sales screen's procedures: stops selected
// in the charge lists, the keys they enable, and the transfer question.
#include <gtest/gtest.h>

#include <string>

#include "app/frm_start.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;

class DeterminationTest : public ::testing::Test, public ScreenTest {
  protected:
    // Reopens the screen on the folder as it is now.
    frmStart& reopen() {
        folder.write();
        open();
        return screen();
    }
    // A journey of section 1, entered as a clerk's choices would be.
    void journey(int departure, int arrival) {
        screen().cboHatsu.setListIndex(departure);
        screen().cboChaku.setListIndex(arrival);
    }
    bool expressKeys() {
        frmStart& s = screen();
        EXPECT_EQ(s.cmdShiToku.enabled, s.cmdJitoku.enabled);
        EXPECT_EQ(s.cmdGToku.enabled, s.cmdJitoku.enabled);
        return s.cmdJitoku.enabled;
    }
};

struct ExpressCase {
    int departure, arrival;
    int hatsu3, chaku3;
    bool allowed;
};

TEST_F(DeterminationTest, StationChangesSelectTheExpressStopsAndSetTheKeys) {
    const ExpressCase cases[] = {
        {1, 2, 1, 0, false},     {0, 11, 0, 1, true},     {0, 16, 0, 3, true},
        {12, 16, 2, 2, false},   {16, 12, 2, 2, false},   {67, 86, 17, 18, true},
        {86, 106, 21, 25, true}, {106, 86, 25, 21, true}, {77, 86, 20, 18, false},
        {40, 40, 11, 12, false},
    };
    frmStart& s = screen();
    for (const ExpressCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.departure) + " -> " + std::to_string(c.arrival));
        // From an allowed journey with an express ticket chosen, so a refusal shows.
        journey(0, 67);
        s.cmdShiToku.press();
        ASSERT_EQ(s.cboKenshu3.listIndex(), 1);
        journey(c.departure, c.arrival);
        EXPECT_EQ(s.cboHatsu3.listIndex(), c.hatsu3);
        EXPECT_EQ(s.cboChaku3.listIndex(), c.chaku3);
        EXPECT_EQ(expressKeys(), c.allowed);
        // JiKaiHan allows everywhere here: the express determination decides.
        EXPECT_EQ(s.cmdJiyuKai.enabled, c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(s.cboKenshu3.listIndex(), 5);
        }
    }
}

TEST_F(DeterminationTest, SectionTwoAllowsTheExpressKeysButNeverTheExpressCoupon) {
    frmStart& s = screen();
    journey(1, 2);  // section 1 allows nothing
    ASSERT_FALSE(expressKeys());
    s.cmdRenzoku.press();
    s.cboChaku2.setListIndex(67);  // section 2: 大元 -> 松山
    EXPECT_TRUE(expressKeys());
    EXPECT_FALSE(s.cmdJiyuKai.enabled);
    EXPECT_EQ(s.cboHatsu4.listIndex(), 1);
    EXPECT_EQ(s.cboChaku4.listIndex(), 17);

    s.cboChaku2.setListIndex(1);  // section 2 ends where it starts
    EXPECT_FALSE(expressKeys());
    EXPECT_FALSE(s.cmdJiyuKai.enabled);

    journey(0, 67);  // section 1 allows: section 2 cannot take that away
    s.cboChaku2.setListIndex(s.cboHatsu2.listIndex());
    EXPECT_TRUE(expressKeys());
    EXPECT_FALSE(s.cmdJiyuKai.enabled);
}

TEST_F(DeterminationTest, SectionTwoUpTheLineGoesThroughTheNumberBoxes) {
    frmStart& s = screen();
    journey(0, 106);
    s.cmdRenzoku.press();
    s.cboHatsu2.setListIndex(106);
    s.cboChaku2.setListIndex(86);  // 宇和島 -> 伊予長浜
    EXPECT_EQ(s.txtHatsu4.text, "25");
    EXPECT_EQ(s.txtChaku4.text, "21");
    EXPECT_EQ(s.cboHatsu4.listIndex(), 25);
    EXPECT_EQ(s.cboChaku4.listIndex(), 21);
    EXPECT_EQ(s.cboHatsu4.count(), ExpressStopCount);
}

TEST_F(DeterminationTest, TransferAtMatsuyamaSplitsTheExpressChargeOnYes) {
    frmStart& s = screen();
    journey(0, 106);
    prompt.answers = {PromptAnswer::Yes};
    s.cboKenshu3.setListIndex(1);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "乗継判定");
    EXPECT_EQ(prompt.questions[0].text, "松山乗換えですか？");
    EXPECT_EQ(prompt.questions[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(s.frameRyokin2.visible);
    EXPECT_EQ(s.cboKenshu4.listIndex(), 1);
    EXPECT_EQ(s.cboHatsu3.listIndex(), 0);
    EXPECT_EQ(s.cboChaku3.listIndex(), 17);
    EXPECT_EQ(s.cboHatsu4.listIndex(), 17);
    EXPECT_EQ(s.cboChaku4.listIndex(), 25);
    EXPECT_EQ(s.txtHatsu4.text, "17");
    EXPECT_EQ(s.txtChaku4.text, "25");

    prompt.answers = {PromptAnswer::No};
    s.cboChaku.setListIndex(105);  // every change of section 1 asks again
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_FALSE(s.frameRyokin2.visible);
    EXPECT_EQ(s.cboKenshu4.listIndex(), 5);
    EXPECT_EQ(s.cboChaku3.listIndex(), 24);
}

TEST_F(DeterminationTest, TransferIsNeverAskedUpTheLineOrWithoutAnExpressTicket) {
    frmStart& s = screen();
    journey(106, 0);
    s.cboKenshu3.setListIndex(0);
    EXPECT_EQ(s.cboHatsu3.listIndex(), 25);
    EXPECT_EQ(s.cboChaku3.listIndex(), 0);
    s.cboKenshu3.setListIndex(5);
    journey(0, 106);
    journey(11, 100);
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(DeterminationTest, ContinuousTicketKeepsItsSecondChargeSectionWithoutAsking) {
    frmStart& s = screen();
    s.cmdRenzoku.press();
    s.cboHatsu2.setListIndex(67);
    s.cboChaku2.setListIndex(106);  // 岡山 -> 松山, then 松山 -> 宇和島
    prompt.answers = {PromptAnswer::Yes};
    s.cmdJitoku.press();
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_TRUE(s.frameRyokin2.visible);
    EXPECT_EQ(s.cboChaku3.listIndex(), 17);
    EXPECT_EQ(s.cboHatsu4.listIndex(), 17);
    EXPECT_EQ(s.cboChaku4.listIndex(), 25);
}

struct MarineCase {
    int departure, arrival;
    int hatsu3, chaku3;
    int type;  // what cboKenshu3 shows afterwards
};

TEST_F(DeterminationTest, MarineSeatTakesTheTrainsStopsOrNothingWhenTheyCoincide) {
    const MarineCase cases[] = {
        {0, 12, 0, 9, 3},  {11, 2, 8, 2, 3},  {13, 0, 10, 0, 3},
        {19, 0, 14, 0, 3}, {12, 13, 9, 9, 5},  // (讃)高松 -> 香西: one stop
        {2, 2, 2, 1, 3},
    };
    frmStart& s = screen();
    for (const MarineCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.departure) + " -> " + std::to_string(c.arrival));
        s.cboKenshu3.setListIndex(5);
        journey(c.departure, c.arrival);
        s.cmdMarine.press();
        EXPECT_EQ(s.cboHatsu3.count(), MarineStopCount);
        EXPECT_EQ(s.cboHatsu3.listIndex(), c.hatsu3);
        EXPECT_EQ(s.cboChaku3.listIndex(), c.chaku3);
        EXPECT_EQ(s.cboKenshu3.listIndex(), c.type);
    }
}

TEST_F(DeterminationTest, MarineKeysFollowEitherJourneySection) {
    folder.set("MHan.csv", 67, 0, "0");
    folder.set("MHan.csv", 67, 67, "0");
    folder.set("MHan.csv", 72, 67, "0");
    folder.set("MHan.csv", 12, 67, "2");
    frmStart& s = reopen();
    EXPECT_FALSE(s.cmdMarine.enabled);
    EXPECT_FALSE(s.cmdMarineG.enabled);
    s.cmdRenzoku.press();
    s.cboHatsu2.setListIndex(67);
    s.cboChaku2.setListIndex(72);
    EXPECT_FALSE(s.cmdMarine.enabled);
    s.cboChaku2.setListIndex(12);
    EXPECT_TRUE(s.cmdMarine.enabled);
    EXPECT_TRUE(s.cmdMarineG.enabled);
}

TEST_F(DeterminationTest, MarineSeatRefusedWhileTheKeysAreClosed) {
    folder.set("MHan.csv", 67, 0, "0");
    frmStart& s = reopen();
    s.cboKenshu3.setListIndex(3);
    EXPECT_EQ(s.cboKenshu3.listIndex(), 5);
    EXPECT_EQ(s.cboHatsu3.count(), ExpressStopCount);
}

// KHan cells move the coupon keys; a cell that is no code leaves them.
TEST_F(DeterminationTest, OnlyExactCouponCodesMoveTheCouponKeys) {
    const struct {
        const char* before;
        const char* cell;
        bool eleven, six;
    } cases[] = {
        {"0", "6", true, true},   {"0", "11", true, false},  {"0", "60", false, true},
        {"6", "0", false, false}, {"0", "06", false, false}, {"6", "06", true, true},
        {"11", "x", true, false}, {"60", "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " then " + c.cell);
        folder.set("KHan.csv", 67, 0, c.before);
        folder.set("KHan.csv", 72, 0, c.cell);
        frmStart& s = reopen();
        s.cboChaku.setListIndex(72);
        EXPECT_EQ(s.cmd11Kai.enabled, c.eleven);
        EXPECT_EQ(s.cmd6Kai.enabled, c.six);
    }
}

TEST_F(DeterminationTest, DistanceRuleOpensTheStudentKeyBeyond100Km) {
    const struct {
        const char* km;
        bool open;
    } cases[] = {{"100", false}, {"100.5", true}, {"abc", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.km);
        folder.set("Ekiro.csv", 67, 0, c.km);
        frmStart& s = reopen();
        s.cmdGaku.press();
        ASSERT_EQ(s.txtNinzuG.text, "1");
        s.cmdOfuku.press();  // the ticket type applies the distance rule last
        EXPECT_EQ(s.cmdGaku.enabled, c.open);
        EXPECT_EQ(s.txtNinzuG.visible, c.open);
        EXPECT_EQ(s.lblGaku.visible, c.open);
        EXPECT_EQ(s.txtNinzuG.text, c.open ? "1" : "0");
    }
}

TEST_F(DeterminationTest, ExpressCouponKeptOnlyWhileJiKaiHanSaysExactly1) {
    folder.set("JiKaiHan.csv", 72, 0, "0");
    folder.set("JiKaiHan.csv", 60, 0, "01");
    frmStart& s = reopen();
    s.cmdJiyuKai.press();
    ASSERT_EQ(s.cboKenshu.listIndex(), 5);
    s.cboChaku.setListIndex(52);  // "1" again: the coupon stays
    EXPECT_EQ(s.cboKenshu.listIndex(), 5);
    EXPECT_TRUE(s.cmdJiyuKai.enabled);
    s.cboChaku.setListIndex(72);
    EXPECT_FALSE(s.cmdJiyuKai.enabled);
    EXPECT_EQ(s.cboKenshu.listIndex(), 0);

    s.cboChaku.setListIndex(67);
    s.cmdJiyuKai.press();
    s.cboChaku.setListIndex(60);
    EXPECT_EQ(s.cboKenshu.listIndex(), 0);
}

TEST_F(DeterminationTest, StudentKeyOpensWhenEitherSectionAllowsIt) {
    folder.set("GHan.csv", 67, 0, "0");
    folder.set("GHan.csv", 67, 67, "0");
    folder.set("GHan.csv", 72, 67, "1");
    frmStart& s = reopen();
    EXPECT_FALSE(s.cmdGaku.enabled);
    s.cmdRenzoku.press();
    s.cboHatsu2.setListIndex(67);
    EXPECT_FALSE(s.cmdGaku.enabled);
    s.cboChaku2.setListIndex(72);
    EXPECT_TRUE(s.cmdGaku.enabled);
    EXPECT_FALSE(s.txtNinzuG.visible);  // the key only becomes usable
}

TEST_F(DeterminationTest, NumberBoxThatHoldsNoStationReadsAsOutsideTheTables) {
    frmStart& s = screen();
    for (const char* text : {"", "abc", "-1", "107", "99999999999"}) {
        SCOPED_TRACE(text);
        s.txtChaku.text = text;
        s.MarineHantei();
        s.Ghantei();
        s.JiKaiHantei();
        EXPECT_FALSE(s.cmdMarine.enabled);
        EXPECT_FALSE(s.cmdGaku.enabled);
        EXPECT_FALSE(s.cmdJiyuKai.enabled);
    }
}

}  // namespace
}  // namespace kippurun
