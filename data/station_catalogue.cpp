#include "data/station_catalogue.h"

namespace kippurun {

namespace {

// Two-character names carry two ideographic spaces (U+3000) so that every key
// caption has the same width; the keys copy their captions from these texts.
constexpr std::array<std::string_view, StationCount> kNames = {
    "岡　　山", "大　　元", "備前西市", "妹　　尾", "備中箕島", "早　　島",  // 0-5
    "久々原",   "茶屋町",   "植　　松", "木　　見", "上の町",   "児　　島",  // 6-11
    "(讃)高松", "香　　西", "鬼　　無", "端　　岡", "国　　分", "讃岐府中",  // 12-17
    "鴨　　川", "八十場",   "坂　　出", "宇多津",   "丸　　亀", "讃岐塩屋",  // 18-23
    "多度津",   "海岸寺",   "詫　　間", "み　　の", "高　　瀬", "比地大",    // 24-29
    "本　　山", "観音寺",   "豊　　浜", "箕　　浦", "川之江",   "伊予三島",  // 30-35
    "伊予寒川", "赤　　星", "伊予土居", "関　　川", "多喜浜",   "新居浜",    // 36-41
    "中　　萩", "伊予西条", "石鎚山",   "伊予氷見", "伊予小松", "玉之江",    // 42-47
    "壬生川",   "伊予三芳", "伊予桜井", "伊予富田", "今　　治", "波止浜",    // 48-53
    "波　　方", "大　　西", "伊予亀岡", "菊　　間", "浅　　海", "大　　浦",  // 54-59
    "伊予北条", "柳　　原", "粟　　井", "光洋台",   "堀　　江", "伊予和気",  // 60-65
    "三津浜",   "松　　山", "市　　坪", "北伊予",   "伊予横田", "鳥ノ木",    // 66-71
    "伊予市",   "向井原",   "伊予大平", "伊予中山", "伊予立川", "内　　子",  // 72-77
    "五十崎",   "喜多山",   "新　　谷", "高野川",   "伊予上灘", "下　　灘",  // 78-83
    "串",       "喜多灘",   "伊予長浜", "伊予出石", "伊予白滝", "八多喜",    // 84-89
    "春　　賀", "五　　郎", "伊予大洲", "西大洲",   "伊予平野", "千　　丈",  // 90-95
    "八幡浜",   "双　　岩", "伊予石城", "上宇和",   "卯之町",   "下宇和",    // 96-101
    "立　　間", "伊予吉田", "高　　光", "北宇和島", "宇和島",                // 102-106
};

constexpr std::array<int, ExpressStopCount> kExpressStops = {
    0,  11, 12, 20, 21, 22, 24, 26, 28, 31, 34,  35,  41,
    43, 48, 52, 60, 67, 72, 75, 77, 92, 96, 100, 103, 106,
};

constexpr std::array<int, MarineStopCount> kMarineStops = {
    0, 1, 3, 5, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 20,
};

template <std::size_t N>
constexpr std::array<int, StationCount> inverseOf(const std::array<int, N>& stops) {
    std::array<int, StationCount> index{};
    for (int& i : index) i = NotSet;
    for (std::size_t i = 0; i < N; ++i)
        index[static_cast<std::size_t>(stops[i])] = static_cast<int>(i);
    return index;
}

constexpr std::array<int, StationCount> kExpressIndex = inverseOf(kExpressStops);
constexpr std::array<int, StationCount> kMarineIndex = inverseOf(kMarineStops);

constexpr bool isStation(int station) { return station >= 0 && station < StationCount; }

}  // namespace

const std::array<std::string_view, StationCount>& stationNames() { return kNames; }
const std::array<int, ExpressStopCount>& ExpressStopList() { return kExpressStops; }
const std::array<int, MarineStopCount>& MarineStopList() { return kMarineStops; }

std::optional<std::string_view> stationName(int station) {
    if (!isStation(station)) return std::nullopt;
    return kNames[static_cast<std::size_t>(station)];
}

int expressIndexOf(int station) {
    return isStation(station) ? kExpressIndex[static_cast<std::size_t>(station)] : NotSet;
}

int marineIndexOf(int station) {
    return isStation(station) ? kMarineIndex[static_cast<std::size_t>(station)] : NotSet;
}

int stationOfExpressStop(int index) {
    if (index < 0 || index >= ExpressStopCount) return NotSet;
    return kExpressStops[static_cast<std::size_t>(index)];
}

int stationOfMarineStop(int index) {
    if (index < 0 || index >= MarineStopCount) return NotSet;
    return kMarineStops[static_cast<std::size_t>(index)];
}

}  // namespace kippurun
