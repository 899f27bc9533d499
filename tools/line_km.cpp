#include "tools/line_km.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "data/station_catalogue.h"

namespace kippurun::tools {

namespace {

// Kilometre posts close to the real line's, rounded freely: the tables made
// from them are samples, not a tariff.

// Trunk, km from 岡山. Between 向井原 and 伊予大洲 it runs inland by 内子,
// the way the limited expresses take.
constexpr LinePoint kTrunk[] = {
    {0, "岡　　山", 0.0},
    {1, "大　　元", 2.5},
    {2, "備前西市", 4.6},
    {3, "妹　　尾", 8.3},
    {4, "備中箕島", 10.2},
    {5, "早　　島", 12.3},
    {6, "久々原", 13.8},
    {7, "茶屋町", 14.9},
    {8, "植　　松", 17.8},
    {9, "木　　見", 20.1},
    {10, "上の町", 24.1},
    {11, "児　　島", 27.8},
    // 瀬戸大橋
    {20, "坂　　出", 49.7},
    {21, "宇多津", 54.3},
    {22, "丸　　亀", 56.9},
    {23, "讃岐塩屋", 58.7},
    {24, "多度津", 61.1},
    {25, "海岸寺", 65.1},
    {26, "詫　　間", 69.0},
    {27, "み　　の", 72.0},
    {28, "高　　瀬", 74.3},
    {29, "比地大", 76.6},
    {30, "本　　山", 79.2},
    {31, "観音寺", 83.4},
    {32, "豊　　浜", 90.0},
    {33, "箕　　浦", 93.5},
    {34, "川之江", 99.4},
    {35, "伊予三島", 105.4},
    {36, "伊予寒川", 109.4},
    {37, "赤　　星", 112.8},
    {38, "伊予土居", 116.1},
    {39, "関　　川", 120.5},
    {40, "多喜浜", 126.0},
    {41, "新居浜", 130.9},
    {42, "中　　萩", 135.0},
    {43, "伊予西条", 141.7},
    {44, "石鎚山", 144.4},
    {45, "伊予氷見", 147.2},
    {46, "伊予小松", 150.6},
    {47, "玉之江", 153.2},
    {48, "壬生川", 156.3},
    {49, "伊予三芳", 160.4},
    {50, "伊予桜井", 167.6},
    {51, "伊予富田", 170.2},
    {52, "今　　治", 173.3},
    {53, "波止浜", 177.9},
    {54, "波　　方", 180.9},
    {55, "大　　西", 185.3},
    {56, "伊予亀岡", 190.7},
    {57, "菊　　間", 194.6},
    {58, "浅　　海", 200.0},
    {59, "大　　浦", 203.2},
    {60, "伊予北条", 206.9},
    {61, "柳　　原", 209.5},
    {62, "粟　　井", 211.7},
    {63, "光洋台", 213.5},
    {64, "堀　　江", 216.3},
    {65, "伊予和気", 218.6},
    {66, "三津浜", 220.6},
    {67, "松　　山", 222.8},
    {68, "市　　坪", 225.7},
    {69, "北伊予", 227.7},
    {70, "伊予横田", 229.9},
    {71, "鳥ノ木", 231.4},
    {72, "伊予市", 233.9},
    {73, "向井原", 235.3},
    // inland, by 内子
    {74, "伊予大平", 240.6},
    {75, "伊予中山", 251.6},
    {76, "伊予立川", 255.0},
    {77, "内　　子", 258.8},
    {78, "五十崎", 260.3},
    {79, "喜多山", 261.8},
    {80, "新　　谷", 264.1},
    {92, "伊予大洲", 270.0},
    {93, "西大洲", 272.1},
    {94, "伊予平野", 274.6},
    {95, "千　　丈", 280.8},
    {96, "八幡浜", 283.4},
    {97, "双　　岩", 289.0},
    {98, "伊予石城", 293.8},
    {99, "上宇和", 295.9},
    {100, "卯之町", 297.3},
    {101, "下宇和", 299.6},
    {102, "立　　間", 303.4},
    {103, "伊予吉田", 305.7},
    {104, "高　　光", 309.2},
    {105, "北宇和島", 312.5},
    {106, "宇和島", 314.0},
};

// 高松 side, km from 坂出. The catalogue lists these stations from (讃)高松
// towards 坂出; measured from the junction they run the other way.
constexpr LinePoint kTakamatsuSide[] = {
    {20, "坂　　出", 0.0},  {19, "八十場", 2.7},    {18, "鴨　　川", 4.7},
    {17, "讃岐府中", 7.0},  {16, "国　　分", 9.2},  {15, "端　　岡", 12.0},
    {14, "鬼　　無", 14.9}, {13, "香　　西", 16.3}, {12, "(讃)高松", 21.3},
};

// Coast, km from 向井原 by 伊予長浜 to 伊予大洲: longer than the inland way.
constexpr LinePoint kCoast[] = {
    {73, "向井原", 0.0},    {81, "高野川", 4.0},  {82, "伊予上灘", 8.0},  {83, "下　　灘", 12.9},
    {84, "串", 16.6},       {85, "喜多灘", 20.4}, {86, "伊予長浜", 26.6}, {87, "伊予出石", 30.6},
    {88, "伊予白滝", 33.7}, {89, "八多喜", 35.9}, {90, "春　　賀", 38.1}, {91, "五　　郎", 41.3},
    {92, "伊予大洲", 43.6},
};

constexpr int kSakaide = 20;
constexpr int kMukaihara = 73;
constexpr int kOzu = 92;

int tenths(double km) { return static_cast<int>(std::lround(km * 10.0)); }

struct Place {
    Route route = Route::Trunk;
    int tenths = -1;  // -1: not placed
};

using Places = std::array<Place, StationCount>;

bool isJunctionRow(Route route, const LinePoint& p, std::span<const LinePoint> points) {
    if (&p == &points.front()) return true;
    return route == Route::Coast && &p == &points.back();
}

// Each station's own row. The junction rows of the side routes (坂出, 向井原,
// 伊予大洲) only tie a route to the trunk, where those stations lie.
Places buildPlaces() {
    Places places{};
    auto place = [&places](Route route, std::span<const LinePoint> points) {
        for (const LinePoint& p : points) {
            if (route != Route::Trunk && isJunctionRow(route, p, points)) continue;
            if (p.station < 0 || p.station >= StationCount)
                throw std::logic_error("路線表: 駅番号 " + std::to_string(p.station) +
                                       " は 0〜106 の範囲外です");
            Place& slot = places[static_cast<std::size_t>(p.station)];
            if (slot.tenths >= 0)
                throw std::logic_error("路線表: 駅番号 " + std::to_string(p.station) +
                                       " が二度置かれています");
            slot = {route, tenths(p.km)};
        }
    };
    place(Route::Trunk, kTrunk);
    place(Route::TakamatsuSide, kTakamatsuSide);
    place(Route::Coast, kCoast);
    return places;
}

const Places& places() {
    static const Places all = buildPlaces();
    return all;
}

const Place& placeOf(int station) {
    if (station < 0 || station >= StationCount)
        throw std::out_of_range("駅番号 " + std::to_string(station) + " は 0〜106 の範囲外です");
    const Place& p = places()[static_cast<std::size_t>(station)];
    if (p.tenths < 0)
        throw std::logic_error("路線表: 駅番号 " + std::to_string(station) + " がありません");
    return p;
}

int trunkTenths(int station) { return placeOf(station).tenths; }

int coastLength() { return tenths(kCoast[std::size(kCoast) - 1].km); }

// From a coast station `offset` tenths past 向井原 to a trunk station.
int coastToTrunk(int offset, int trunk) {
    const int mukaihara = trunkTenths(kMukaihara);
    const int ozu = trunkTenths(kOzu);
    const int viaMukaihara = offset + std::abs(trunk - mukaihara);
    const int viaOzu = (coastLength() - offset) + std::abs(trunk - ozu);
    if (trunk <= mukaihara) return viaMukaihara;
    if (trunk >= ozu) return viaOzu;
    return std::min(viaMukaihara, viaOzu);  // an inland station between the two ends
}

}  // namespace

std::span<const LinePoint> routePoints(Route route) {
    switch (route) {
        case Route::Trunk:
            return kTrunk;
        case Route::TakamatsuSide:
            return kTakamatsuSide;
        case Route::Coast:
            return kCoast;
    }
    return {};
}

void checkLineTable() {
    for (Route route : {Route::Trunk, Route::TakamatsuSide, Route::Coast}) {
        std::span<const LinePoint> points = routePoints(route);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const LinePoint& p = points[i];
            const auto name = stationName(p.station);
            if (!name || *name != p.name)
                throw std::logic_error("路線表: 駅番号 " + std::to_string(p.station) + " の駅名「" +
                                       std::string(p.name) + "」が駅一覧と合いません");
            if (i > 0 && !(points[i - 1].km < p.km))
                throw std::logic_error("路線表: 駅番号 " + std::to_string(p.station) +
                                       " のキロ程が前の駅より大きくありません");
        }
    }
    // The junction rows must name trunk stations, or the side routes float free.
    for (int junction : {kSakaide, kMukaihara, kOzu})
        if (placeOf(junction).route != Route::Trunk)
            throw std::logic_error("路線表: 分岐駅 " + std::to_string(junction) +
                                   " が本線にありません");
    if (kTakamatsuSide[0].station != kSakaide || kCoast[0].station != kMukaihara ||
        kCoast[std::size(kCoast) - 1].station != kOzu)
        throw std::logic_error("路線表: 支線の端が分岐駅ではありません");
    for (int s = 0; s < StationCount; ++s) placeOf(s);
}

int distanceTenths(int a, int b) {
    const Place& p = placeOf(a);
    const Place& q = placeOf(b);
    if (p.route == q.route) return std::abs(p.tenths - q.tenths);
    if (p.route == Route::TakamatsuSide) return p.tenths + distanceTenths(kSakaide, b);
    if (q.route == Route::TakamatsuSide) return q.tenths + distanceTenths(a, kSakaide);
    if (p.route == Route::Coast) return coastToTrunk(p.tenths, q.tenths);
    return coastToTrunk(q.tenths, p.tenths);
}

int distanceKm(int a, int b) { return (distanceTenths(a, b) + 9) / 10; }

}  // namespace kippurun::tools
