#include "data/station_catalogue.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace kippurun {
namespace {

struct CatalogueRow {
    int station;
    const char* name;
    int expressIndex;
    int marineIndex;
};

TEST(StationCatalogue, RowsAsListed) {
    const CatalogueRow rows[] = {
        {0, "岡\u3000\u3000山", 0, 0},
        {2, "備前西市", NotSet, NotSet},
        {11, "児\u3000\u3000島", 1, 8},
        {12, "(讃)高松", 2, 9},
        {18, "鴨\u3000\u3000川", NotSet, 13},
        {20, "坂\u3000\u3000出", 3, 14},
        {21, "宇多津", 4, NotSet},
        {67, "松\u3000\u3000山", 17, NotSet},
        {84, "串", NotSet, NotSet},
        {95, "千\u3000\u3000丈", NotSet, NotSet},
        {96, "八幡浜", 22, NotSet},
        {97, "双\u3000\u3000岩", NotSet, NotSet},
        {105, "北宇和島", NotSet, NotSet},
        {106, "宇和島", 25, NotSet},
    };
    for (const CatalogueRow& row : rows) {
        SCOPED_TRACE(row.station);
        EXPECT_EQ(stationName(row.station), std::string_view(row.name));
        EXPECT_EQ(stationNames()[static_cast<std::size_t>(row.station)], row.name);
        EXPECT_EQ(expressIndexOf(row.station), row.expressIndex);
        EXPECT_EQ(marineIndexOf(row.station), row.marineIndex);
    }
}

// Every name is three or four characters wide, but for the one "串"; the
// filler is always two ideographic spaces between two characters.
TEST(StationCatalogue, NamesAreFilledOutAndUnique) {
    std::set<std::string_view> seen;
    for (std::string_view name : stationNames()) {
        seen.insert(name);
        EXPECT_EQ(name.find(' '), std::string_view::npos) << name;
        const std::size_t filler = name.find("\u3000");
        if (filler != std::string_view::npos) {
            EXPECT_EQ(name.size(), 12u) << name;
            EXPECT_EQ(filler, 3u) << name;
            EXPECT_EQ(name.substr(3, 6), "\u3000\u3000") << name;
        } else if (name != "串" && name != "(讃)高松") {
            EXPECT_TRUE(name.size() == 9 || name.size() == 12) << name;
        }
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(StationCount));
}

TEST(StationCatalogue, StopListsAndTheirInverses) {
    int expressStops = 0;
    int marineStops = 0;
    for (int station = 0; station < StationCount; ++station) {
        if (const int i = expressIndexOf(station); i != NotSet) {
            ++expressStops;
            EXPECT_EQ(stationOfExpressStop(i), station);
        }
        if (const int j = marineIndexOf(station); j != NotSet) {
            ++marineStops;
            EXPECT_EQ(stationOfMarineStop(j), station);
        }
    }
    EXPECT_EQ(expressStops, ExpressStopCount);
    EXPECT_EQ(marineStops, MarineStopCount);
    for (int i = 0; i < ExpressStopCount; ++i) {
        EXPECT_EQ(expressIndexOf(ExpressStopList()[static_cast<std::size_t>(i)]), i);
        if (i > 0) {
            EXPECT_LT(stationOfExpressStop(i - 1), stationOfExpressStop(i));
        }
    }
    for (int j = 0; j < MarineStopCount; ++j) {
        EXPECT_EQ(marineIndexOf(MarineStopList()[static_cast<std::size_t>(j)]), j);
        if (j > 0) {
            EXPECT_LT(stationOfMarineStop(j - 1), stationOfMarineStop(j));
        }
    }
    EXPECT_EQ(stationOfMarineStop(MarineStopCount - 1), 20);
}

TEST(StationCatalogue, NumbersOutsideTheCatalogue) {
    for (int n : {-1, StationCount, NotSet, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(stationName(n).has_value());
        EXPECT_EQ(expressIndexOf(n), NotSet);
        EXPECT_EQ(marineIndexOf(n), NotSet);
        EXPECT_EQ(stationOfExpressStop(n), NotSet);
        EXPECT_EQ(stationOfMarineStop(n), NotSet);
    }
    EXPECT_EQ(stationOfExpressStop(ExpressStopCount), NotSet);
    EXPECT_EQ(stationOfMarineStop(MarineStopCount), NotSet);
}

}  // namespace
}  // namespace kippurun
