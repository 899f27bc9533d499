// The load step of the sales screen.
#include <gtest/gtest.h>

#include "app/frm_start.h"
#include "data/data_file_error.h"
#include "data/fare_tables.h"
#include "data/key_layout.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;

class LoadTest : public ::testing::Test, public ScreenTest {};

TEST_F(LoadTest, FillsTheListsAndPutsTheDefaultEntryOnTheScreen) {
    frmStart& s = screen();
    ASSERT_EQ(s.cboKenshu.count(), 7);
    EXPECT_EQ(s.cboKenshu.items().front(), "片道乗車券");
    EXPECT_EQ(s.cboKenshu.items()[3], "普通回数券(11枚)");
    EXPECT_EQ(s.cboKenshu.items()[4], "６回回数券");
    EXPECT_EQ(s.cboKenshu.items().back(), "週末回数券");
    EXPECT_EQ(s.cboKenshu.listIndex(), 0);
    EXPECT_EQ(s.txtNinzu.text, "1");
    EXPECT_EQ(s.txtNinzuK.text, "0");
    EXPECT_EQ(s.txtNinzuG.text, "0");

    for (ComboBox* list : {&s.cboHatsu, &s.cboChaku}) {
        ASSERT_EQ(list->count(), 107);
        EXPECT_EQ(list->items().front(), "岡　　山");
        EXPECT_EQ(list->items().back(), "宇和島");
    }
    EXPECT_EQ(s.cboHatsu.text(), "岡　　山");
    EXPECT_EQ(s.cboChaku.listIndex(), 67);
    EXPECT_EQ(s.cboChaku.text(), "松　　山");
    EXPECT_EQ(s.txtChaku.text, "67");
    EXPECT_EQ(s.txtHatsu.text, "0");

    for (ComboBox* list : {&s.cboKenshu3, &s.cboKenshu4}) {
        ASSERT_EQ(list->count(), 6);
        EXPECT_EQ(list->items()[0], "自由席特急券");
        EXPECT_EQ(list->items()[4], "マリングリーン券");
        EXPECT_EQ(list->listIndex(), 5);
        EXPECT_EQ(list->text(), "なし");
    }
    EXPECT_EQ(s.cboHatsu2.count(), 0);
    // Charge section 1 holds the express stops of the default journey,
    // 岡山 -> 松山; section 2 is filled only when it is needed.
    EXPECT_EQ(s.cboHatsu3.count(), ExpressStopCount);
    EXPECT_EQ(s.cboHatsu3.listIndex(), 0);
    EXPECT_EQ(s.cboChaku3.listIndex(), 17);
    EXPECT_EQ(s.cboHatsu4.count(), 0);

    EXPECT_EQ(s.tabFullKey.tab(), 0);
    EXPECT_FALSE(s.frameRyokin.visible);
    EXPECT_TRUE(s.optRyokin1.value());
    EXPECT_FALSE(s.optRyokin2.value());
    EXPECT_TRUE(s.optHatsu1.value());
    EXPECT_FALSE(s.optChaku1.value());
    for (const auto& line : s.billLines()) {
        EXPECT_EQ(line.unit->text, "");
        EXPECT_EQ(line.count->text, "");
        EXPECT_EQ(line.subtotal->text, "");
    }
    EXPECT_EQ(s.txtBill.text, "");
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(LoadTest, DefaultStationsComeFromTheStartFile) {
    folder.setStart("11", "106");
    folder.write();
    open();
    EXPECT_EQ(screen().cboHatsu.text(), "児　　島");
    EXPECT_EQ(screen().txtHatsu.text, "11");
    EXPECT_EQ(screen().cboChaku.listIndex(), 106);
    EXPECT_EQ(screen().txtChaku.text, "106");
}

TEST_F(LoadTest, BillBoxesAreEmptiedFirst) {
    frmStart& s = screen();
    s.txtTan21.text = "old";
    s.txtBill.text = "9,999";
    s.Form_Load();
    EXPECT_EQ(s.txtTan21.text, "");
    EXPECT_EQ(s.txtBill.text, "");
}

TEST_F(LoadTest, MissingFileStopsTheLoadAndKeepsTheTablesHeld) {
    frmStart& s = screen();
    const std::string fare = std::string(s.tables.Otona.at(67, 0));
    ASSERT_EQ(fare, folder.at("Otona.csv", 67, 0));
    folder.set("Otona.csv", 67, 0, "1");
    folder.write();
    folder.remove("MKiro.csv");  // the last file read
    EXPECT_THROW(s.Form_Load(), DataFileError);
    EXPECT_EQ(s.tables.Otona.at(67, 0), fare);
}

TEST_F(LoadTest, FailureOfAFreshScreenPropagates) {
    folder.remove("Tujo.csv");
    frmStart s(folder.path(), clock, prompt);
    try {
        s.Form_Load();
        FAIL() << "no DataFileError";
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.kind(), DataFileError::Kind::FileNotFound);
        EXPECT_NE(std::string(e.what()).find("Tujo.csv"), std::string::npos) << e.what();
    }
}

TEST_F(LoadTest, StudentFaresSurviveALoad) {
    frmStart& s = screen();
    s.tables.Gakuwari = GakuwariLoad(folder.path());
    s.Form_Load();
    EXPECT_EQ(s.tables.Gakuwari.at(67, 0), folder.at("Gakuwari.csv", 67, 0));
}

// A counter with a folder of its own: its pair is read and saved there, the
// fares come from the tables folder, and neither folder needs the other's
// files.
class CounterFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        counter.setStart("11", "106");
        counter.setKey(0, "5");
        testing::TableFolder::writeAsInstalled(tables, counter);
    }
    testing::TableFolder tables;
    testing::TableFolder counter;
    CounterFolders both{tables.path(), counter.path()};
};

TEST_F(CounterFolderTest, ThePairComesFromTheCounterFolder) {
    const CounterSet set = readCounterSet(both);
    EXPECT_EQ(set.tables.start.departure, 11);
    EXPECT_EQ(set.tables.start.arrival, 106);
    EXPECT_EQ(set.ekimei.layout[0].station, 5);
    // Without the counter folder the tables folder's missing pair is named.
    EXPECT_THROW(readCounterSet(CounterFolders(tables.path())), DataFileError);
}

TEST_F(CounterFolderTest, ASaveGoesIntoTheCounterFolderAlone) {
    EkimeiGrid grid = readCounterSet(both).ekimei.grid;
    grid[1] = "67";
    ASSERT_TRUE(writeKeySettings(both.counter, grid, "3", "4"));
    EXPECT_FALSE(std::filesystem::exists(tables.file("Ekimei1.csv")));
    EXPECT_FALSE(std::filesystem::exists(tables.file("Start.csv")));
    const CounterSet again = readCounterSet(both);
    EXPECT_EQ(again.ekimei.layout[1].station, 67);
    EXPECT_EQ(again.tables.start.departure, 3);
}

TEST(CounterFolders, ReadersLockTheTablesFirstAndEachFolderOnce) {
    EXPECT_EQ(CounterFolders("/t").lockOrder(), std::vector<std::filesystem::path>{"/t"});
    EXPECT_EQ(CounterFolders("/t", "/c").lockOrder(),
              (std::vector<std::filesystem::path>{"/t", "/c"}));
}

}  // namespace
}  // namespace kippurun
