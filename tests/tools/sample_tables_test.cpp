#include "tools/sample_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/station_catalogue.h"
#include "data/table_files.h"

namespace kippurun::tools {
namespace {

const std::vector<SampleTable>& tables() {
    static const std::vector<SampleTable> all = makeSampleTables();
    return all;
}

int num(std::string_view file, int a, int d) {
    return std::stoi(tableNamed(tables(), file).at(a, d));
}

TEST(SampleTables, EveryFileOfTheListInReadingOrderWithItsShape) {
    ASSERT_EQ(tables().size(), TableFiles.size());
    for (std::size_t i = 0; i < TableFiles.size(); ++i) {
        EXPECT_EQ(tables()[i].fileName, TableFiles[i].fileName());
        EXPECT_EQ(tables()[i].columns, static_cast<int>(TableFiles[i].perLine));
        EXPECT_EQ(tables()[i].values.size(), TableFiles[i].count) << tables()[i].fileName;
    }
}

TEST(SampleTables, FileBytesAreLinesOfCommaSeparatedValuesEndingInCrLf) {
    const SampleTable t{"x.csv", 3, {"1", "22", "333", "4", "5", "6"}};
    EXPECT_EQ(fileBytes(t), "1,22,333\r\n4,5,6\r\n");
    EXPECT_EQ(fileBytes(tableNamed(tables(), "Start.csv")), "0,67\r\n");
}

TEST(SampleTables, DistancesSymmetricAndZeroOnTheDiagonal) {
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) {
            ASSERT_EQ(num("Ekiro.csv", a, d), num("Ekiro.csv", d, a)) << a << " " << d;
            ASSERT_EQ(num("Ekiro.csv", a, d) == 0, a == d) << a << " " << d;
        }
    EXPECT_EQ(num("Ekiro.csv", 67, 0), 223);  // 岡山–松山, 222.8 km
}

TEST(SampleTables, ChildNeverAboveAdult) {
    const char* const pairs[][2] = {{"Otona.csv", "Kodomo.csv"}, {"6Kai.csv", "6KaiK.csv"},
                                    {"Jiyu.csv", "JiyuK.csv"},   {"Kansan.csv", "KansanK.csv"},
                                    {"Tujo.csv", "TujoK.csv"},   {"Hanbo.csv", "HanboK.csv"},
                                    {"Green.csv", "GreenK.csv"}, {"Jiyukai.csv", "JiyuKaiK.csv"}};
    for (const auto& p : pairs) {
        const SampleTable& adult = tableNamed(tables(), p[0]);
        const SampleTable& child = tableNamed(tables(), p[1]);
        for (std::size_t i = 0; i < adult.values.size(); ++i)
            ASSERT_LE(std::stoi(child.values[i]), std::stoi(adult.values[i])) << p[1] << " " << i;
    }
    EXPECT_EQ(num("Kodomo.csv", 67, 0), num("Otona.csv", 67, 0) / 2 / 10 * 10);
}

TEST(SampleTables, StudentFlagAndFaresFollowTheHundredKilometres) {
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) {
            const bool over = num("Ekiro.csv", a, d) > 100;
            ASSERT_EQ(num("GHan.csv", a, d) != 0, over) << a << " " << d;
            if (over)
                ASSERT_LT(num("Gakuwari.csv", a, d), num("Otona.csv", a, d)) << a << " " << d;
            else
                ASSERT_EQ(num("Gakuwari.csv", a, d), num("Otona.csv", a, d)) << a << " " << d;
        }
}

TEST(SampleTables, CouponCodesAllOccurAndGovernTheSixRidePrices) {
    std::set<std::string> seen;
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) {
            const std::string& code = tableNamed(tables(), "KHan.csv").at(a, d);
            seen.insert(code);
            const bool six = code == "6" || code == "60";
            ASSERT_EQ(num("6Kai.csv", a, d) != 0, six) << a << " " << d;
            ASSERT_EQ(num("6KaiK.csv", a, d) != 0, six) << a << " " << d;
        }
    EXPECT_EQ(seen, (std::set<std::string>{"0", "6", "11", "60"}));
    EXPECT_EQ(tableNamed(tables(), "KHan.csv").at(20, 0), "60");  // 岡山–坂出, over the bridge
}

TEST(SampleTables, RapidSeatsBetweenTwoDifferentRapidStops) {
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) {
            const bool bothStops = marineIndexOf(a) != NotSet && marineIndexOf(d) != NotSet;
            EXPECT_EQ(num("MHan.csv", a, d) != 0, bothStops && a != d) << a << " " << d;
        }
    EXPECT_NE(num("MHan.csv", 12, 0), 0);  // 岡山 → (讃)高松
    EXPECT_EQ(num("MHan.csv", 2, 0), 0);   // 備前西市 is no stop of the train
}

TEST(SampleTables, RapidDistancesMatchTheStationDistances) {
    bool shortOnes = false, longOnes = false;
    for (int f = 0; f < MarineStopCount; ++f)
        for (int e = 0; e < MarineStopCount; ++e) {
            const int km = num("MKiro.csv", f, e);
            ASSERT_EQ(km, num("Ekiro.csv", stationOfMarineStop(f), stationOfMarineStop(e)));
            if (f != e) (km <= 50 ? shortOnes : longOnes) = true;
        }
    EXPECT_TRUE(shortOnes);
    EXPECT_TRUE(longOnes);
    EXPECT_EQ(num("MKiro.csv", 14, 0), 50);  // 岡山–坂出: the lower green price
    EXPECT_EQ(num("MKiro.csv", 9, 0), 71);   // 岡山–(讃)高松
}

TEST(SampleTables, ExpressChargesByStopDistance) {
    for (int f = 0; f < ExpressStopCount; ++f)
        for (int e = 0; e < ExpressStopCount; ++e) {
            const int jiyu = num("Jiyu.csv", f, e);
            ASSERT_EQ(jiyu == 0, f == e) << f << " " << e;
            if (f == e) continue;
            ASSERT_LT(jiyu, num("Kansan.csv", f, e));
            ASSERT_LT(num("Kansan.csv", f, e), num("Tujo.csv", f, e));
            ASSERT_LT(num("Tujo.csv", f, e), num("Hanbo.csv", f, e));
            ASSERT_LT(jiyu, num("Green.csv", f, e));
            // Along the trunk a farther stop never charges less ((讃)高松, stop 2, is
            // off the trunk).
            if (e + 1 < f && e != 2 && e + 1 != 2 && f != 2) {
                ASSERT_GE(jiyu, num("Jiyu.csv", f, e + 1)) << f << " " << e;
            }
        }
}

TEST(SampleTables, ExpressCouponsOnlyBetweenExpressStopsAndPriced) {
    int sold = 0;
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) {
            const bool allowed = tableNamed(tables(), "JiKaiHan.csv").at(a, d) == "1";
            const int f = expressIndexOf(a), e = expressIndexOf(d);
            if (f == NotSet || e == NotSet) {
                ASSERT_FALSE(allowed) << a << " " << d;
                continue;
            }
            ASSERT_EQ(num("Jiyukai.csv", f, e) != 0, allowed) << a << " " << d;
            ASSERT_EQ(num("JiyuKaiK.csv", f, e) != 0, allowed) << a << " " << d;
            sold += allowed;
        }
    EXPECT_GT(sold, 0);
    EXPECT_EQ(tableNamed(tables(), "JiKaiHan.csv").at(67, 12), "1");  // (讃)高松–松山
    EXPECT_EQ(tableNamed(tables(), "JiKaiHan.csv").at(67, 0), "0");   // 岡山–松山, too far
}

TEST(SampleTables, StartAndKeyLayout) {
    EXPECT_EQ(num("Start.csv", 0, 0), 0);
    EXPECT_EQ(num("Start.csv", 0, 1), 67);
    const SampleTable& keys = tableNamed(tables(), "Ekimei1.csv");
    std::set<int> stations;
    for (int k = 0; k < 52; ++k) {
        const int s = std::stoi(keys.values[static_cast<std::size_t>(k)]);
        ASSERT_GE(s, 0);
        ASSERT_LT(s, StationCount);
        stations.insert(s);
        ASSERT_EQ(expressIndexOf(s) != NotSet, k < ExpressStopCount) << "key " << k;
    }
    EXPECT_EQ(stations.size(), 52u);
    for (int k = 52; k < 100; ++k) EXPECT_EQ(keys.values[static_cast<std::size_t>(k)], "999");
}

}  // namespace
}  // namespace kippurun::tools
