#include "fare/charge_pricing.h"

#include <gtest/gtest.h>

#include "fare/table_value_error.h"
#include "pricing_tables.h"

namespace kippurun {
namespace {

using testing::chosenTable;
using testing::positionTable;

// Charge tables with their own base each; stops 3 -> 10 are cell 10 x 26 + 3 = 263.
// MKiro: 0 -> 1 is 50 km, 0 -> 2 is 51 km; the swapped cells hold the other band.
FareTables chargeTables() {
    FareTables t;
    t.Jiyu = positionTable(26, 1000);
    t.JiyuK = positionTable(26, 2000);
    t.Kansan = positionTable(26, 3000);
    t.KansanK = positionTable(26, 4000);
    t.Tujo = positionTable(26, 5000);
    t.TujoK = positionTable(26, 6000);
    t.Hanbo = positionTable(26, 7000);
    t.HanboK = positionTable(26, 8000);
    t.Green = positionTable(26, 9000);
    t.GreenK = positionTable(26, 10000);
    t.MKiro = chosenTable(15,
                          {{{1, 0}, "50"},
                           {{0, 1}, "80"},
                           {{2, 0}, "51"},
                           {{0, 2}, "10"},
                           {{4, 3}, "50.5"},
                           {{5, 3}, "x"}},
                          "0");
    return t;
}

ChargeSection section(int j, int k, const char* season, int e = 3, int f = 10) {
    ChargeSection s;
    s.j = j;
    s.k = k;
    s.e = e;
    s.f = f;
    s.season = seasonNamed(season);
    s.adults = 1;
    s.children = 1;
    s.students = 0;
    return s;
}

struct ChargeRow {
    int j, k;
    const char* season;
    int e, f;
    const char *caption, *adult, *child;
};

class ChargeRows : public ::testing::TestWithParam<ChargeRow> {};

TEST_P(ChargeRows, CaptionAndUnitPrices) {
    const ChargeRow row = GetParam();
    const ChargePricing p =
        priceCharge(chargeTables(), section(row.j, row.k, row.season, row.e, row.f));
    EXPECT_TRUE(p.touched);
    ASSERT_TRUE(p.lines.has_value());
    EXPECT_EQ(p.lines->caption, row.caption);
    EXPECT_EQ(p.lines->adult.unit, row.adult);
    EXPECT_EQ(p.lines->child.unit, row.child);
    // One adult and one child: each subtotal is the unit price once.
    EXPECT_EQ(p.lines->adult.amount.text(), p.lines->adult.unit);
    EXPECT_EQ(p.lines->child.amount.text(), p.lines->child.unit);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTicket, ChargeRows,
    ::testing::Values(ChargeRow{0, 0, "通常期", 3, 10, "自由席特急券", "1263", "2263"},
                      ChargeRow{0, 1, "通常期", 3, 10, "自由席特急券", "2526", "4526"},
                      ChargeRow{1, 0, "閑散期", 3, 10, "指定席(閑散期)", "3263", "4263"},
                      ChargeRow{1, 0, "通常期", 3, 10, "指定席(通常期)", "5263", "6263"},
                      ChargeRow{1, 0, "繁忙期", 3, 10, "指定席(繁忙期)", "7263", "8263"},
                      ChargeRow{1, 1, "繁忙期", 3, 10, "指定席(繁忙期)", "14526", "16526"},
                      ChargeRow{1, 0, "通常期", 10, 3, "指定席(通常期)", "5088", "6088"},
                      ChargeRow{2, 0, "閑散期", 3, 10, "グリーン特急券", "9263", "10263"},
                      ChargeRow{2, 1, "閑散期", 3, 10, "グリーン特急券", "18526", "20526"},
                      ChargeRow{3, 0, "閑散期", 3, 10, "マリン指(閑散期)", "310", "150"},
                      ChargeRow{3, 1, "閑散期", 3, 10, "マリン指(閑散期)", "620", "300"},
                      ChargeRow{3, 0, "通常期", 3, 10, "マリン指定券", "510", "250"},
                      ChargeRow{3, 1, "通常期", 3, 10, "マリン指定券", "1020", "500"},
                      ChargeRow{3, 1, "繁忙期", 3, 10, "マリン指定券", "1020", "500"},
                      // The Marine seat reads no stops and treats any other season text as regular.
                      ChargeRow{3, 0, "", 999, -1, "マリン指定券", "510", "250"},
                      ChargeRow{4, 0, "通常期", 0, 1, "マリングリーン券", "750", "750"},
                      ChargeRow{4, 1, "通常期", 0, 1, "マリングリーン券", "1500", "1500"},
                      ChargeRow{4, 0, "通常期", 0, 2, "マリングリーン券", "950", "950"},
                      ChargeRow{4, 1, "閑散期", 0, 2, "マリングリーン券", "1900", "1900"},
                      ChargeRow{4, 0, "通常期", 3, 4, "マリングリーン券", "950", "950"},
                      ChargeRow{5, 0, "通常期", 3, 10, "", "0", "0"},
                      ChargeRow{5, 1, "通常期", 3, 10, "", "0", "0"}));

TEST(ChargePricing, CountsPutStudentsOnTheAdultLine) {
    ChargeSection s = section(0, 0, "通常期");
    s.adults = 2;
    s.students = 1;
    s.children = 1;
    const ChargePricing p = priceCharge(chargeTables(), s);
    ASSERT_TRUE(p.lines.has_value());
    EXPECT_EQ(p.lines->adult.count, 3);
    EXPECT_EQ(p.lines->adult.amount.text(), "3789");
    EXPECT_EQ(p.lines->child.count, 1);
    EXPECT_EQ(p.lines->child.amount.text(), "2263");
}

TEST(ChargePricing, StudentsAloneFillTheAdultLine) {
    ChargeSection s = section(1, 1, "閑散期");
    s.adults = 0;
    s.students = 2;
    s.children = 0;
    const ChargePricing p = priceCharge(chargeTables(), s);
    ASSERT_TRUE(p.lines.has_value());
    EXPECT_EQ(p.lines->adult.count, 2);
    EXPECT_EQ(p.lines->adult.amount.text(), "13052");
    EXPECT_EQ(p.lines->child.count, 0);
    EXPECT_EQ(p.lines->child.amount.text(), "0");
}

// A line without passengers shows its unit price however the cell reads;
// a charge that is no amount is never sold to a passenger.
TEST(ChargePricing, DoublingReadsTheStoredChargeAsAnAmount) {
    FareTables t = chargeTables();
    t.Jiyu = chosenTable(26, {{{10, 3}, "abc"}});
    t.JiyuK = chosenTable(26, {{{10, 3}, " 700 "}});
    ChargeSection noAdults = section(0, 0, "通常期");
    noAdults.adults = 0;
    EXPECT_EQ(priceCharge(t, noAdults).lines->adult.unit, "abc");
    EXPECT_FALSE(priceCharge(t, noAdults).lines->adult.unitPrice.isAmount());
    noAdults.k = 1;
    EXPECT_EQ(priceCharge(t, noAdults).lines->adult.unit, "0");
    EXPECT_EQ(priceCharge(t, noAdults).lines->child.unit, "1400");
    EXPECT_EQ(priceCharge(t, noAdults).lines->child.amount.text(), "1400");
    for (const int k : {0, 1}) {
        try {
            priceCharge(t, section(0, k, "通常期"));
            ADD_FAILURE() << "a charge that is no amount was sold, k=" << k;
        } catch (const TableValueError& e) {
            EXPECT_EQ(e.file(), "Jiyu.csv");
            EXPECT_EQ(e.arrival(), 10);
            EXPECT_EQ(e.departure(), 3);
            EXPECT_NE(std::string(e.what()).find("値番号 263 "), std::string::npos) << e.what();
        }
    }
}

TEST(ChargePricing, OutOfRangeTicketTouchesNothing) {
    for (const int j : {-1, 6, 999}) {
        const ChargePricing p = priceCharge(chargeTables(), section(j, 0, "通常期"));
        EXPECT_FALSE(p.touched) << j;
        EXPECT_FALSE(p.lines.has_value()) << j;
    }
}

struct UnpricedRow {
    int j;
    const char* season;
    int e, f;
    bool withoutStops;  // the passengers' ticket has no stops to be priced from
};

class UnpricedSections : public ::testing::TestWithParam<UnpricedRow> {};

TEST_P(UnpricedSections, TouchedButLinesLeftCleared) {
    const UnpricedRow row = GetParam();
    const ChargePricing p =
        priceCharge(chargeTables(), section(row.j, 0, row.season, row.e, row.f));
    EXPECT_TRUE(p.touched);
    EXPECT_FALSE(p.lines.has_value());
    EXPECT_EQ(p.soldWithoutStops, row.withoutStops);

    // Without passengers nothing is sold, so nothing is missing either.
    ChargeSection nobody = section(row.j, 0, row.season, row.e, row.f);
    nobody.adults = nobody.children = nobody.students = 0;
    EXPECT_FALSE(priceCharge(chargeTables(), nobody).soldWithoutStops);
}

INSTANTIATE_TEST_SUITE_P(
    SeasonOrStops, UnpricedSections,
    ::testing::Values(UnpricedRow{1, "", 3, 10, false}, UnpricedRow{1, "繁忙", 3, 10, false},
                      UnpricedRow{1, "通常期 ", 3, 10, false},
                      UnpricedRow{1, "通常期", 26, 10, true}, UnpricedRow{0, "通常期", 3, 26, true},
                      UnpricedRow{0, "通常期", 999, 10, true},
                      UnpricedRow{2, "通常期", -1, 10, true},
                      UnpricedRow{0, "通常期", -1, -1, true}, UnpricedRow{4, "通常期", 15, 0, true},
                      UnpricedRow{4, "通常期", 0, -1, true}));

TEST(ChargePricing, MarineGreenNeedsANumberDistance) {
    try {
        priceCharge(chargeTables(), section(4, 0, "通常期", 3, 5));
        FAIL() << "no TableValueError";
    } catch (const TableValueError& e) {
        EXPECT_EQ(e.file(), "MKiro.csv");
        EXPECT_EQ(e.arrival(), 5);
        EXPECT_EQ(e.departure(), 3);
        EXPECT_EQ(e.text(), "x");
    }
}

TEST(TableValueError, LongTextIsShortenedInTheMessageOnly) {
    const std::string text = std::string(38, '9') + "あいう" + std::string(1000000, 'z');
    const TableValueError e("Ekiro.csv", 1, 2, text);
    EXPECT_EQ(e.text(), text);
    EXPECT_EQ(std::string(e.what()), "運賃表 Ekiro.csv の値 (着 1, 発 2) \"" +
                                         std::string(38, '9') + "あい…\" が数値ではありません");
}

}  // namespace
}  // namespace kippurun
