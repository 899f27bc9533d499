#include "fare/passenger_pricing.h"

#include "fare/yen.h"

#include <gtest/gtest.h>

#include "fare/table_value_error.h"
#include "pricing_tables.h"

namespace kippurun {
namespace {

using testing::chosenTable;
using testing::positionTable;

// Each table has its own base, so a price from the wrong table shows.
FareTables positionTables() {
    FareTables t;
    t.Otona = positionTable(107, 0);
    t.Kodomo = positionTable(107, 100000);
    t.Gakuwari = positionTable(107, 200000);
    t.Kai6 = positionTable(107, 300000);
    t.Kai6K = positionTable(107, 400000);
    t.Jiyukai = positionTable(26, 500000);
    t.JiyuKaiK = positionTable(26, 600000);
    return t;
}

PassengerJourney journey(int k, int d1 = 0, int a1 = 67, int e = 3, int f = 10) {
    PassengerJourney j;
    j.k = k;
    j.d1 = d1;
    j.a1 = a1;
    j.e = e;
    j.f = f;
    return j;
}

struct PriceRow {
    int k;
    const char *adult, *child, *student;
};

class PassengerRows : public ::testing::TestWithParam<PriceRow> {};

// 岡山 (0) to 松山 (67) is cell 67 x 107 + 0 = 7169; express stops 3 -> 10 cell 263.
TEST_P(PassengerRows, PricesFromTheRightTableCells) {
    const PriceRow row = GetParam();
    const auto prices = pricePassenger(positionTables(), journey(row.k));
    ASSERT_TRUE(prices.has_value());
    EXPECT_EQ(prices->adult, row.adult);
    EXPECT_EQ(prices->child, row.child);
    EXPECT_EQ(prices->student, row.student);
}

INSTANTIATE_TEST_SUITE_P(EveryType, PassengerRows,
                         ::testing::Values(PriceRow{0, "7169", "107169", "207169"},
                                           PriceRow{1, "14338", "214338", "414338"},
                                           PriceRow{3, "71690", "1071690", "0"},
                                           PriceRow{4, "307169", "407169", "0"},
                                           PriceRow{5, "500263", "600263", "0"},
                                           PriceRow{6, "71690", "1071690", "0"}));

TEST(PassengerPricing, StoredPricesAreCopiedAndComputedOnesReadAsAmounts) {
    FareTables t;
    t.Otona = chosenTable(107, {{{67, 0}, "01230"}});
    t.Kodomo = chosenTable(107, {{{67, 0}, "610円"}});
    t.Kai6 = chosenTable(107, {{{67, 0}, "abc"}});
    t.Kai6K = chosenTable(107, {{{67, 0}, "1,230"}});
    EXPECT_EQ(pricePassenger(t, journey(0))->adult, "01230");
    EXPECT_EQ(pricePassenger(t, journey(0))->child, "610円");
    EXPECT_EQ(pricePassenger(t, journey(1))->adult, "2460");
    EXPECT_EQ(pricePassenger(t, journey(4))->adult, "abc");
    EXPECT_EQ(pricePassenger(t, journey(4))->child, "1,230");
    EXPECT_EQ(pricePassenger(t, journey(4))->childYen.value(), 1230);
    // A cell with a unit is no amount: its return price sells to no one.
    const Yen childReturn = pricePassenger(t, journey(1))->childYen;
    EXPECT_FALSE(childReturn.isAmount());
    EXPECT_THROW(childReturn.subtotal(1), TableValueError);
}

TEST(PassengerPricing, StudentFaresBeforeTheStudentKeyAreEmptyOrZero) {
    FareTables t = positionTables();
    t.Gakuwari = Table();
    EXPECT_EQ(pricePassenger(t, journey(0))->student, "");
    EXPECT_EQ(pricePassenger(t, journey(1))->student, "0");
}

TEST(PassengerPricing, ElevenTicketAndWeekendCouponsAreEqual) {
    const FareTables t = positionTables();
    for (const auto& [d1, a1] : {std::pair{0, 67}, {67, 0}, {12, 12}, {106, 3}}) {
        const auto eleven = pricePassenger(t, journey(3, d1, a1));
        const auto weekend = pricePassenger(t, journey(6, d1, a1));
        ASSERT_TRUE(eleven && weekend);
        EXPECT_EQ(eleven->adult, weekend->adult);
        EXPECT_EQ(eleven->child, weekend->child);
        EXPECT_EQ(eleven->adult, std::to_string(10 * (a1 * 107 + d1)));
    }
}

TEST(PassengerPricing, ExpressCouponFollowsTheChargeStopsNotTheJourney) {
    const FareTables t = positionTables();
    const auto base = pricePassenger(t, journey(5, 0, 67, 3, 10));
    EXPECT_EQ(pricePassenger(t, journey(5, 5, 90, 3, 10))->adult, base->adult);
    // A journey off the station list does not matter either.
    EXPECT_EQ(pricePassenger(t, journey(5, 999, -1, 3, 10))->adult, base->adult);
    EXPECT_EQ(pricePassenger(t, journey(5, 0, 67, 10, 3))->adult, "500088");
}

struct ContinuousRow {
    const char *km1, *km2, *student;
};

class ContinuousStudentRule : public ::testing::TestWithParam<ContinuousRow> {};

// Section 1 is 0 -> 67, section 2 is 67 -> 80. The swapped cells hold other
// values, so a look-up with arrival and departure swapped changes the result.
TEST_P(ContinuousStudentRule, DiscountsOnlySectionsOver100Km) {
    const ContinuousRow row = GetParam();
    FareTables t;
    t.Otona = chosenTable(107, {{{67, 0}, "1000"}, {{80, 67}, "2000"}}, "9999999");
    t.Kodomo = chosenTable(107, {{{67, 0}, "500"}, {{80, 67}, "1000"}}, "9999999");
    t.Gakuwari = chosenTable(107, {{{67, 0}, "800"}, {{80, 67}, "1600"}}, "9999999");
    t.Ekiro = chosenTable(
        107, {{{67, 0}, row.km1}, {{80, 67}, row.km2}, {{0, 67}, "500"}, {{67, 80}, "0"}}, "x");
    PassengerJourney j = journey(2);
    j.d2 = 67;
    j.a2 = 80;
    const auto prices = pricePassenger(t, j);
    ASSERT_TRUE(prices.has_value());
    EXPECT_EQ(prices->adult, "3000");
    EXPECT_EQ(prices->child, "1500");
    EXPECT_EQ(prices->student, row.student);
}

INSTANTIATE_TEST_SUITE_P(FourCases, ContinuousStudentRule,
                         ::testing::Values(ContinuousRow{"120", "100", "2800"},
                                           ContinuousRow{"100", "100", "0"},
                                           ContinuousRow{"100", "120", "2600"},
                                           ContinuousRow{"120", "120", "2400"},
                                           ContinuousRow{" 100.5 ", "99", "2800"}));

struct StrictRow {
    int k;
    const char* file;  // the table holding "bad" at the looked-up cell
    int arrival, departure;
};

class StrictReadings : public ::testing::TestWithParam<StrictRow> {};

TEST_P(StrictReadings, NonNumberNamesFileAndCell) {
    const StrictRow row = GetParam();
    FareTables t;
    t.Otona = positionTable(107);
    t.Kodomo = positionTable(107);
    t.Ekiro = chosenTable(107, {}, "150");
    const std::string file = row.file;
    Table& bad = file == "Otona.csv" ? t.Otona : file == "Kodomo.csv" ? t.Kodomo : t.Ekiro;
    bad = chosenTable(107, {{{row.arrival, row.departure}, "7a"}}, "150");
    PassengerJourney j = journey(row.k);
    j.d2 = 67;
    j.a2 = 80;
    // A fare cell that is no amount is priced and refused where a bill
    // line sells it; a distance read strictly stops the pricing itself.
    try {
        const auto prices = pricePassenger(t, j);
        ASSERT_TRUE(prices);
        prices->adultYen.subtotal(1);
        prices->childYen.subtotal(1);
        FAIL() << "no TableValueError";
    } catch (const TableValueError& e) {
        EXPECT_EQ(e.file(), row.file);
        EXPECT_EQ(e.arrival(), row.arrival);
        EXPECT_EQ(e.departure(), row.departure);
        EXPECT_EQ(e.text(), "7a");
    }
}

INSTANTIATE_TEST_SUITE_P(CouponsAndDistances, StrictReadings,
                         ::testing::Values(StrictRow{3, "Otona.csv", 67, 0},
                                           StrictRow{6, "Kodomo.csv", 67, 0},
                                           StrictRow{2, "Ekiro.csv", 67, 0},
                                           StrictRow{2, "Ekiro.csv", 80, 67}));

TEST(PassengerPricing, ACouponFromNoAmountIsRefusedInJapaneseWhenSold) {
    FareTables t;
    t.Otona = chosenTable(107, {{{67, 0}, "abc"}}, "100");
    t.Ekiro = chosenTable(107, {{{67, 0}, "abc"}}, "100");
    try {
        pricePassenger(t, journey(3))->adultYen.subtotal(1);
        FAIL() << "no TableValueError";
    } catch (const TableValueError& e) {
        EXPECT_STREQ(
            e.what(),
            "運賃表 Otona.csv の値番号 7169 (着 67, 発 0) \"abc\" "
            "に数字でない文字「a」があります。金額は数字だけで書きます（単位や記号は付けません）");
    }
    // Without passengers nothing is sold, so nothing is refused.
    EXPECT_EQ(pricePassenger(t, journey(3))->adultYen.subtotal(0).text(), "0");
    t.Otona = Table();
    EXPECT_THROW(pricePassenger(t, journey(6))->adultYen.subtotal(2), TableValueError);
    // A distance is still read strictly.
    PassengerJourney continuous = journey(2);
    continuous.d2 = 67;
    continuous.a2 = 80;
    try {
        pricePassenger(t, continuous);
        FAIL() << "no TableValueError";
    } catch (const TableValueError& e) {
        EXPECT_STREQ(e.what(), "運賃表 Ekiro.csv の値 (着 67, 発 0) \"abc\" が数値ではありません");
    }
}

TEST(PassengerPricing, OutOfRangeTypeOrStationPricesNothing) {
    const FareTables t = positionTables();
    for (const int k : {-1, 7, 999}) {
        EXPECT_FALSE(pricePassenger(t, journey(k))) << k;
    }
    EXPECT_FALSE(pricePassenger(t, journey(0, 0, 107)));
    EXPECT_FALSE(pricePassenger(t, journey(1, -1, 67)));
    EXPECT_FALSE(pricePassenger(t, journey(4, 999, 67)));
    EXPECT_FALSE(pricePassenger(t, journey(5, 0, 67, 26, 10)));
    EXPECT_FALSE(pricePassenger(t, journey(5, 0, 67, 3, 999)));
    PassengerJourney j = journey(2);
    j.d2 = 67;
    j.a2 = 107;
    EXPECT_FALSE(pricePassenger(t, j));
    // The express-coupon stops matter to the express coupon alone.
    EXPECT_TRUE(pricePassenger(t, journey(0, 0, 67, 999, 999)));
}

TEST(SubtotalText, MultipliesTheCellsAmountByTheCount) {
    const Table t = testing::chosenTable(
        2, {{{0, 0}, "2460"}, {{0, 1}, ""}, {{1, 0}, "abc"}, {{1, 1}, " 600,000 "}});
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 0, 0).subtotal(2).text(), "4920");
    // A cell without an amount is sold to no one; without passengers it is 0.
    EXPECT_THROW(Yen::fromCell(t, "Otona.csv", 0, 1).subtotal(3).text(), TableValueError);
    EXPECT_THROW(Yen::fromCell(t, "Otona.csv", 1, 0).subtotal(5).text(), TableValueError);
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 0, 1).subtotal(0).text(), "0");
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 1, 0).subtotal(0).text(), "0");
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 0, 0).subtotal(0).text(), "0");
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 1, 1).subtotal(2).text(), "1200000");
    const Table withUnit = testing::chosenTable(1, {{{0, 0}, "600000円"}});
    EXPECT_THROW(Yen::fromCell(withUnit, "Otona.csv", 0, 0).subtotal(1), TableValueError);
}

// Amounts stay exact far beyond what a double holds, and what cannot be
// held stops the pricing with a message naming the cell.
TEST(ExactMoney, LargeFaresMultiplyExactly) {
    const Table t = testing::chosenTable(1, {{{0, 0}, "999999999999"}});
    EXPECT_EQ(Yen::fromCell(t, "Otona.csv", 0, 0).subtotal(9999).text(), "9998999999990001");
}

TEST(ExactMoney, AFractionOrAHugeFareStopsWithTheCellNamed) {
    for (const char* text : {"160.5", "1e308", "99999999999999999999", "0.001", "1000000000000"}) {
        SCOPED_TRACE(text);
        const Table t = testing::chosenTable(3, {{{2, 1}, text}}, "0");
        try {
            Yen::fromCell(t, "Otona.csv", 2, 1).subtotal(1);
            ADD_FAILURE() << "no error";
        } catch (const TableValueError& e) {
            EXPECT_EQ(e.file(), "Otona.csv");
            EXPECT_EQ(e.arrival(), 2);
            EXPECT_EQ(e.departure(), 1);
            EXPECT_NE(std::string(e.what()).find(text), std::string::npos);
        }
    }
}

TEST(ExactMoney, ProductsAndSumsBeyond64BitsStop) {
    const Table t = testing::chosenTable(1, {{{0, 0}, "999999999999"}});
    const Yen cell = Yen::fromCell(t, "Kansan.csv", 0, 0);
    const Yen big = cell.times(4'000'000);
    EXPECT_EQ(big.text(), "3999999999996000000");
    EXPECT_THROW(cell.times(10'000'000), TableValueError);
    EXPECT_THROW(big.plus(big).plus(big), TableValueError);
    try {
        Yen::fixed(5).plus(big.times(2)).plus(big);
        ADD_FAILURE() << "no error";
    } catch (const TableValueError& e) {
        EXPECT_EQ(e.file(), "Kansan.csv");
    }
}

TEST(ExactMoney, ReturnAndCouponPricesOfLargeFaresAreExact) {
    FareTables t = positionTables();
    t.Otona = testing::chosenTable(107, {{{67, 0}, "999,999,999,999"}}, "0");
    t.Kodomo = testing::chosenTable(107, {{{67, 0}, "999999999997"}}, "0");
    const auto ret = pricePassenger(t, journey(1));
    ASSERT_TRUE(ret);
    EXPECT_EQ(ret->adult, "1999999999998");
    EXPECT_EQ(ret->child, "1999999999994");
    const auto coupon = pricePassenger(t, journey(3));
    ASSERT_TRUE(coupon);
    EXPECT_EQ(coupon->adult, "9999999999990");
    EXPECT_EQ(coupon->adultYen.subtotal(9999).text(), "99989999999900010");
    t.Otona = testing::chosenTable(107, {{{67, 0}, "1e18"}}, "0");
    EXPECT_THROW(pricePassenger(t, journey(3))->adultYen.subtotal(1), TableValueError);
}

}  // namespace
}  // namespace kippurun
