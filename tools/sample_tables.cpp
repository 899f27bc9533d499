#include "tools/sample_tables.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <system_error>

#include "data/station_catalogue.h"
#include "data/table_files.h"
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

// The text of cell (arrival, departure) of one sample table.
using Cell = std::function<std::string(int arrival, int departure)>;

Cell numbers(std::function<long long(int arrival, int departure)> f) {
    return [f = std::move(f)](int a, int d) { return std::to_string(f(a, d)); };
}

// A station table from the whole-kilometre distance of each pair.
Cell byStationKm(std::function<long long(int km)> f) {
    return numbers([f = std::move(f)](int a, int d) { return f(distanceKm(a, d)); });
}

// A 26 x 26 table from the distance between the two express stops.
Cell byExpressKm(std::function<long long(int km)> f) {
    return numbers([f = std::move(f)](int a, int d) {
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

std::vector<std::string> startValues() {
    return {std::to_string(kStartDeparture), std::to_string(kStartArrival)};
}

// Keys 0-25 the express stops in line order, 26-51 the busy local stations,
// the 48 cells that belong to no key 999.
std::vector<std::string> keyLayoutValues() {
    std::vector<std::string> values;
    for (int station : ExpressStopList()) values.push_back(std::to_string(station));
    for (int station : kBusyLocalStations) values.push_back(std::to_string(station));
    values.resize(KeyLayoutFile.count, std::to_string(NotSet));
    return values;
}

// How each square table's cells are made from the line and the tariff.
std::vector<std::pair<TableMember, Cell>> squareCells() {
    using F = FareTables;
    auto child = [](auto adult) { return [adult](int km) { return childPrice(adult(km)); }; };
    return {
        {&F::Otona, byStationKm(adultFare)},
        {&F::Kodomo, byStationKm(child(adultFare))},
        {&F::Kai6, numbers(sixRidePrice)},
        {&F::Kai6K, numbers([](int a, int d) { return childPrice(sixRidePrice(a, d)); })},
        {&F::Ekiro, byStationKm([](int km) { return km; })},
        {&F::GHan, byStationKm([](int km) { return km > 100 ? 1 : 0; })},
        {&F::KHan,
         [](int a, int d) {
             return std::string(couponCode(distanceKm(a, d), crossesBridge(a, d)));
         }},
        {&F::MHan, numbers([](int a, int d) { return sellsRapidSeats(a, d) ? 1 : 0; })},
        {&F::Jiyu, byExpressKm(unreservedCharge)},
        {&F::JiyuK, byExpressKm(child(unreservedCharge))},
        {&F::Kansan, byExpressKm(reservedOffPeak)},
        {&F::KansanK, byExpressKm(child(reservedOffPeak))},
        {&F::Tujo, byExpressKm(reservedRegular)},
        {&F::TujoK, byExpressKm(child(reservedRegular))},
        {&F::Hanbo, byExpressKm(reservedPeak)},
        {&F::HanboK, byExpressKm(child(reservedPeak))},
        {&F::Green, byExpressKm(greenCharge)},
        {&F::GreenK, byExpressKm(greenChargeChild)},
        {&F::Jiyukai, byExpressKm(expressCouponPrice)},
        {&F::JiyuKaiK, byExpressKm(child(expressCouponPrice))},
        {&F::JiKaiHan,
         [](int a, int d) { return std::string(sellsExpressCoupon(a, d) ? "1" : "0"); }},
        {&F::MKiro, numbers([](int a, int d) {
             return distanceKm(stationOfMarineStop(a), stationOfMarineStop(d));
         })},
        {&F::Gakuwari, byStationKm([](int km) { return studentFare(adultFare(km), km); })},
    };
}

}  // namespace

std::vector<SampleTable> makeSampleTables() {
    checkLineTable();
    const std::vector<std::pair<TableMember, Cell>> cells = squareCells();
    std::vector<SampleTable> tables;
    for (const TableFile& file : TableFiles) {
        SampleTable& t = tables.emplace_back(
            SampleTable{std::string(file.fileName()), static_cast<int>(file.perLine), {}});
        if (file.value == TableValue::StartStation) {
            t.values = startValues();
        } else if (file.value == TableValue::KeyStation) {
            t.values = keyLayoutValues();
        } else {
            const auto made = std::find_if(cells.begin(), cells.end(),
                                           [&](const auto& c) { return c.first == file.member; });
            if (made == cells.end())
                throw std::logic_error("見本表の作り方がありません: " + t.fileName);
            t.values.reserve(file.count);
            for (int a = 0; a < t.columns; ++a)
                for (int d = 0; d < t.columns; ++d) t.values.push_back(made->second(a, d));
        }
    }
    return tables;
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
