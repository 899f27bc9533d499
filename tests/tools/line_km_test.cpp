#include "tools/line_km.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "data/station_catalogue.h"

namespace kippurun::tools {
namespace {

TEST(LineKm, TableAgreesWithTheCatalogue) { EXPECT_NO_THROW(checkLineTable()); }

struct Leg {
    int a, b;
    int tenths;
    const char* why;
};

// Expected values worked out by hand from the kilometre posts.
TEST(LineKm, DistancesFollowTheLine) {
    const Leg legs[] = {
        {0, 20, 497, "岡山–坂出 over the bridge"},
        {0, 12, 710, "岡山–(讃)高松 through 坂出"},
        {12, 16, 121, "(讃)高松–国分 along the branch"},
        {11, 13, 382, "児島–香西 through 坂出"},
        {21, 12, 259, "宇多津–(讃)高松 back through 坂出"},
        {67, 92, 472, "松山–伊予大洲 inland"},
        {67, 86, 391, "松山–伊予長浜 by the coast"},
        {67, 91, 538, "松山–五郎 by the coast, not round by 内子"},
        {106, 81, 836, "宇和島–高野川 entered at 伊予大洲"},
        {77, 86, 282, "内子–伊予長浜 through 伊予大洲, the shorter end"},
        {74, 81, 93, "伊予大平–高野川 through 向井原, the shorter end"},
        {86, 91, 147, "伊予長浜–五郎 along the coast"},
        {12, 106, 2856, "(讃)高松–宇和島"},
        {0, 106, 3140, "岡山–宇和島, the longest journey"},
    };
    for (const Leg& leg : legs) {
        EXPECT_EQ(distanceTenths(leg.a, leg.b), leg.tenths) << leg.why;
        EXPECT_EQ(distanceTenths(leg.b, leg.a), leg.tenths) << leg.why << " (reversed)";
    }
}

TEST(LineKm, SymmetricAndZeroOnlyForTheSameStation) {
    for (int a = 0; a < StationCount; ++a)
        for (int b = 0; b < StationCount; ++b) {
            const int d = distanceTenths(a, b);
            ASSERT_EQ(d, distanceTenths(b, a)) << a << " " << b;
            ASSERT_EQ(d == 0, a == b) << a << " " << b;
            ASSERT_LE(d, 3140) << a << " " << b;
        }
}

TEST(LineKm, PartKilometresCountAsWhole) {
    EXPECT_EQ(distanceKm(0, 1), 3);     // 2.5 km
    EXPECT_EQ(distanceKm(0, 20), 50);   // 49.7 km
    EXPECT_EQ(distanceKm(0, 92), 270);  // exactly 270.0 km
    EXPECT_EQ(distanceKm(5, 5), 0);
}

TEST(LineKm, StationsOutsideTheCatalogueAreRefused) {
    EXPECT_THROW(distanceTenths(-1, 0), std::out_of_range);
    EXPECT_THROW(distanceTenths(0, StationCount), std::out_of_range);
    EXPECT_THROW(distanceKm(NotSet, 0), std::out_of_range);
}

}  // namespace
}  // namespace kippurun::tools
