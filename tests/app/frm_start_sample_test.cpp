// The sales screen over the sample tables of Untin/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/frm_start.h"
#include "data/fare_tables.h"
#include "data/number_reading.h"
#include "fare/determinations.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::typeAsClerk;

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
    typeAsClerk(s, s.txtNinzu, "2");
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

// The keys a clerk finds open after start-up are those the default journey
// allows, each read from its own table.
TEST_F(SampleTest, KeysAfterStartUpFollowTheDefaultJourney) {
    const int a = tables.start.arrival, d = tables.start.departure;
    const StopPlan plan = expressStops(d, a);
    const bool express = expressAllowed(plan.down, plan.departure, plan.arrival);
    EXPECT_EQ(s.cmdJitoku.enabled, express);
    EXPECT_EQ(s.cmdShiToku.enabled, express);
    EXPECT_EQ(s.cmdGToku.enabled, express);
    EXPECT_EQ(s.cboHatsu3.listIndex(), plan.departure);
    EXPECT_EQ(s.cboChaku3.listIndex(), plan.arrival);
    EXPECT_EQ(s.cmdMarine.enabled, marineAllowed(tables, a, d));
    EXPECT_EQ(s.cmdMarineG.enabled, marineAllowed(tables, a, d));
    EXPECT_EQ(s.cmdJiyuKai.enabled, express && expressCouponAllowed(tables, a, d));
    EXPECT_EQ(s.cmdGaku.enabled, studentDiscountAllowed(tables, a, d));
    const std::optional<CouponKeys> coupons = couponKeys(tables, a, d);
    ASSERT_TRUE(coupons.has_value());
    EXPECT_EQ(s.cmd11Kai.enabled, coupons->elevenTickets);
    EXPECT_EQ(s.cmd6Kai.enabled, coupons->sixTickets);
    EXPECT_EQ(s.cboKenshu3.text(), "なし");
    EXPECT_FALSE(s.frameRyokin.visible);
    EXPECT_FALSE(s.frameRyokin2.visible);
    EXPECT_EQ(s.cmdEki(17).caption, "松　　山");
}

// A clerk's usual sale: 岡山 -> 松山 by the station key, return, reserved
// express without the change at 松山, two adults, tomorrow.
TEST_F(SampleTest, TheUsualSaleThroughTheHandlers) {
    s.cboChaku.gotFocus();
    s.tabFullKey.setTab(1);
    s.cmdEki(17).press();
    EXPECT_EQ(s.cboChaku.text(), "松　　山");
    s.cmdOfuku.press();
    prompt.answers = {PromptAnswer::No};
    s.cmdShiToku.press();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, "松山乗換えですか？");
    EXPECT_FALSE(s.frameRyokin2.visible);
    EXPECT_TRUE(s.frameRyokin.visible);
    s.tabFullKey.setTab(0);
    s.cmdO2.press();
    s.cmdTomorrow.press();
    s.cmdJikkou.press();

    const double fare = readStrict(tables.Otona.at(67, 0)).value();
    EXPECT_EQ(s.lblKenshuM(0).caption, "往復乗車券");
    EXPECT_EQ(s.txtTan01.text, formatPlain(2 * fare));
    EXPECT_EQ(s.txtSho01.text, formatPlain(4 * fare));
    // December 10 is off-peak; the reserved charge of 岡山 -> 松山 twice over.
    EXPECT_EQ(s.txtSeason.text, "閑散期");
    EXPECT_EQ(s.lblKenshuM(1).caption, "指定席(閑散期)");
    const double charge = readStrict(tables.Kansan.at(17, 0)).value();
    EXPECT_EQ(s.txtTan21.text, formatPlain(2 * charge));
    EXPECT_EQ(s.txtNin21.text, "2");
    EXPECT_EQ(s.txtBill.text, formatTotal(4 * fare + 4 * charge));
    EXPECT_EQ(s.tabFullKey.tab(), 3);
    EXPECT_TRUE(prompt.messages.empty());
}

// The sample tables in a folder of their own, with single values changed.
class ChangedSample {
  public:
    ChangedSample() {
        for (const auto& entry : std::filesystem::directory_iterator(kSampleTables))
            folder.write(entry.path().filename().string(), testing::bytesOf(entry.path()));
    }
    // Value n (counted from 0) of the file becomes `text`; every value of
    // the sample files stands between commas and line breaks, unquoted.
    void set(const std::string& file, std::size_t n, const std::string& text) {
        const std::string bytes = folder.read(file);
        std::string out;
        std::size_t value = 0, i = 0;
        while (i <= bytes.size()) {
            const std::size_t end = std::min(bytes.find_first_of(",\r\n", i), bytes.size());
            out += value++ == n ? text : bytes.substr(i, end - i);
            std::size_t next = end;
            while (next < bytes.size() && (bytes[next] == '\r' || bytes[next] == '\n' ||
                                           (next == end && bytes[next] == ',')))
                out += bytes[next++];
            if (next == bytes.size()) break;
            i = next;
        }
        folder.write(file, out);
    }
    // A screen after the load step, as the program starts.
    std::unique_ptr<frmStart> start() {
        auto screen = std::make_unique<frmStart>(folder.path(), clock, prompt);
        screen->Form_Load();
        return screen;
    }

    testing::TableFolder folder{testing::TableFolder::Contents::Empty};
    testing::FixedClock clock{
        Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    testing::RecordingPrompt prompt;
};

void expectSameScreen(frmStart& released, frmStart& fresh) {
    const std::vector<std::string> after = testing::snapshot(released);
    const std::vector<std::string> expected = testing::snapshot(fresh);
    ASSERT_EQ(after.size(), expected.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i], expected[i]);
}

// A start journey whose coupon cell holds no code leaves the coupon keys as
// they are: after the release that must be as a fresh start has them, not
// as the journey before left them.
TEST(SampleRelease, CouponKeysOfAStartJourneyWithoutCodeAreThoseOfAFreshStart) {
    ChangedSample sample;
    sample.set("KHan.csv", 67 * 107 + 0, "06");
    const auto fresh = sample.start();
    ASSERT_TRUE(fresh->cmd11Kai.enabled);
    ASSERT_TRUE(fresh->cmd6Kai.enabled);

    const auto s = sample.start();
    s->cboChaku.gotFocus();
    s->cboChaku.setListIndex(100);
    ASSERT_FALSE(s->cmd11Kai.enabled);
    s->cmdKaihou.press();
    EXPECT_TRUE(s->cmd11Kai.enabled);
    EXPECT_TRUE(s->cmd6Kai.enabled);
    expectSameScreen(*s, *fresh);
}

// With no station key assigned the load step never passes the departure
// list through other stations; the student count opened by the student key
// must still close on release as it is closed on a fresh start.
TEST(SampleRelease, StudentCountIsClosedAgainWithNoStationKeyAssigned) {
    ChangedSample sample;
    for (std::size_t k = 0; k < 100; ++k) sample.set("Ekimei1.csv", k, "999");
    const auto fresh = sample.start();
    ASSERT_FALSE(fresh->lblGaku.visible);

    const auto s = sample.start();
    s->tabFullKey.setTab(0);
    s->cmdGaku.press();
    ASSERT_TRUE(s->lblGaku.visible);
    s->cmdKaihou.press();
    EXPECT_FALSE(s->lblGaku.visible);
    EXPECT_FALSE(s->txtNinzuG.visible);
    expectSameScreen(*s, *fresh);
}

}  // namespace
}  // namespace kippurun
