#include "fare/determinations.h"

#include <gtest/gtest.h>

#include "pricing_tables.h"

namespace kippurun {
namespace {

using testing::chosenTable;

struct StopCase {
    int departure, arrival;
    int departureStop, arrivalStop;
    bool allowed;
};

// Journeys over the 岡山 – 宇和島 line and the express stops they map to.
TEST(ExpressStops, JourneysMapToStopsAndAllowExpressOnlyWhenTheyMoveOn) {
    const StopCase cases[] = {
        {1, 2, 1, 0, false},      // 大元 -> 備前西市: both ends fall to 岡山/児島
        {0, 11, 0, 1, true},      // 岡山 -> 児島
        {0, 16, 0, 3, true},      // 岡山 -> 国分: 坂出
        {12, 16, 2, 2, false},    // (讃)高松 -> 国分: (讃)高松 both
        {16, 12, 2, 2, false},    // 国分 -> (讃)高松
        {67, 86, 17, 18, true},   // 松山 -> 伊予長浜: 伊予市
        {86, 106, 21, 25, true},  // 伊予長浜 -> 宇和島: 伊予大洲
        {106, 86, 25, 21, true},  // 宇和島 -> 伊予長浜
        {77, 86, 20, 18, false},  // 内子 -> 伊予長浜: behind the start
        {5, 5, 0, 1, false},      // the same station runs up
        {67, 67, 17, 17, false},  // the same stop
        {106, 0, 25, 0, true},    // 宇和島 -> 岡山
        {20, 13, 3, 3, false},    // 坂出 -> 香西
        {13, 20, 3, 3, false},    // 香西 -> 坂出
        {80, 92, 21, 21, false},  // 新谷 -> 伊予大洲
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.departure) + " -> " + std::to_string(c.arrival));
        const StopPlan plan = expressStops(c.departure, c.arrival);
        EXPECT_EQ(plan.down, c.departure < c.arrival);
        EXPECT_EQ(plan.departure, c.departureStop);
        EXPECT_EQ(plan.arrival, c.arrivalStop);
        EXPECT_EQ(expressAllowed(plan.down, plan.departure, plan.arrival), c.allowed);
    }
}

TEST(ExpressStops, UpperAndLowerStopOfEveryStationFollowTheStopList) {
    for (int station = 0; station < StationCount; ++station) {
        SCOPED_TRACE(station);
        const int upper = expressUpperStop(station);
        ASSERT_NE(upper, NotSet);
        EXPECT_GE(stationOfExpressStop(upper), station);
        if (upper > 0) {
            EXPECT_LT(stationOfExpressStop(upper - 1), station);
        }
        const int lower = expressLowerStop(station, 0);
        if (station >= 13 && station <= 19) {
            EXPECT_EQ(lower, 3);
            EXPECT_EQ(expressLowerStop(station, 12), 2);
        } else if (station >= 81 && station <= 91) {
            EXPECT_EQ(lower, 18);
        } else {
            EXPECT_LE(stationOfExpressStop(lower), station);
            if (lower + 1 < ExpressStopCount) {
                EXPECT_GT(stationOfExpressStop(lower + 1), station);
            }
        }
    }
}

TEST(ExpressStops, NoStationSelectedLeavesThatEndUnchanged) {
    EXPECT_EQ(expressUpperStop(-1), NotSet);
    EXPECT_EQ(expressLowerStop(107, 0), NotSet);
    const StopPlan plan = expressStops(-1, 67);
    EXPECT_EQ(plan.departure, NotSet);
    EXPECT_EQ(plan.arrival, 17);
    EXPECT_EQ(expressStops(0, -1).arrival, NotSet);
}

// Every example journey of the マリン line with the stops it selects.
TEST(MarineStops, JourneysMapToTheTrainsStops) {
    const StopCase cases[] = {
        {0, 12, 0, 9, true},     // 岡山 -> (讃)高松
        {12, 0, 9, 0, true},     // (讃)高松 -> 岡山
        {2, 11, 2, 8, true},     // 備前西市 -> 児島: 妹尾
        {11, 2, 8, 2, true},     // 児島 -> 備前西市: 妹尾
        {0, 13, 0, 10, true},    // 岡山 -> 香西: 鬼無
        {12, 13, 9, 9, true},    // (讃)高松 -> 香西
        {13, 0, 10, 0, true},    // 香西 -> 岡山: 鬼無
        {13, 12, 9, 9, true},    // 香西 -> (讃)高松
        {17, 11, 13, 8, true},   // 讃岐府中 -> 児島: 鴨川
        {17, 14, 12, 10, true},  // 讃岐府中 -> 鬼無: 国分
        {19, 0, 14, 0, true},    // 八十場 -> 岡山: 坂出
        {0, 19, 0, 14, true},    // 岡山 -> 八十場
        {2, 2, 2, 1, true},      // the same station counts as down
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.departure) + " -> " + std::to_string(c.arrival));
        const StopPlan plan = marineStops(c.departure, c.arrival);
        EXPECT_EQ(plan.down, c.departure <= c.arrival);
        EXPECT_EQ(plan.departure, c.departureStop);
        EXPECT_EQ(plan.arrival, c.arrivalStop);
    }
}

TEST(MarineStops, StationsBeyondSakaideHaveNoStop) {
    EXPECT_EQ(marineUpperStop(21), NotSet);
    EXPECT_EQ(marineLowerStop(21, 0), NotSet);
    EXPECT_EQ(marineUpperStop(-1), NotSet);
    const StopPlan plan = marineStops(0, 21);  // 岡山 -> 宇多津
    EXPECT_EQ(plan.departure, 0);
    EXPECT_EQ(plan.arrival, NotSet);
    EXPECT_EQ(marineUpperStop(20), 14);
}

TEST(PermissionTables, FlagsAreNumbersAndNonZeroAllows) {
    const struct {
        const char* cell;
        bool allows;
    } cases[] = {{"1", true}, {"0", false}, {"2", true},   {"0.0", false}, {"-1", true},
                 {"", false}, {"x", false}, {"1x", false}, {" 1 ", true}};
    for (const auto& c : cases) EXPECT_EQ(flagAllows(c.cell), c.allows) << '"' << c.cell << '"';
}

TEST(PermissionTables, LookUpsNameTheArrivalFirstAndNeverLeaveTheTable) {
    FareTables t;
    t.GHan = chosenTable(107, {{{67, 0}, "1"}}, "0");
    t.MHan = chosenTable(107, {{{12, 0}, "1"}}, "0");
    t.JiKaiHan = chosenTable(107, {{{67, 0}, "1"}, {{72, 0}, "01"}}, "0");
    EXPECT_TRUE(studentDiscountAllowed(t, 67, 0));
    EXPECT_FALSE(studentDiscountAllowed(t, 0, 67));
    EXPECT_TRUE(marineAllowed(t, 12, 0));
    EXPECT_FALSE(marineAllowed(t, 0, 12));
    EXPECT_TRUE(expressCouponAllowed(t, 67, 0));
    EXPECT_FALSE(expressCouponAllowed(t, 0, 67));
    EXPECT_FALSE(expressCouponAllowed(t, 72, 0));  // only the exact text "1"
    for (int outside : {-1, 107})
        EXPECT_FALSE(studentDiscountAllowed(t, outside, 0) || marineAllowed(t, 12, outside) ||
                     expressCouponAllowed(t, outside, outside));
}

TEST(PermissionTables, DistanceRuleNeedsStrictlyMoreThan100Km) {
    FareTables t;
    t.Ekiro = chosenTable(
        107, {{{1, 0}, "100"}, {{2, 0}, "100.5"}, {{3, 0}, "abc"}, {{4, 0}, "101"}}, "0");
    EXPECT_FALSE(distanceAllowsStudent(t, 1, 0));
    EXPECT_TRUE(distanceAllowsStudent(t, 2, 0));
    EXPECT_FALSE(distanceAllowsStudent(t, 3, 0));
    EXPECT_TRUE(distanceAllowsStudent(t, 4, 0));
    EXPECT_FALSE(distanceAllowsStudent(t, 0, 4));
}

TEST(PermissionTables, OnlyTheFourExactCouponCodesSetTheKeys) {
    const struct {
        const char* cell;
        bool code, eleven, six;
    } cases[] = {
        {"0", true, false, false}, {"6", true, true, true},      {"11", true, true, false},
        {"60", true, false, true}, {"06", false, false, false},  {" 6", false, false, false},
        {"", false, false, false}, {"6.0", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        const std::optional<CouponKeys> keys = couponKeysFor(c.cell);
        ASSERT_EQ(keys.has_value(), c.code);
        if (keys) {
            EXPECT_EQ(keys->elevenTickets, c.eleven);
            EXPECT_EQ(keys->sixTickets, c.six);
        }
    }
}

TEST(SecondChargeSection, JourneysBetweenTheKojimaStretchAndBeyondIyoshi) {
    EXPECT_TRUE(needsSecondChargeSection(0, 72));
    EXPECT_FALSE(needsSecondChargeSection(0, 67));
    EXPECT_FALSE(needsSecondChargeSection(0, 71));
    EXPECT_TRUE(needsSecondChargeSection(11, 106));
    EXPECT_TRUE(needsSecondChargeSection(106, 11));
    EXPECT_FALSE(needsSecondChargeSection(12, 106));
}

}  // namespace
}  // namespace kippurun
