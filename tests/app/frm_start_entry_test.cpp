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
