#include "fare/determinations.h"

#include "data/number_reading.h"
#include "data/station_catalogue.h"

namespace kippurun {

namespace {

bool isStation(int station) { return station >= 0 && station < StationCount; }

// The stations between (讃)高松 and 坂出, and between 内子 and 伊予大洲 on
// the 伊予長浜 line, where the nearest stop behind is not the one a
// passenger changes at.
bool betweenTakamatsuAndSakaide(int station) { return station >= 13 && station <= 19; }
bool onNagahamaLine(int station) { return station >= 81 && station <= 91; }

constexpr int TakamatsuStation = 12;
constexpr int KojimaStation = 11;
constexpr int SakaideStation = 20;
constexpr int TakamatsuExpressStop = 2;
constexpr int SakaideExpressStop = 3;
constexpr int IyoshiExpressStop = 18;

template <std::size_t N>
int firstStopAtOrAfter(const std::array<int, N>& stops, int station) {
    for (std::size_t i = 0; i < N; ++i)
        if (stops[i] >= station) return static_cast<int>(i);
    return NotSet;
}

template <std::size_t N>
int lastStopAtOrBefore(const std::array<int, N>& stops, int station) {
    int found = NotSet;
    for (std::size_t i = 0; i < N; ++i)
        if (stops[i] <= station) found = static_cast<int>(i);
    return found;
}

}  // namespace

int expressUpperStop(int station) {
    if (!isStation(station)) return NotSet;
    return firstStopAtOrAfter(ExpressStopList(), station);
}

int expressLowerStop(int station, int otherEnd) {
    if (!isStation(station)) return NotSet;
    if (betweenTakamatsuAndSakaide(station))
        return otherEnd == TakamatsuStation ? TakamatsuExpressStop : SakaideExpressStop;
    if (onNagahamaLine(station)) return IyoshiExpressStop;
    return lastStopAtOrBefore(ExpressStopList(), station);
}

StopPlan expressStops(int departure, int arrival) {
    if (departure < arrival)
        return {true, expressUpperStop(departure), expressLowerStop(arrival, departure)};
    return {false, expressLowerStop(departure, arrival), expressUpperStop(arrival)};
}

bool expressAllowed(bool down, int departureStop, int arrivalStop) {
    return down ? departureStop < arrivalStop : departureStop > arrivalStop;
}

int marineUpperStop(int station) {
    if (!isStation(station) || station > SakaideStation) return NotSet;
    return firstStopAtOrAfter(MarineStopList(), station);
}

int marineLowerStop(int station, int otherEnd) {
    if (!isStation(station) || station > SakaideStation) return NotSet;
    // From the 岡山 side the train is left at the next stop ahead.
    if ((station == 13 || station == 17 || station == 19) && otherEnd <= KojimaStation)
        return marineUpperStop(station);
    return lastStopAtOrBefore(MarineStopList(), station);
}

StopPlan marineStops(int departure, int arrival) {
    if (departure <= arrival)
        return {true, marineUpperStop(departure), marineLowerStop(arrival, departure)};
    return {false, marineLowerStop(departure, arrival), marineUpperStop(arrival)};
}

bool flagAllows(std::string_view cell) {
    const std::optional<double> value = readStrict(cell);
    return value && *value != 0;
}

bool studentDiscountAllowed(const FareTables& tables, int arrival, int departure) {
    return flagAllows(tables.GHan.at(arrival, departure));
}

bool marineAllowed(const FareTables& tables, int arrival, int departure) {
    return flagAllows(tables.MHan.at(arrival, departure));
}

bool distanceAllowsStudent(const FareTables& tables, int arrival, int departure) {
    const std::optional<double> km = readStrict(tables.Ekiro.at(arrival, departure));
    return km && *km > 100;
}

std::optional<CouponKeys> couponKeysFor(std::string_view khanCell) {
    if (khanCell == "0") return CouponKeys{false, false};
    if (khanCell == "6") return CouponKeys{true, true};
    if (khanCell == "11") return CouponKeys{true, false};
    if (khanCell == "60") return CouponKeys{false, true};
    return std::nullopt;
}

std::optional<CouponKeys> couponKeys(const FareTables& tables, int arrival, int departure) {
    return couponKeysFor(tables.KHan.at(arrival, departure));
}

bool expressCouponAllowed(const FareTables& tables, int arrival, int departure) {
    return tables.JiKaiHan.at(arrival, departure) == "1";
}

bool needsSecondChargeSection(int departure, int arrival) {
    return (arrival > 71 && departure < 12) || (departure > 71 && arrival < 12);
}

}  // namespace kippurun
