#include "fare/charge_pricing.h"

#include <string_view>
#include <utility>

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"
#include "fare/yen.h"

namespace kippurun {

namespace {

constexpr std::string_view kOffPeak = "閑散期";

bool stopsWithin(const ChargeSection& s, int count) {
    return s.e >= 0 && s.f >= 0 && s.e < count && s.f < count;
}

struct Units {
    std::string adult, child;
    Yen adultYen, childYen;
};

Units fixedUnits(std::int64_t adult, std::int64_t child) {
    return {std::to_string(adult), std::to_string(child), Yen::fixed(adult), Yen::fixed(child)};
}

// A return ticket sells the charge for both directions.
Units expressUnits(const Table& adult, const char* adultFile, const Table& child,
                   const char* childFile, const ChargeSection& s) {
    const Yen adultYen = Yen::fromCell(adult, adultFile, s.f, s.e);
    const Yen childYen = Yen::fromCell(child, childFile, s.f, s.e);
    if (s.k != 1) {
        return {std::string(adult.at(s.f, s.e)), std::string(child.at(s.f, s.e)), adultYen,
                childYen};
    }
    const Yen adultReturn = adultYen.times(2);
    const Yen childReturn = childYen.times(2);
    return {adultReturn.text(), childReturn.text(), adultReturn, childReturn};
}

struct ReservedSeason {
    std::string_view season;
    std::string_view caption;
    const Table FareTables::*adult;
    const Table FareTables::*child;
    const char* adultFile;
    const char* childFile;
};

// Compared in this order; a season text matching none prices nothing.
constexpr ReservedSeason kReservedSeasons[] = {
    {"閑散期", "指定席(閑散期)", &FareTables::Kansan, &FareTables::KansanK, "Kansan.csv",
     "KansanK.csv"},
    {"通常期", "指定席(通常期)", &FareTables::Tujo, &FareTables::TujoK, "Tujo.csv", "TujoK.csv"},
    {"繁忙期", "指定席(繁忙期)", &FareTables::Hanbo, &FareTables::HanboK, "Hanbo.csv",
     "HanboK.csv"},
};

double strictMarineDistance(const FareTables& tables, const ChargeSection& s) {
    const std::string_view text = tables.MKiro.at(s.f, s.e);
    if (const auto value = readStrict(text)) {
        return *value;
    }
    throw TableValueError("MKiro.csv", s.f, s.e, std::string(text));
}

ChargeLine line(std::string unit, const Yen& price, std::int64_t count, std::string countText) {
    const Yen amount = price.subtotal(count);
    return {std::move(unit), std::move(countText), amount.text(), amount, price};
}

}  // namespace

ChargePricing priceCharge(const FareTables& tables, const ChargeSection& section) {
    ChargePricing result;
    // A ticket whose price depends on stops the section does not have.
    const auto withoutStops = [&] {
        result.soldWithoutStops =
            readCount(section.adults) + readCount(section.students) + readCount(section.children) >
            0;
        return result;
    };
    if (section.j < 0 || section.j > 5) {
        return result;
    }
    result.touched = true;
    const bool isReturn = section.k == 1;

    std::string caption;
    Units units;
    switch (section.j) {
        case 0:
            if (!stopsWithin(section, ExpressStopCount)) {
                return withoutStops();
            }
            caption = "自由席特急券";
            units = expressUnits(tables.Jiyu, "Jiyu.csv", tables.JiyuK, "JiyuK.csv", section);
            break;
        case 1: {
            const ReservedSeason* match = nullptr;
            for (const auto& candidate : kReservedSeasons) {
                if (section.season == candidate.season) {
                    match = &candidate;
                    break;
                }
            }
            if (match == nullptr) {
                return result;
            }
            if (!stopsWithin(section, ExpressStopCount)) {
                return withoutStops();
            }
            caption = match->caption;
            units = expressUnits(tables.*(match->adult), match->adultFile, tables.*(match->child),
                                 match->childFile, section);
            break;
        }
        case 2:
            if (!stopsWithin(section, ExpressStopCount)) {
                return withoutStops();
            }
            caption = "グリーン特急券";
            units = expressUnits(tables.Green, "Green.csv", tables.GreenK, "GreenK.csv", section);
            break;
        case 3:
            // The Marine seat has one price whatever the stops.
            if (section.season == kOffPeak) {
                caption = "マリン指(閑散期)";
                units = isReturn ? fixedUnits(620, 300) : fixedUnits(310, 150);
            } else {
                caption = "マリン指定券";
                units = isReturn ? fixedUnits(1020, 500) : fixedUnits(510, 250);
            }
            break;
        case 4: {
            if (!stopsWithin(section, MarineStopCount)) {
                return withoutStops();
            }
            caption = "マリングリーン券";
            const bool far = strictMarineDistance(tables, section) > 50;
            const std::int64_t price = far ? (isReturn ? 1900 : 950) : (isReturn ? 1500 : 750);
            units = fixedUnits(price, price);
            break;
        }
        case 5:
            units = fixedUnits(0, 0);
            break;
    }

    // Student-discount passengers pay the adult charge.
    const std::int64_t adults = readCount(section.adults) + readCount(section.students);
    result.lines =
        ChargeLines{std::move(caption),
                    line(std::move(units.adult), units.adultYen, adults, std::to_string(adults)),
                    line(std::move(units.child), units.childYen, readCount(section.children),
                         std::string(section.children)),
                    section.j == 3 || section.j == 4};
    return result;
}

}  // namespace kippurun
