// The calculation run of "実 行" on small tables whose cells hold their own
// values.
#include <gtest/gtest.h>

#include <string>

#include "app/frm_start.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;
using testing::typeAsClerk;

class RunTest : public ::testing::Test, public ScreenTest {
  protected:
    frmStart& s = screen();

    // A charge section from stop e to f with charge ticket j.
    // The type is chosen first: its handling derives the stops from the
    // journey, and the stops of the case replace them afterwards.
    void chargeSection(ComboBox& hatsu, ComboBox& chaku, ComboBox& kenshu, int j, int e, int f) {
        kenshu.setListIndex(j);
        if (j <= 2)
            fillExpressStops(hatsu, chaku);
        else
            fillMarineStops(hatsu, chaku);
        hatsu.setListIndex(e);
        chaku.setListIndex(f);
    }
    void chargeSection1(int j, int e, int f) {
        chargeSection(s.cboHatsu3, s.cboChaku3, s.cboKenshu3, j, e, f);
    }
    void chargeSection2(int j, int e, int f) {
        chargeSection(s.cboHatsu4, s.cboChaku4, s.cboKenshu4, j, e, f);
        s.frameRyokin2.visible = true;
    }
    std::string value(const char* file, int a, int d) const { return folder.at(file, a, d); }
    static long long number(const std::string& text) { return std::stoll(text); }

    static bool lineShown(const frmStart::BillLine& line) {
        const bool shown = line.label->visible;
        EXPECT_EQ(line.unit->visible, shown) << line.suffix;
        EXPECT_EQ(line.count->visible, shown) << line.suffix;
        EXPECT_EQ(line.subtotal->visible, shown) << line.suffix;
        return shown;
    }
    std::string shownLines() {
        std::string out;
        for (const auto& line : s.billLines())
            if (lineShown(line)) out += std::string(out.empty() ? "" : " ") + line.suffix;
        return out;
    }
};

TEST_F(RunTest, OneAdultOneWayShowsOnlyTheAdultLine) {
    s.cmdJikkou.press();
    EXPECT_EQ(shownLines(), "01");
    EXPECT_EQ(s.lblKenshuM(0).caption, "片道乗車券");
    EXPECT_TRUE(s.lblKenshuM(0).visible);
    EXPECT_FALSE(s.lblKenshuM(1).visible);
    EXPECT_FALSE(s.lblKenshuM(2).visible);
    EXPECT_EQ(s.lblMaisu.caption, "枚数");
    EXPECT_EQ(s.txtTan01.text, value("Otona.csv", 67, 0));  // arrival first
    EXPECT_EQ(s.txtNin01.text, "1");
    EXPECT_EQ(s.txtSho01.text, value("Otona.csv", 67, 0));
    EXPECT_EQ(s.txtTan02.text, value("Kodomo.csv", 67, 0));
    EXPECT_EQ(s.txtNin02.text, "0");
    EXPECT_EQ(s.txtSho02.text, "0");
    EXPECT_EQ(s.txtBill.text, "113,400");  // 100000 + 67 * 200
    EXPECT_EQ(s.tabFullKey.tab(), 3);
}

TEST_F(RunTest, ReturnTicketDoublesTheFareOfEachClass) {
    s.cboKenshu.setListIndex(1);
    typeAsClerk(s, s.txtNinzu, "2");
    typeAsClerk(s, s.txtNinzuK, "1");
    s.cmdJikkou.press();
    EXPECT_EQ(shownLines(), "01 02");
    EXPECT_EQ(s.lblKenshuM(0).caption, "往復乗車券");
    const long long adult = 2 * number(value("Otona.csv", 67, 0));
    const long long child = 2 * number(value("Kodomo.csv", 67, 0));
    EXPECT_EQ(s.txtTan01.text, std::to_string(adult));
    EXPECT_EQ(s.txtSho01.text, std::to_string(2 * adult));
    EXPECT_EQ(s.txtTan02.text, std::to_string(child));
    EXPECT_EQ(s.txtSho02.text, std::to_string(child));
}

TEST_F(RunTest, CouponSellsNoChargeTicket) {
    s.cboKenshu.setListIndex(3);
    typeAsClerk(s, s.txtNinzuK, "1");
    chargeSection1(0, 0, 3);
    s.cmdJikkou.press();
    EXPECT_EQ(s.lblMaisu.caption, "冊数");
    EXPECT_EQ(shownLines(), "01 02 21 22");
    EXPECT_EQ(s.lblKenshuM(1).caption, "自由席特急券");
    EXPECT_EQ(s.txtTan21.text, value("Jiyu.csv", 3, 0));
    EXPECT_EQ(s.txtTan22.text, value("JiyuK.csv", 3, 0));
    for (TextBox* box : {&s.txtNin21, &s.txtSho21, &s.txtNin22, &s.txtSho22, &s.txtNin31,
                         &s.txtSho31, &s.txtNin32, &s.txtSho32})
        EXPECT_EQ(box->text, "0") << box->name();
    EXPECT_EQ(s.txtSho01.text, std::to_string(10 * number(value("Otona.csv", 67, 0))));
    EXPECT_EQ(s.txtTan03.text, "0");
    EXPECT_EQ(s.txtBill.text, "1,768,000");  // 10 * 113400 + 10 * 63400, no charge
}

TEST_F(RunTest, HiddenSectionTwoFrameHidesItsLinesWhateverIsSelected) {
    chargeSection2(0, 0, 3);
    s.frameRyokin2.visible = false;
    s.cmdJikkou.press();
    for (const auto& line : s.billLines())
        if (line.block == 2) {
            EXPECT_FALSE(lineShown(line));
            EXPECT_EQ(line.unit->text, "");
        }
    EXPECT_FALSE(s.lblKenshuM(2).visible);

    s.frameRyokin2.visible = true;
    s.cmdJikkou.press();
    EXPECT_EQ(shownLines(), "01 31");
    EXPECT_TRUE(s.lblKenshuM(2).visible);
    EXPECT_EQ(s.lblKenshuM(2).caption, "自由席特急券");
    EXPECT_EQ(s.txtTan31.text, value("Jiyu.csv", 3, 0));
    EXPECT_EQ(s.txtBill.text, "115,000");  // 113400 + 1600
}

TEST_F(RunTest, TotalIsGroupedByThousandsAndEmptyForZero) {
    folder.set("Otona.csv", 67, 0, "600000");
    folder.write();
    open();
    frmStart& t = screen();
    typeAsClerk(t, t.txtNinzu, "2");
    t.cmdJikkou.press();
    EXPECT_EQ(t.txtSho01.text, "1200000");
    EXPECT_EQ(t.txtBill.text, "1,200,000");

    typeAsClerk(t, t.txtNinzu, "0");
    t.cmdJikkou.press();
    EXPECT_EQ(t.txtBill.text, "");
    for (const auto& line : t.billLines()) EXPECT_FALSE(lineShown(line)) << line.suffix;
}

TEST_F(RunTest, SecondRunGivesTheSameBill) {
    typeAsClerk(s, s.txtNinzuK, "2");
    chargeSection1(1, 2, 7);
    s.txtSeason.text = "通常期";
    s.cmdJikkou.press();
    const auto first = testing::snapshot(s);
    s.cmdJikkou.press();
    EXPECT_EQ(testing::snapshot(s), first);
}

struct SeasonCase {
    const char* season;
    const char* caption;
    const char* adultFile;
    const char* childFile;
};

class ReservedSeasonTest : public RunTest, public ::testing::WithParamInterface<SeasonCase> {};

TEST_P(ReservedSeasonTest, CaptionAndTablesFollowTheSeason) {
    const SeasonCase& c = GetParam();
    s.txtSeason.text = c.season;
    typeAsClerk(s, s.txtNinzuK, "1");
    chargeSection1(1, 2, 9);
    s.cmdJikkou.press();
    EXPECT_EQ(s.lblKenshuM(1).caption, c.caption);
    EXPECT_EQ(s.txtTan21.text, value(c.adultFile, 9, 2));
    EXPECT_EQ(s.txtTan22.text, value(c.childFile, 9, 2));

    s.cboKenshu.setListIndex(1);  // return: both directions
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtTan21.text, std::to_string(2 * number(value(c.adultFile, 9, 2))));
    EXPECT_EQ(s.txtTan22.text, std::to_string(2 * number(value(c.childFile, 9, 2))));
    EXPECT_EQ(s.txtSho21.text, s.txtTan21.text);
}

INSTANTIATE_TEST_SUITE_P(
    Seasons, ReservedSeasonTest,
    ::testing::Values(SeasonCase{"繁忙期", "指定席(繁忙期)", "Hanbo.csv", "HanboK.csv"},
                      SeasonCase{"通常期", "指定席(通常期)", "Tujo.csv", "TujoK.csv"},
                      SeasonCase{"閑散期", "指定席(閑散期)", "Kansan.csv", "KansanK.csv"}));

TEST_F(RunTest, ReservedExpressWithoutASeasonPricesNothing) {
    s.txtSeason.text = "";
    chargeSection1(1, 2, 9);
    s.cmdJikkou.press();
    EXPECT_EQ(s.lblKenshuM(1).caption, "");
    EXPECT_FALSE(s.lblKenshuM(1).visible);
    EXPECT_EQ(s.txtTan21.text, "");
    EXPECT_EQ(shownLines(), "01");
}

TEST_F(RunTest, MarineReservedInTheRegularSeasonWithAReturnTicket) {
    s.cboKenshu.setListIndex(1);
    s.txtSeason.text = "通常期";
    typeAsClerk(s, s.txtNinzuK, "1");
    chargeSection1(3, 0, 5);
    chargeSection2(3, 5, 9);
    s.cmdJikkou.press();
    EXPECT_EQ(s.lblKenshuM(1).caption, "マリン指定券");
    EXPECT_EQ(s.lblKenshuM(2).caption, "マリン指定券");
    EXPECT_EQ(s.txtTan21.text, "1020");
    EXPECT_EQ(s.txtTan22.text, "500");
    EXPECT_EQ(s.txtTan31.text, "1020");
    EXPECT_EQ(s.txtTan32.text, "500");
    EXPECT_EQ(shownLines(), "01 02 21 22 31 32");
}

TEST_F(RunTest, MarineReservedOffPeak) {
    s.txtSeason.text = "閑散期";
    chargeSection1(3, 0, 5);
    s.cmdJikkou.press();
    EXPECT_EQ(s.lblKenshuM(1).caption, "マリン指(閑散期)");
    EXPECT_EQ(s.txtTan21.text, "310");
    EXPECT_EQ(s.txtTan22.text, "150");
}

struct GreenCase {
    const char* km;
    int k;
    const char* price;
};

class MarineGreenTest : public RunTest, public ::testing::WithParamInterface<GreenCase> {};

TEST_P(MarineGreenTest, PriceBandAtFiftyKilometres) {
    const GreenCase& c = GetParam();
    folder.set("MKiro.csv", 6, 1, c.km);
    folder.write();
    open();
    frmStart& t = screen();
    t.cboKenshu3.setListIndex(4);
    fillMarineStops(t.cboHatsu3, t.cboChaku3);
    t.cboHatsu3.setListIndex(1);
    t.cboChaku3.setListIndex(6);
    t.cboKenshu.setListIndex(c.k);
    typeAsClerk(t, t.txtNinzuK, "1");
    t.cmdJikkou.press();
    EXPECT_EQ(t.lblKenshuM(1).caption, "マリングリーン券");
    EXPECT_EQ(t.txtTan21.text, c.price);
    EXPECT_EQ(t.txtTan22.text, c.price);
}

INSTANTIATE_TEST_SUITE_P(Bands, MarineGreenTest,
                         ::testing::Values(GreenCase{"50", 0, "750"}, GreenCase{"50", 1, "1500"},
                                           GreenCase{"51", 0, "950"}, GreenCase{"51", 1, "1900"}));

TEST_F(RunTest, NoChargeTicketHidesTheSection) {
    typeAsClerk(s, s.txtNinzuK, "1");
    s.cmdJikkou.press();  // both sections "なし"; section 2 frame as built
    EXPECT_EQ(s.lblKenshuM(1).caption, "");
    EXPECT_FALSE(s.lblKenshuM(1).visible);
    EXPECT_EQ(s.txtTan21.text, "0");
    EXPECT_EQ(s.txtSho22.text, "0");
    EXPECT_EQ(shownLines(), "01 02");
}

TEST_F(RunTest, StudentsPayTheAdultCharge) {
    s.cmdGaku.press();  // the student key: the student fares and the count box
    typeAsClerk(s, s.txtNinzu, "2");
    typeAsClerk(s, s.txtNinzuG, "1");
    typeAsClerk(s, s.txtNinzuK, "1");
    chargeSection1(0, 0, 3);
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtNin21.text, "3");
    EXPECT_EQ(s.txtNin22.text, "1");
    EXPECT_EQ(s.txtSho21.text, std::to_string(3 * number(value("Jiyu.csv", 3, 0))));
    EXPECT_EQ(s.txtNin03.text, "1");
    EXPECT_EQ(shownLines(), "01 02 03 21 22");
}

class OddCountTest : public RunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OddCountTest, CountsAsNoPassenger) {
    s.cmdGaku.press();  // the student key: the student fares and the count box
    s.txtNinzu.text = GetParam();
    typeAsClerk(s, s.txtNinzuG, "1");
    chargeSection1(0, 0, 3);
    s.cmdJikkou.press();
    EXPECT_FALSE(lineShown(s.billLines()[0]));
    EXPECT_EQ(s.txtNin01.text, GetParam());  // copied as it stands
    EXPECT_EQ(s.txtSho01.text, "0");
    EXPECT_EQ(s.txtNin21.text, "1");  // the student alone
    EXPECT_EQ(s.txtSho21.text, value("Jiyu.csv", 3, 0));
}

TEST_P(OddCountTest, ChildCountIsCopiedToTheChargeLineAsItStands) {
    s.txtNinzuK.text = GetParam();
    chargeSection1(0, 0, 3);
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtNin02.text, GetParam());
    EXPECT_EQ(s.txtNin22.text, GetParam());
    EXPECT_EQ(s.txtSho22.text, "0");
    EXPECT_FALSE(lineShown(s.billLines()[4]));
}

INSTANTIATE_TEST_SUITE_P(Texts, OddCountTest, ::testing::Values("", "abc", "2x", "1.5", " "));

TEST_F(RunTest, FareThatIsNoNumberStopsTheRunWithOneMessage) {
    folder.set("Otona.csv", 67, 0, "12O0");
    folder.write();
    open();
    frmStart& t = screen();
    typeAsClerk(t, t.txtNinzu, "0");
    typeAsClerk(t, t.txtNinzuK, "1");
    t.cmdJikkou.press();  // no adult: the adult cell is shown as stored, never sold
    EXPECT_EQ(t.txtTan01.text, "12O0");
    EXPECT_TRUE(prompt.messages.empty());

    typeAsClerk(t, t.txtNinzu, "1");
    typeAsClerk(t, t.txtNinzuK, "0");
    t.tabFullKey.setTab(0);
    t.cboKenshu.setListIndex(6);  // weekend coupon: ten times the cell
    t.cmdJikkou.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "運賃表エラー");
    const std::string& text = prompt.messages[0].second;
    EXPECT_NE(text.find("Otona.csv"), std::string::npos) << text;
    EXPECT_NE(text.find("67"), std::string::npos) << text;
    EXPECT_NE(text.find("12O0"), std::string::npos) << text;
    for (const auto& line : t.billLines()) EXPECT_EQ(line.unit->text, "") << line.suffix;
    EXPECT_EQ(t.lblKenshuM(0).caption, "");
    EXPECT_EQ(t.txtBill.text, "");
    EXPECT_EQ(t.tabFullKey.tab(), 0);
    EXPECT_TRUE(prompt.questions.empty());
}

// A price sold to a passenger must be an amount (data/amount.h): a cell
// that is empty, carries a unit ("4230円") or is otherwise no amount stops
// the run rather than sell the ticket for the wrong price; digits grouped
// by thousands are the amount they group. A cell of a line without
// passengers is never read as an amount.
TEST_F(RunTest, FareCellWithoutAnAmountIsSoldToNoOne) {
    struct Case {
        int type;  // ticket type
        const char* file;
        const char* cell;
        const char* adults;
        const char* children;
        const char* stopsWith;  // the message's first words; empty: priced
        const char* total;
    } cases[] = {
        {0, "Otona.csv", "abc", "1", "0", "運賃表 Otona.csv の値番号 7169 (着 67, 発 0) \"abc\"",
         ""},
        {0, "Otona.csv", "", "1", "0", "運賃表 Otona.csv の値番号 7169 (着 67, 発 0) \"\"", ""},
        {1, "Otona.csv", " 円", "2", "0", "運賃表 Otona.csv の値番号 7169 (着 67, 発 0)", ""},
        {1, "Kodomo.csv", "abc", "1", "1", "運賃表 Kodomo.csv の値番号 7169", ""},
        {0, "Otona.csv", "4230円", "2", "0", "運賃表 Otona.csv の値番号 7169 (着 67, 発 0)", ""},
        {0, "Otona.csv", "4,230", "2", "0", "", "8,460"},
        {0, "Kodomo.csv", "abc", "1", "0", "", "113,400"},  // no child: not read
        {0, "Otona.csv", "abc", "0", "1", "", ""},          // no adult: not read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " \"" + c.cell + "\"");
        folder.set(c.file, 67, 0, c.cell);
        folder.write();
        open();
        frmStart& t = screen();
        prompt.messages.clear();
        t.cboKenshu.setListIndex(c.type);
        t.txtNinzu.text = c.adults;
        t.txtNinzuK.text = c.children;
        t.cmdJikkou.press();
        if (*c.stopsWith == '\0') {
            EXPECT_TRUE(prompt.messages.empty());
            if (*c.total != '\0') {
                EXPECT_EQ(t.txtBill.text, c.total);
            }
            EXPECT_FALSE(t.txtBill.text.empty());
        } else {
            ASSERT_EQ(prompt.messages.size(), 1u);
            EXPECT_EQ(prompt.messages[0].first, "運賃表エラー");
            EXPECT_EQ(prompt.messages[0].second.rfind(c.stopsWith, 0), 0u)
                << prompt.messages[0].second;
            for (const auto& line : t.billLines())
                EXPECT_EQ(line.subtotal->text, "") << line.suffix;
            EXPECT_EQ(t.txtBill.text, "");
            // The program goes on: a sale that leaves the cell unread is priced.
            const bool adultCell = std::string(c.file) == "Otona.csv";
            t.txtNinzu.text = adultCell ? "0" : "1";
            t.txtNinzuK.text = adultCell ? "1" : "0";
            prompt.messages.clear();
            t.cmdJikkou.press();
            EXPECT_TRUE(prompt.messages.empty());
            EXPECT_FALSE(t.txtBill.text.empty());
        }
        folder.set(c.file, 67, 0, testing::TableFolder::cell(c.file, 67, 0));
    }
}

// The student fares are read only by the student key; a sale without
// students never stops on them. The student box is hidden until that key
// is pressed, so no clerk can type these counts: they are set here to show
// that the run does not rely on the window for it.
TEST_F(RunTest, UnreadStudentFaresStopNoSaleWithoutStudents) {
    for (int type : {0, 1}) {
        s.cboKenshu.setListIndex(type);
        s.txtNinzuG.text = "0";
        s.cmdJikkou.press();
        EXPECT_TRUE(prompt.messages.empty()) << type;
        EXPECT_FALSE(s.txtBill.text.empty()) << type;
    }
    s.cboKenshu.setListIndex(0);
    s.txtNinzuG.text = "1";  // a student before the table was read
    s.cmdJikkou.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].second.find("Gakuwari.csv の値番号 7169"), std::string::npos)
        << prompt.messages[0].second;
}

TEST_F(RunTest, LargeAmountsAreExactOnTheBill) {
    folder.set("Otona.csv", 67, 0, "999999999999");
    folder.set("Kodomo.csv", 67, 0, "1");
    folder.write();
    open();
    frmStart& t = screen();
    typeAsClerk(t, t.txtNinzu, "9999");
    typeAsClerk(t, t.txtNinzuK, "1");
    t.cmdJikkou.press();
    EXPECT_EQ(t.txtSho01.text, "9998999999990001");
    EXPECT_EQ(t.txtBill.text, "9,998,999,999,990,002");
    EXPECT_TRUE(prompt.messages.empty());
}

// What cannot be priced exactly leaves no bill, and one message names the
// cell and its text.
TEST_F(RunTest, AmountsThatCannotBeExactStopTheRun) {
    const struct {
        const char* fare;
        const char* count;
    } cases[] = {{"1e308", "1"}, {"160.5", "1"}, {"999999999999999999", "9999"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fare);
        prompt.messages.clear();
        folder.set("Otona.csv", 67, 0, c.fare);
        folder.write();
        open();
        frmStart& t = screen();
        t.txtNinzu.text = c.count;
        t.cmdJikkou.press();
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].first, "運賃表エラー");
        const std::string& text = prompt.messages[0].second;
        EXPECT_NE(text.find("Otona.csv"), std::string::npos) << text;
        EXPECT_NE(text.find(c.fare), std::string::npos) << text;
        EXPECT_EQ(t.txtTan01.text, "");
        EXPECT_EQ(t.txtBill.text, "");
    }
}

TEST_F(RunTest, MarineDistanceThatIsNoNumberStopsTheRun) {
    folder.set("MKiro.csv", 6, 1, "");
    folder.write();
    open();
    frmStart& t = screen();
    t.cboKenshu3.setListIndex(4);
    fillMarineStops(t.cboHatsu3, t.cboChaku3);
    t.cboHatsu3.setListIndex(1);
    t.cboChaku3.setListIndex(6);
    t.cmdJikkou.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].second.find("MKiro.csv"), std::string::npos);
    EXPECT_EQ(t.txtTan01.text, "");
    EXPECT_EQ(t.txtTan21.text, "");
}

// A charge ticket chosen for a section without stops would leave the bill
// unnoticed: the run stops with a message and no bill instead. A coupon's
// bill carries no charge tickets, so there nothing is lost and nothing said.
TEST_F(RunTest, ChargeWithoutStopsStopsTheRunUnlessNothingIsSold) {
    s.cboKenshu3.setListIndex(0);
    s.cboHatsu3.clear();  // no stops in the lists at all
    s.cboChaku3.clear();
    s.cmdJikkou.press();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].first, "入力エラー");
    EXPECT_NE(prompt.messages[0].second.find("料金区間１の自由席特急券"), std::string::npos)
        << prompt.messages[0].second;
    EXPECT_EQ(s.txtTan01.text, "");
    EXPECT_EQ(s.txtBill.text, "");
    prompt.messages.clear();

    typeAsClerk(s, s.txtNinzu, "0");  // no passenger: nothing is sold, nothing missing
    s.cmdJikkou.press();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(s.txtTan21.text, "");
    EXPECT_FALSE(s.lblKenshuM(1).visible);
    typeAsClerk(s, s.txtNinzu, "1");

    s.cboKenshu.setListIndex(5);  // express coupon priced by charge section 1's stops
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtTan01.text, "");
    EXPECT_EQ(s.txtNin01.text, "");
    EXPECT_EQ(shownLines(), "");
    EXPECT_EQ(s.lblKenshuM(0).caption, "自由席特急回数券");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(RunTest, ExpressCouponUsesTheChargeStops) {
    s.cboKenshu.setListIndex(5);
    chargeSection1(0, 1, 4);
    s.cmdJikkou.press();
    EXPECT_EQ(s.txtTan01.text, value("Jiyukai.csv", 4, 1));
    EXPECT_EQ(s.txtNin21.text, "0");
}

TEST_F(RunTest, SelectionHandlingRunsOnlyOnChange) {
    s.txtHatsu.text = "marker";
    s.cboHatsu.setListIndex(0);  // already there
    EXPECT_EQ(s.txtHatsu.text, "marker");
    s.cboHatsu.setListIndex(12);
    EXPECT_EQ(s.txtHatsu.text, "12");

    fillExpressStops(s.cboHatsu4, s.cboChaku4);
    s.cboChaku4.setListIndex(7);
    EXPECT_EQ(s.txtChaku4.text, "7");
    s.txtChaku4.text = "marker";
    s.cboChaku4.setListIndex(7);
    EXPECT_EQ(s.txtChaku4.text, "marker");
    EXPECT_FALSE(s.cboChaku4.setListIndex(26));
    EXPECT_EQ(s.cboChaku4.listIndex(), 7);
}

}  // namespace
}  // namespace kippurun
