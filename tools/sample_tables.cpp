#include "tools/sample_tables.h"

#include <array>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <system_error>

#include "data/station_catalogue.h"
#include "tools/line_km.h"
#include "tools/sample_fares.h"

namespace kippurun::tools {

namespace {

constexpr int kLastOkayamaSideStation = 11;  // 児島, the bridge's 本州 end

// The busiest stations that are no express stop, for the 26 keys after the
// express stops.
constexpr std::array<int, 26> kBusyLocalStations = {
    1,  2,  3,  5,  7,  10, 13, 14, 15, 16, 18, 19, 23,
    25, 27, 30, 32, 38, 42, 46, 50, 53, 57, 66, 86, 93,
};

// Default departure 岡山, arrival 松山.
constexpr int kStartDeparture = 0;
constexpr int kStartArrival = 67;

bool crossesBridge(int a, int d) {
    return (a <= kLastOkayamaSideStation) != (d <= kLastOkayamaSideStation);
}

using Cell = std::function<long long(int arrival, int departure)>;

SampleTable square(std::string fileName, int side, const Cell& cell) {
    SampleTable t{std::move(fileName), side, {}};
    t.values.reserve(static_cast<std::size_t>(side * side));
    for (int a = 0; a < side; ++a)
        for (int d = 0; d < side; ++d) t.values.push_back(std::to_string(cell(a, d)));
    return t;
}

SampleTable codes(std::string fileName, const std::function<std::string_view(int, int)>& cell) {
    SampleTable t{std::move(fileName), StationCount, {}};
    t.values.reserve(static_cast<std::size_t>(StationCount * StationCount));
    for (int a = 0; a < StationCount; ++a)
        for (int d = 0; d < StationCount; ++d) t.values.emplace_back(cell(a, d));
    return t;
}

// A station table from the whole-kilometre distance of each pair.
SampleTable byStationKm(std::string fileName, const std::function<long long(int km)>& f) {
    return square(std::move(fileName), StationCount,
                  [&f](int a, int d) { return f(distanceKm(a, d)); });
}

// A 26 x 26 table from the distance between the two express stops.
SampleTable byExpressKm(std::string fileName, const std::function<long long(int km)>& f) {
    return square(std::move(fileName), ExpressStopCount, [&f](int a, int d) {
        return f(distanceKm(stationOfExpressStop(a), stationOfExpressStop(d)));
    });
}

int expressCouponPrice(int km) {
    return inExpressCouponWindow(km) ? expressCoupon(adultFare(km), unreservedCharge(km)) : 0;
}

int sixRidePrice(int a, int d) {
    const int km = distanceKm(a, d);
    return sellsSixRide(couponCode(km, crossesBridge(a, d))) ? sixRideCoupon(adultFare(km)) : 0;
}

// Rapid-train seats are sold between any two different stops of the train.
bool sellsRapidSeats(int a, int d) {
    return a != d && marineIndexOf(a) != NotSet && marineIndexOf(d) != NotSet;
}

bool sellsExpressCoupon(int a, int d) {
    return expressIndexOf(a) != NotSet && expressIndexOf(d) != NotSet &&
           inExpressCouponWindow(distanceKm(a, d));
}

SampleTable startTable() {
    return {"Start.csv", 2, {std::to_string(kStartDeparture), std::to_string(kStartArrival)}};
}

// Keys 0-25 the express stops in line order, 26-51 the busy local stations,
// the 48 cells that belong to no key 999.
SampleTable keyLayoutTable() {
    SampleTable t{"Ekimei1.csv", 10, {}};
    for (int station : ExpressStopList()) t.values.push_back(std::to_string(station));
    for (int station : kBusyLocalStations) t.values.push_back(std::to_string(station));
    t.values.resize(100, std::to_string(NotSet));
    return t;
}

}  // namespace

std::vector<SampleTable> makeSampleTables() {
    checkLineTable();
    auto child = [](auto adult) { return [adult](int km) { return childPrice(adult(km)); }; };
    std::vector<SampleTable> t;
    t.push_back(startTable());
    t.push_back(byStationKm("Otona.csv", adultFare));
    t.push_back(byStationKm("Kodomo.csv", child(adultFare)));
    t.push_back(square("6Kai.csv", StationCount, sixRidePrice));
    t.push_back(square("6KaiK.csv", StationCount,
                       [](int a, int d) { return childPrice(sixRidePrice(a, d)); }));
    t.push_back(byStationKm("Ekiro.csv", [](int km) { return km; }));
    t.push_back(byStationKm("GHan.csv", [](int km) { return km > 100 ? 1 : 0; }));
    t.push_back(codes("KHan.csv", [](int a, int d) {
        return couponCode(distanceKm(a, d), crossesBridge(a, d));
    }));
    t.push_back(square("MHan.csv", StationCount,
                       [](int a, int d) { return sellsRapidSeats(a, d) ? 1 : 0; }));
    t.push_back(byExpressKm("Jiyu.csv", unreservedCharge));
    t.push_back(byExpressKm("JiyuK.csv", child(unreservedCharge)));
    t.push_back(byExpressKm("Kansan.csv", reservedOffPeak));
    t.push_back(byExpressKm("KansanK.csv", child(reservedOffPeak)));
    t.push_back(byExpressKm("Tujo.csv", reservedRegular));
    t.push_back(byExpressKm("TujoK.csv", child(reservedRegular)));
    t.push_back(byExpressKm("Hanbo.csv", reservedPeak));
    t.push_back(byExpressKm("HanboK.csv", child(reservedPeak)));
    t.push_back(byExpressKm("Green.csv", greenCharge));
    t.push_back(byExpressKm("GreenK.csv", greenChargeChild));
    t.push_back(byExpressKm("Jiyukai.csv", expressCouponPrice));
    t.push_back(byExpressKm("JiyuKaiK.csv", child(expressCouponPrice)));
    t.push_back(
        codes("JiKaiHan.csv", [](int a, int d) { return sellsExpressCoupon(a, d) ? "1" : "0"; }));
    t.push_back(square("MKiro.csv", MarineStopCount, [](int a, int d) {
        return distanceKm(stationOfMarineStop(a), stationOfMarineStop(d));
    }));
    t.push_back(square("Gakuwari.csv", StationCount, [](int a, int d) {
        const int km = distanceKm(a, d);
        return studentFare(adultFare(km), km);
    }));
    t.push_back(keyLayoutTable());
    return t;
}

std::string fileBytes(const SampleTable& table) {
    std::string out;
    const std::size_t columns = static_cast<std::size_t>(table.columns);
    for (std::size_t i = 0; i < table.values.size(); ++i) {
        out += table.values[i];
        out += (i + 1) % columns == 0 ? "\r\n" : ",";
    }
    return out;
}

const SampleTable& tableNamed(const std::vector<SampleTable>& tables, std::string_view fileName) {
    for (const SampleTable& t : tables)
        if (t.fileName == fileName) return t;
    throw std::out_of_range("見本表にないファイル名です: " + std::string(fileName));
}

void writeSampleTables(const std::filesystem::path& folder) {
    const std::vector<SampleTable> tables = makeSampleTables();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw std::runtime_error("フォルダ " + folder.string() + " を作れません: " + ec.message());
    for (const SampleTable& t : tables) {
        const std::filesystem::path path = folder / t.fileName;
        const std::string bytes = fileBytes(t);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("ファイル " + path.string() + " を書けません");
    }
}

}  // namespace kippurun::tools
