// The sales screen over the sample tables of Untin/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/frm_start.h"
#include "data/fare_tables.h"
#include "data/number_reading.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

const std::filesystem::path kSampleTables = std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";

class SampleTest : public ::testing::Test {
  protected:
    testing::FixedClock clock{
        Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    testing::RecordingPrompt prompt;
    frmStart s{kSampleTables, clock, prompt};
    FareTables tables = FareTableLoad(kSampleTables);

    void SetUp() override { s.Form_Load(); }
};

TEST_F(SampleTest, OpensOnTheDefaultStationsOfTheStartFile) {
    EXPECT_EQ(s.cboHatsu.listIndex(), tables.start.departure);
    EXPECT_EQ(s.cboChaku.listIndex(), tables.start.arrival);
    EXPECT_EQ(s.txtChaku.text, std::to_string(tables.start.arrival));
}

TEST_F(SampleTest, ReturnTicketForTwoAdults) {
    s.cboKenshu.setListIndex(1);
    s.txtNinzu.text = "2";
    s.cmdJikkou.press();
    const int a = tables.start.arrival, d = tables.start.departure;
    const double fare = readStrict(tables.Otona.at(a, d)).value();
    ASSERT_GT(fare, 0);
    EXPECT_EQ(s.txtTan01.text, formatPlain(2 * fare));
    EXPECT_EQ(s.txtNin01.text, "2");
    EXPECT_EQ(s.txtSho01.text, formatPlain(4 * fare));
    EXPECT_EQ(s.txtBill.text, formatTotal(4 * fare));
    EXPECT_TRUE(s.txtTan01.visible);
    EXPECT_FALSE(s.txtTan02.visible);
    EXPECT_FALSE(s.lblKenshuM(1).visible);
    EXPECT_FALSE(s.lblKenshuM(2).visible);
    EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
}  // namespace kippurun
