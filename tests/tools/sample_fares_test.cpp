#include "tools/sample_fares.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace kippurun::tools {
namespace {

TEST(SampleFares, AdultFareBandEdges) {
    const struct {
        int km, yen;
    } cases[] = {{0, 0},     {1, 160},    {3, 160},    {4, 220},    {50, 970},
                 {51, 1110}, {100, 1860}, {101, 2140}, {314, 5610}, {360, 6270}};
    for (const auto& c : cases) EXPECT_EQ(adultFare(c.km), c.yen) << c.km << " km";
    EXPECT_THROW(adultFare(361), std::out_of_range);
    EXPECT_THROW(adultFare(-1), std::out_of_range);
}

TEST(SampleFares, DerivedPricesRoundDownToTenYen) {
    EXPECT_EQ(childPrice(250), 120);  // 125
    EXPECT_EQ(childPrice(160), 80);
    EXPECT_EQ(childPrice(0), 0);
    EXPECT_EQ(studentFare(2140, 101), 1710);  // 1712
    EXPECT_EQ(studentFare(1860, 100), 1860);  // no discount at exactly 100 km
    EXPECT_EQ(sixRideCoupon(160), 860);       // 864
    EXPECT_EQ(sixRideCoupon(1110), 5990);     // 5994
    EXPECT_EQ(expressCoupon(1290, 750), 6120);
}

TEST(SampleFares, GreenChildPaysTheFullSupplement) {
    EXPECT_EQ(greenCharge(80), 980 + 1300);
    EXPECT_EQ(greenChargeChild(80), 490 + 1300);
    EXPECT_EQ(greenChargeChild(0), 0);
}

TEST(SampleFares, CouponCodes) {
    const struct {
        int km;
        bool bridge;
        const char* code;
    } cases[] = {
        {0, false, "0"},   {1, false, "6"}, {60, false, "6"}, {61, false, "11"}, {100, false, "11"},
        {101, false, "0"}, {0, true, "0"},  {22, true, "60"}, {100, true, "60"}, {101, true, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(couponCode(c.km, c.bridge)), c.code)
            << c.km << " km, bridge " << c.bridge;
    EXPECT_TRUE(sellsSixRide("6"));
    EXPECT_TRUE(sellsSixRide("60"));
    EXPECT_FALSE(sellsSixRide("11"));
    EXPECT_FALSE(sellsSixRide("0"));
}

TEST(SampleFares, ExpressCouponWindow) {
    EXPECT_FALSE(inExpressCouponWindow(25));
    EXPECT_TRUE(inExpressCouponWindow(26));
    EXPECT_TRUE(inExpressCouponWindow(200));
    EXPECT_FALSE(inExpressCouponWindow(201));
}

}  // namespace
}  // namespace kippurun::tools
