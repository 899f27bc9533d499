// Station entry on the sales screen: the station keys and their target,
// the lists' mutual updates, the key captions of the load step.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "app/frm_start.h"
#include "data/data_file_error.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;

class EntryTest : public ::testing::Test, public ScreenTest {
  protected:
    EntryTest() : s(openWithKeys()) {}
    frmStart& s;

  private:
    // Keys 0-4: 松山, 香西 (no stop of either kind), 児島, 伊予市, 宇和島.
    frmStart& openWithKeys() {
        folder.setKey(0, "67");
        folder.setKey(1, "13");
        folder.setKey(2, "11");
        folder.setKey(3, "72");
        folder.setKey(4, "106");
        folder.write();
        open();
        return screen();
    }

  protected:
    // Counts the runs of a list's selection handling from now on.
    int& countRuns(ComboBox& list) {
        runs_.push_back(0);
        int& runs = runs_.back();
        list.onClick = [&runs, inner = list.onClick] {
            ++runs;
            inner();
        };
        return runs;
    }

  private:
    std::deque<int> runs_;
};

TEST_F(EntryTest, LoadCaptionsAssignedKeysAndLeavesTheOthersEmpty) {
    EXPECT_EQ(s.cmdEki(0).caption, "松　　山");
    EXPECT_EQ(s.cmdEki(1).caption, "香　　西");
    EXPECT_EQ(s.cmdEki(4).caption, "宇和島");
    for (int k = 5; k < 52; ++k) EXPECT_EQ(s.cmdEki(k).caption, "") << k;
    // The departure list passed through the keys' stations; the start file
    // has the last word.
    EXPECT_EQ(s.cboHatsu.listIndex(), 0);
    EXPECT_EQ(s.txtHatsu.text, "0");
    EXPECT_EQ(s.cboChaku.listIndex(), 67);
}

TEST_F(EntryTest, KeyFillsTheTargetListAndRunsItsHandlingOnce) {
    int& runs = countRuns(s.cboChaku);
    s.cboChaku.gotFocus();
    EXPECT_TRUE(s.optChaku1.value());
    s.cmdEki(3).press();
    EXPECT_EQ(s.cboChaku.text(), "伊予市");
    EXPECT_EQ(s.txtChaku.text, "72");
    EXPECT_EQ(runs, 1);
    s.cmdEki(3).press();  // the station it already shows: nothing runs
    EXPECT_EQ(runs, 1);
    s.cmdEki(0).press();  // the target stays with the list
    EXPECT_EQ(s.cboChaku.listIndex(), 67);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(s.cboHatsu.listIndex(), 0);
}

TEST_F(EntryTest, UnassignedKeyDoesNothingWhateverTheTarget) {
    for (ComboBox* list : {&s.cboHatsu, &s.cboChaku, &s.cboHatsu3, &s.cboChaku3}) {
        list->gotFocus();
        const std::vector<std::string> focused = testing::snapshot(s);
        s.cmdEki(30).press();
        EXPECT_EQ(testing::snapshot(s), focused) << list->name();
    }
}

// A charge list takes the stop of the kind its ticket type shows.
TEST_F(EntryTest, ChargeTargetTakesTheExpressOrMarineStopOfTheKey) {
    const struct {
        int type;  // cboKenshu3
        int key;
        int chaku3;  // -2: as before the press
    } cases[] = {
        {1, 2, 1},   // 児島 as express stop 1
        {3, 2, 8},   // 児島 as マリン stop 8
        {5, 2, -2},  // "なし": nothing
        {1, 1, -2},  // 香西 is no express stop
        {3, 1, -2},  // nor a マリン stop
        {3, 4, -2},  // 宇和島 is no マリン stop
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " key " + std::to_string(c.key));
        open();
        frmStart& t = screen();
        t.cboChaku.setListIndex(12);  // 岡山 -> (讃)高松: both kinds of ticket are sold
        t.cboKenshu3.setListIndex(c.type);
        t.cboChaku3.gotFocus();
        const int before = t.cboChaku3.listIndex();
        t.cmdEki(c.key).press();
        EXPECT_EQ(t.cboChaku3.listIndex(), c.chaku3 == -2 ? before : c.chaku3);
        EXPECT_TRUE(t.optChaku3.value());
    }
}

TEST_F(EntryTest, FocusMakesEachListTheTargetAndEmptiesTheBill) {
    const std::pair<ComboBox*, OptionButton*> lists[] = {
        {&s.cboHatsu, &s.optHatsu1},  {&s.cboChaku, &s.optChaku1},  {&s.cboHatsu2, &s.optHatsu2},
        {&s.cboChaku2, &s.optChaku2}, {&s.cboHatsu3, &s.optHatsu3}, {&s.cboChaku3, &s.optChaku3},
        {&s.cboHatsu4, &s.optHatsu4}, {&s.cboChaku4, &s.optChaku4},
    };
    for (const auto& [list, option] : lists) {
        s.cmdJikkou.press();
        ASSERT_FALSE(s.txtBill.text.empty());
        list->gotFocus();
        EXPECT_TRUE(option->value()) << list->name();
        EXPECT_EQ(s.txtBill.text, "") << list->name();
        EXPECT_EQ(s.txtTan01.text, "") << list->name();
    }
}

TEST_F(EntryTest, ContinuousSectionsFollowEachOtherWithoutLooping) {
    s.cmdRenzoku.press();
    int& chakuRuns = countRuns(s.cboChaku);
    int& hatsu2Runs = countRuns(s.cboHatsu2);
    s.cboChaku.setListIndex(52);
    EXPECT_EQ(s.cboHatsu2.listIndex(), 52);
    EXPECT_EQ(s.txthatsu2.text, "52");
    EXPECT_EQ(chakuRuns, 1);
    EXPECT_EQ(hatsu2Runs, 1);
    s.cboHatsu2.setListIndex(60);
    EXPECT_EQ(s.cboChaku.listIndex(), 60);
    EXPECT_EQ(s.txtChaku.text, "60");
    EXPECT_EQ(chakuRuns, 2);
    EXPECT_EQ(hatsu2Runs, 2);
    EXPECT_FALSE(s.cmd11Kai.enabled);
    EXPECT_FALSE(s.cmd6Kai.enabled);
}

// Whatever re-derives a charge section's stops uses the stops of the
// section's own type: a マリン ticket on the continuous journey 岡山 ->
// (讃)高松 (both sections; stops 0 -> 9) keeps マリン stops through every
// change of the journey.
TEST_F(EntryTest, MarineChargeKeepsItsStopsThroughChangesOfTheJourney) {
    struct Case {
        int section;
        const char* change;
        std::function<void(frmStart&)> act;
        int hatsu, chaku;  // マリン stops afterwards
    } cases[] = {
        {1, "section 2 arrival", [](frmStart& t) { t.cboChaku2.setListIndex(30); }, 0, 9},
        {1, "section 2 departure, so section 1 arrival",
         [](frmStart& t) { t.cboHatsu2.setListIndex(5); }, 0, 3},
        {1, "continuous chosen again",
         [](frmStart& t) {
             t.cboKenshu.setListIndex(0);
             t.cboKenshu.setListIndex(2);
         },
         0, 9},
        {2, "section 2 arrival there and back",
         [](frmStart& t) {
             t.cboChaku2.setListIndex(11);
             t.cboChaku2.setListIndex(12);
         },
         0, 9},
        {2, "section 2 departure", [](frmStart& t) { t.cboHatsu2.setListIndex(5); }, 3, 9},
        {2, "section 1 departure", [](frmStart& t) { t.cboHatsu.setListIndex(1); }, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("section " + std::to_string(c.section) + ": " + c.change);
        open();
        frmStart& t = screen();
        t.cboChaku.setListIndex(12);
        t.cmdRenzoku.press();
        ComboBox& type = c.section == 1 ? t.cboKenshu3 : t.cboKenshu4;
        ComboBox& hatsu = c.section == 1 ? t.cboHatsu3 : t.cboHatsu4;
        ComboBox& chaku = c.section == 1 ? t.cboChaku3 : t.cboChaku4;
        type.setListIndex(4);
        ASSERT_EQ(chaku.listIndex(), 9);
        c.act(t);
        EXPECT_EQ(type.listIndex(), 4);
        EXPECT_EQ(hatsu.count(), MarineStopCount);
        EXPECT_EQ(hatsu.listIndex(), c.hatsu);
        EXPECT_EQ(chaku.listIndex(), c.chaku);
    }
}

// Where the journey leaves the マリン stops, the マリン ticket turns to "なし"
// as a refused type does, rather than stay on the screen unpriced.
TEST_F(EntryTest, MarineChargeWithoutStopsOnTheJourneyTurnsToNone) {
    s.cboChaku.setListIndex(12);
    s.cboKenshu3.setListIndex(3);
    ASSERT_EQ(s.cboHatsu3.count(), MarineStopCount);
    s.cboChaku.setListIndex(30);  // 観音寺, beyond 坂出
    EXPECT_EQ(s.cboKenshu3.listIndex(), 5);
    EXPECT_EQ(s.cboHatsu3.count(), ExpressStopCount);

    s.cboChaku.setListIndex(12);
    s.cmdRenzoku.press();
    s.cboKenshu4.setListIndex(3);
    ASSERT_EQ(s.cboHatsu4.count(), MarineStopCount);
    s.cboChaku2.setListIndex(30);
    EXPECT_EQ(s.cboKenshu4.listIndex(), 5);
    EXPECT_EQ(s.cboHatsu4.count(), ExpressStopCount);
}

TEST_F(EntryTest, SectionTwoKeyAfterLeavingTheContinuousTicketIsIgnored) {
    s.cmdRenzoku.press();
    s.cboChaku2.gotFocus();
    s.cmdEki(4).press();
    EXPECT_EQ(s.cboChaku2.listIndex(), 106);
    s.cmdKatamichi.press();
    ASSERT_EQ(s.cboChaku2.count(), 0);
    const std::vector<std::string> before = testing::snapshot(s);
    s.cmdEki(4).press();
    EXPECT_EQ(testing::snapshot(s), before);
    EXPECT_TRUE(s.optChaku2.value());
}

TEST_F(EntryTest, SettingAListToTheStationItShowsRunsNothing) {
    int& runs = countRuns(s.cboHatsu);
    s.cboHatsu.setListIndex(0);
    EXPECT_EQ(runs, 0);
    s.cboHatsu.setListIndex(1);
    EXPECT_EQ(runs, 1);
}

TEST_F(EntryTest, KeyLayoutThatCannotBeUsedStopsTheLoad) {
    for (const char* value : {"abc", "107", ""}) {
        SCOPED_TRACE(value);
        folder.setKey(7, value);
        folder.write();
        EXPECT_THROW(open(), DataFileError);
    }
    folder.setKey(7, "999");
    folder.remove("Ekimei1.csv");
    EXPECT_THROW(open(), DataFileError);
}

}  // namespace
}  // namespace kippurun
