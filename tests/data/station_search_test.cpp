#include "data/station_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/station_catalogue.h"
#include "data/station_readings.h"

namespace kippurun {
namespace {

std::vector<std::string> catalogue() { return {stationNames().begin(), stationNames().end()}; }

bool hiraganaOnly(std::string_view text) {
    // Every hiragana is three bytes, E3 81 81 (ぁ) to E3 82 96 (ゖ).
    if (text.empty() || text.size() % 3) return false;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        const auto b1 = static_cast<unsigned char>(text[i + 1]);
        const auto b2 = static_cast<unsigned char>(text[i + 2]);
        if (static_cast<unsigned char>(text[i]) != 0xE3) return false;
        if (!((b1 == 0x81 && b2 >= 0x81) || (b1 == 0x82 && b2 <= 0x96))) return false;
    }
    return true;
}

TEST(StationReadings, EveryStationHasOneInHiraganaAndNoTwoAreEqual) {
    std::set<std::string_view> seen;
    for (int station = 0; station < StationCount; ++station) {
        const StationReading& r = stationReadings()[static_cast<std::size_t>(station)];
        SCOPED_TRACE(station);
        EXPECT_TRUE(hiraganaOnly(r.kana)) << r.kana;
        EXPECT_TRUE(seen.insert(r.kana).second) << r.kana;
        // A reading without the province is only for a name that has one,
        // and is the end of the whole reading.
        const std::string_view name = stationNames()[static_cast<std::size_t>(station)];
        const bool province = name.starts_with("伊予") || name.starts_with("讃岐");
        EXPECT_EQ(!r.shortKana.empty(), province && name != "伊予市");
        if (!r.shortKana.empty()) {
            EXPECT_TRUE(hiraganaOnly(r.shortKana));
            EXPECT_TRUE(r.kana.ends_with(r.shortKana)) << r.kana;
        }
    }
    // Nor does a reading without the province equal another station's reading.
    for (const StationReading& r : stationReadings()) {
        if (!r.shortKana.empty()) {
            EXPECT_FALSE(seen.count(r.shortKana)) << r.shortKana;
        }
    }
}

TEST(Hepburn, SpellsTheReadings) {
    struct Row {
        const char* kana;
        const char* spelled;
        const char* once;
    } rows[] = {
        {"まつやま", "matsuyama", "matsuyama"},
        {"うわじま", "uwajima", "uwajima"},
        {"こうざい", "kouzai", "kozai"},
        {"おおず", "oozu", "ozu"},
        {"いよおおひら", "iyooohira", "iyoohira"},  // よ+お is no long vowel
        {"かみのちょう", "kaminochou", "kaminocho"},
        {"にゅうがわ", "nyuugawa", "nyugawa"},
        {"びっちゅうみしま", "bitchuumishima", "bitchumishima"},
        {"ちゃやまち", "chayamachi", "chayamachi"},
        {"いしづちやま", "ishizuchiyama", "ishizuchiyama"},
        {"かんおんじ", "kanonji", "kanonji"},
        {"ふたいわ", "futaiwa", "futaiwa"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(hepburn(row.kana), row.spelled) << row.kana;
        EXPECT_EQ(hepburn(row.kana, true), row.once) << row.kana;
    }
}

TEST(FindStations, TheFirstFoundForWhatTheClerkTypes) {
    struct Row {
        const char* typed;
        int first;  // -1: nothing found
    } rows[] = {
        {"uwajima", 106},   {"uwa", 106},       {"matsu", 67},      {"MATSU", 67},
        {"ｍａｔｓｕ", 67}, {"まつ", 67},       {"マツヤマ", 67},   {"saijo", 43},
        {"saijou", 43},     {"saijō", 43},      {"iyosai", 43},     {"さいじょう", 43},
        {"ozu", 92},        {"oozu", 92},       {"ohzu", -1},       {"kannonji", 31},
        {"kan'onji", 31},   {"kanonji", 31},    {"tyayamati", 7},   {"sikoku", -1},
        {"bicchu", 4},      {"bitchu", 4},      {"nyuga", 48},      {"niyu", -1},
        {"67", 67},         {"６７", 67},       {"067", 67},        {"6", 6},
        {"0", 0},           {"107", -1},        {"", -1},           {"  ", -1},
        {"67a", -1},        {"\xff\xfe", -1},   {"ma\xe3\x81", -1}, {"\xe3\x81\xbe\xe3", -1},
        {"松山", -1},       {"ま\u30fcつ", 67}, {"iyoshi", 72},     {"takamatsu", 12},
        {"ta", 12},         {"sa", 17},         {"ma", 22},
    };
    const std::vector<std::string> names = catalogue();
    for (const Row& row : rows) {
        const std::vector<int> found = findStations(names, row.typed);
        SCOPED_TRACE(row.typed);
        if (row.first < 0) {
            EXPECT_TRUE(found.empty());
        } else {
            ASSERT_FALSE(found.empty());
            EXPECT_EQ(found.front(), row.first);
        }
    }
    // The list narrows in list order: every 伊予 station, and only they.
    const std::vector<int> iyo = findStations(names, "iyo");
    for (int station : iyo) EXPECT_TRUE(names[std::size_t(station)].starts_with("伊予"));
    EXPECT_EQ(iyo.size(), 25u);
    EXPECT_TRUE(std::is_sorted(iyo.begin(), iyo.end()));
}

TEST(FindStations, AChargeListOfExpressStopsFindsByTheStationNumber) {
    std::vector<std::string> stops;
    for (int station : ExpressStopList()) stops.emplace_back(*stationName(station));
    EXPECT_EQ(findStations(stops, "matsuyama"), std::vector<int>{17});
    EXPECT_EQ(findStations(stops, "67"), std::vector<int>{17});  // 松山's number, not position
    EXPECT_TRUE(findStations(stops, "13").empty());              // 香西 is no express stop
    EXPECT_TRUE(findStations({"なし", "岡　山"}, "o").empty());  // not catalogue names
}

TEST(FindStations, NinetyFivePercentWithinFourCharactersAndEnter) {
    const std::vector<std::string> names = catalogue();
    int romaji = 0, kana = 0;
    for (int station = 0; station < StationCount; ++station) {
        const int letters = charactersToReach(names, station, Typing::Romaji);
        const int kanaChars = charactersToReach(names, station, Typing::Kana);
        // Every station is found some way, and its whole reading always finds it.
        EXPECT_GT(letters, 0) << station;
        EXPECT_GT(kanaChars, 0) << station;
        romaji += letters <= 4;
        kana += kanaChars <= 4;
    }
    EXPECT_GE(kana * 100, 95 * StationCount);
    // Rōmaji needs more letters than kana: the README gives both figures.
    EXPECT_GE(romaji * 100, 85 * StationCount);
    EXPECT_EQ(charactersToReach(names, 67, Typing::Romaji), 3);  // "mat"
    EXPECT_EQ(charactersToReach(names, 200, Typing::Kana), 0);
}

}  // namespace
}  // namespace kippurun
