// The ticket-type, charge and count keys, and the release and student keys.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/frm_start.h"
#include "fare/ticket_types.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;
using testing::snapshot;

class KeysTest : public ::testing::Test, public ScreenTest {
  protected:
    frmStart& s = screen();
    frmStart& reopen() {
        folder.write();
        open();
        return screen();
    }
};

TEST_F(KeysTest, TypeKeysSelectTheirTypeAndRefuseWhatTheJourneyCloses) {
    folder.set("KHan.csv", 67, 0, "11");  // 11-ticket coupons only
    frmStart& t = reopen();
    t.cmd11Kai.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 3);
    t.cmdJiyuKai.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 5);
    // The list offers every type; a type whose key is closed falls back.
    for (int type : {4, 6}) {
        t.cboKenshu.setListIndex(type);
        EXPECT_EQ(t.cboKenshu.listIndex(), 0) << type;
    }
    t.cmdOfuku.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 1);
    t.cmdRenzoku.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 2);
    t.cmdKatamichi.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 0);
    // The continuous ticket closed the coupons until the journey changes.
    t.cmd11Kai.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 0);
    t.cboChaku.setListIndex(72);
    t.cboChaku.setListIndex(67);
    t.cmd11Kai.press();
    EXPECT_EQ(t.cboKenshu.listIndex(), 3);
}

// Every entry of both type lists, wherever it stands: the list's handler
// refuses it exactly while the key of its permission is closed, and the
// question the window's greying asks agrees.
TEST_F(KeysTest, EveryTypeIsRefusedExactlyWhileItsKeyIsClosed) {
    auto keyOf = [&](TicketPermit permit) {
        return const_cast<CommandButton*>(s.permittingKey(permit));
    };
    for (std::size_t i = 0; i < ChargeTypes.size(); ++i) {
        const int position = static_cast<int>(i);
        CommandButton* key = keyOf(ChargeTypes[i].permit);
        for (bool open : {true, false}) {
            SCOPED_TRACE(std::string(ChargeTypes[i].name) + (open ? " open" : " closed"));
            s.cboKenshu3.setListIndex(NoCharge);
            if (key) key->enabled = open;
            const bool sold = open || !key;
            EXPECT_EQ(s.chargeTypePermitted(position), sold);
            s.cboKenshu3.setListIndex(position);
            EXPECT_EQ(s.cboKenshu3.listIndex(), sold ? position : NoCharge);
        }
    }
    for (std::size_t i = 0; i < PassengerTypes.size(); ++i) {
        // The continuous ticket shows section 2 and closes the coupons.
        if (PassengerTypes[i].rule == PassengerRule::Continuous) continue;
        const int position = static_cast<int>(i);
        CommandButton* key = keyOf(PassengerTypes[i].permit);
        for (bool open : {true, false}) {
            SCOPED_TRACE(std::string(PassengerTypes[i].name) + (open ? " open" : " closed"));
            s.cboKenshu.setListIndex(OneWayTicket);
            if (key) key->enabled = open;
            const bool sold = open || !key;
            EXPECT_EQ(s.passengerTypePermitted(position), sold);
            s.cboKenshu.setListIndex(position);
            EXPECT_EQ(s.cboKenshu.listIndex(), sold ? position : OneWayTicket);
        }
    }
    EXPECT_TRUE(s.passengerTypePermitted(-1));
    EXPECT_TRUE(s.chargeTypePermitted(-1));
}

TEST_F(KeysTest, CouponClosesTheChargeFrameAndTheStudentCount) {
    s.cmdGaku.press();
    s.cmdShiToku.press();
    ASSERT_TRUE(s.frameRyokin.visible);
    ASSERT_TRUE(s.txtNinzuG.visible);
    s.cmd11Kai.press();
    EXPECT_FALSE(s.frameRyokin.visible);
    EXPECT_FALSE(s.txtNinzuG.visible);
    EXPECT_FALSE(s.lblGaku.visible);
    EXPECT_EQ(s.txtNinzuG.text, "0");
    EXPECT_FALSE(s.cmdGaku.enabled);

    s.cmdJitoku.press();  // an express key leaves the coupon for one-way
    EXPECT_EQ(s.cboKenshu.listIndex(), 0);
    EXPECT_TRUE(s.frameRyokin.visible);
    EXPECT_EQ(s.cboKenshu3.listIndex(), 0);
}

TEST_F(KeysTest, ExpressKeyPressedAgainAsksTheTransferQuestionAgain) {
    s.cboChaku.setListIndex(106);
    s.cmdJitoku.press();
    EXPECT_EQ(prompt.questions.size(), 1u);
    s.cmdJitoku.press();
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.questions[1].text, "松山乗換えですか？");
    EXPECT_EQ(s.cboChaku3.listIndex(), 25);
}

TEST_F(KeysTest, ChargeKeysAddressTheSectionOfTheLastTypeListEntered) {
    s.cboChaku.setListIndex(106);
    prompt.answers = {PromptAnswer::Yes};
    s.cmdShiToku.press();
    ASSERT_TRUE(s.frameRyokin2.visible);
    s.cboKenshu4.gotFocus();
    EXPECT_TRUE(s.optRyokin2.value());
    s.cmdGToku.press();
    EXPECT_EQ(s.cboKenshu4.listIndex(), 2);
    EXPECT_EQ(s.cboKenshu3.listIndex(), 1);
    s.cboKenshu3.gotFocus();
    EXPECT_TRUE(s.optRyokin1.value());
}

TEST_F(KeysTest, MarineKeyForSectionTwoTakesItsStopsFromJourneySectionTwo) {
    s.cboChaku.setListIndex(12);
    s.cmdRenzoku.press();
    s.cboHatsu2.setListIndex(11);
    s.cboChaku2.setListIndex(0);  // section 2: 児島 -> 岡山
    s.cboKenshu4.gotFocus();
    s.cmdMarine.press();
    EXPECT_EQ(s.cboKenshu4.listIndex(), 3);
    EXPECT_EQ(s.cboHatsu4.count(), MarineStopCount);
    EXPECT_EQ(s.cboHatsu4.listIndex(), 8);
    EXPECT_EQ(s.cboChaku4.listIndex(), 0);
    EXPECT_EQ(s.txtHatsu4.text, "8");

    // An express type again: the lists take the express stops, never a
    // マリン position priced as an express stop.
    s.cmdJitoku.press();
    EXPECT_EQ(s.cboKenshu4.listIndex(), 0);
    EXPECT_EQ(s.cboHatsu4.count(), ExpressStopCount);
    EXPECT_EQ(s.cboHatsu4.listIndex(), 1);
    EXPECT_EQ(s.cboChaku4.listIndex(), 0);
}

TEST_F(KeysTest, MarineKeyForAHiddenSectionTwoLeavesItsStopsUnselected) {
    s.cboChaku.setListIndex(12);
    s.cboKenshu4.gotFocus();
    s.cmdMarineG.press();
    EXPECT_EQ(s.cboKenshu4.listIndex(), 4);
    EXPECT_EQ(s.cboHatsu4.count(), MarineStopCount);
    EXPECT_EQ(s.cboHatsu4.listIndex(), -1);
    EXPECT_EQ(s.cboChaku4.listIndex(), -1);
}

TEST_F(KeysTest, ChargeTypeWhoseKeyIsClosedBecomesNone) {
    s.cboChaku.setListIndex(1);  // 岡山 -> 大元: no express
    for (int type : {0, 1, 2}) {
        s.cboKenshu3.setListIndex(type);
        EXPECT_EQ(s.cboKenshu3.listIndex(), 5);
        s.cboKenshu4.setListIndex(type);
        EXPECT_EQ(s.cboKenshu4.listIndex(), 5);
    }
}

TEST_F(KeysTest, ContinuousTicketShowsSectionTwoPresetToSectionOne) {
    s.cmdRenzoku.press();
    EXPECT_TRUE(s.cboHatsu2.visible);
    EXPECT_TRUE(s.cboChaku2.visible);
    EXPECT_TRUE(s.lblKukan1(1).visible);
    EXPECT_TRUE(s.lblArrow(1).visible);
    EXPECT_EQ(s.cboHatsu2.count(), StationCount);
    EXPECT_EQ(s.cboHatsu2.listIndex(), 0);
    EXPECT_EQ(s.cboChaku2.listIndex(), 67);
    EXPECT_EQ(s.txthatsu2.text, "0");
    EXPECT_EQ(s.txtChaku2.text, "67");
    EXPECT_FALSE(s.cmd11Kai.enabled);
    EXPECT_FALSE(s.cmd6Kai.enabled);
    EXPECT_TRUE(s.frameRyokin2.visible);
    EXPECT_FALSE(s.frameRyokin.visible);  // the type alone shows no charge

    s.cmdOfuku.press();
    EXPECT_FALSE(s.cboHatsu2.visible);
    EXPECT_FALSE(s.lblArrow(1).visible);
    EXPECT_EQ(s.cboHatsu2.count(), 0);
    EXPECT_FALSE(s.frameRyokin2.visible);
}

TEST_F(KeysTest, OneWaySecondChargeSectionFollowsTheJourney) {
    const struct {
        int departure, arrival;
        bool shown;
    } cases[] = {{0, 72, true}, {0, 67, false}, {11, 106, true}, {106, 11, true}, {12, 106, false}};
    for (const auto& c : cases) {
        s.cboHatsu.setListIndex(c.departure);
        s.cboChaku.setListIndex(c.arrival);
        s.cmdOfuku.press();
        s.cmdKatamichi.press();
        EXPECT_EQ(s.frameRyokin2.visible, c.shown) << c.departure << " -> " << c.arrival;
    }
}

TEST_F(KeysTest, CountKeysAndCountBoxes) {
    const struct {
        CommandButton* key;
        TextBox* box;
        const char* text;
    } keys[] = {{&s.cmdO1, &s.txtNinzu, "1"},  {&s.cmdO2, &s.txtNinzu, "2"},
                {&s.cmdO3, &s.txtNinzu, "3"},  {&s.cmdO4, &s.txtNinzu, "4"},
                {&s.cmdK1, &s.txtNinzuK, "1"}, {&s.cmdK2, &s.txtNinzuK, "2"},
                {&s.cmdK3, &s.txtNinzuK, "3"}, {&s.cmdK4, &s.txtNinzuK, "4"}};
    for (const auto& k : keys) {
        k.key->press();
        EXPECT_EQ(k.box->text, k.text) << k.key->name();
    }
    for (TextBox* box : {&s.txtNinzu, &s.txtNinzuK, &s.txtNinzuG}) {
        s.cmdO1.press();
        s.cmdJikkou.press();
        ASSERT_FALSE(s.txtBill.text.empty());
        box->click();
        EXPECT_EQ(box->text, "") << box->name();
        EXPECT_EQ(s.txtBill.text, "") << box->name();
    }
}

TEST_F(KeysTest, TypingACountEmptiesTheBillHoweverTheBoxWasReached) {
    for (TextBox* box : {&s.txtNinzu, &s.txtNinzuK, &s.txtNinzuG}) {
        s.cmdJikkou.press();
        ASSERT_FALSE(s.txtTan01.text.empty());
        box->typeText(box->text);  // no change, no clearing
        EXPECT_FALSE(s.txtBill.text.empty()) << box->name();
        box->typeText("3");
        EXPECT_EQ(s.txtBill.text, "") << box->name();
        EXPECT_EQ(s.txtTan01.text, "") << box->name();
        EXPECT_EQ(box->text, "3");
    }
}

TEST_F(KeysTest, ReleaseReturnsToTheStateOfStartUp) {
    folder.set("KHan.csv", 67, 0, "6");  // the coupon keys open again with the journey
    frmStart& t = reopen();
    const std::vector<std::string> fresh = snapshot(t);
    t.cmdRenzoku.press();
    t.cboChaku2.setListIndex(100);
    t.cmdShiToku.press();
    t.cmdO3.press();
    t.cmdTomorrow.press();
    t.cmdJikkou.press();
    ASSERT_NE(snapshot(t), fresh);
    t.cmdKaihou.press();
    // Nothing of the sale is left: not the last bill's names and lines, not
    // section 2's hidden number boxes.
    const std::vector<std::string> released = snapshot(t);
    ASSERT_EQ(released.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(released[i], fresh[i]);
    EXPECT_EQ(t.cboKenshu.count(), 7);
    EXPECT_EQ(t.cboHatsu.count(), StationCount);
    EXPECT_EQ(t.cboKenshu3.count(), 6);
    EXPECT_EQ(t.cboHatsu3.count(), ExpressStopCount);
}

TEST_F(KeysTest, StudentKeyReadsItsTableOnEveryPressAndOpensTheCountAtOne) {
    s.cmdGaku.press();
    EXPECT_TRUE(s.lblGaku.visible);
    EXPECT_TRUE(s.txtNinzuG.visible);
    EXPECT_EQ(s.txtNinzuG.text, "1");
    EXPECT_EQ(s.tables.Gakuwari.at(67, 0), folder.at("Gakuwari.csv", 67, 0));

    s.txtNinzuG.typeText("4");
    folder.set("Gakuwari.csv", 67, 0, "1234");
    folder.write();
    s.cmdGaku.press();
    EXPECT_EQ(s.txtNinzuG.text, "1");
    EXPECT_EQ(s.tables.Gakuwari.at(67, 0), "1234");

    s.cmdKaihou.press();  // the student fares outlive a release
    EXPECT_EQ(s.tables.Gakuwari.at(67, 0), "1234");
}

TEST_F(KeysTest, StudentTableThatCannotBeReadIsReportedAndTheSaleGoesOn) {
    s.cmdGaku.press();
    const std::string held(s.tables.Gakuwari.at(67, 0));
    s.txtNinzuG.typeText("2");
    folder.remove("Gakuwari.csv");
    s.cmdGaku.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "学割運賃表");
    EXPECT_NE(prompt.messages[0].second.find("Gakuwari.csv"), std::string::npos);
    EXPECT_EQ(s.tables.Gakuwari.at(67, 0), held);
    EXPECT_EQ(s.txtNinzuG.text, "2");
    EXPECT_FALSE(s.ended());
}

TEST_F(KeysTest, ShortStudentTableIsReportedWithItsPosition) {
    std::ofstream(folder.path() / "Gakuwari.csv") << "1,2,3\r\n";
    s.cmdGaku.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].second.find("Gakuwari.csv"), std::string::npos);
    EXPECT_FALSE(s.txtNinzuG.visible);
    EXPECT_EQ(s.txtNinzuG.text, "0");
}

TEST_F(KeysTest, AnsweringNoToTheExitQuestionLeavesTheEntry) {
    s.cmdO2.press();
    const std::vector<std::string> before = snapshot(s);
    s.cmdExit(0).press();
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(snapshot(s), before);
}

}  // namespace
}  // namespace kippurun
