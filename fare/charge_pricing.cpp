#include "fare/charge_pricing.h"

#include <string_view>
#include <utility>

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"

namespace kippurun {

namespace {

constexpr std::string_view kOffPeak = "閑散期";

bool stopsWithin(const ChargeSection& s, int count) {
    return s.e >= 0 && s.f >= 0 && s.e < count && s.f < count;
}

struct Units {
    std::string adult, child;
};

// A return ticket sells the charge for both directions.
Units expressUnits(const Table& adult, const Table& child, const ChargeSection& s) {
    if (s.k != 1) {
        return {std::string(adult.at(s.f, s.e)), std::string(child.at(s.f, s.e))};
    }
    return {formatPlain(2 * readLenient(adult.at(s.f, s.e))),
            formatPlain(2 * readLenient(child.at(s.f, s.e)))};
}

struct ReservedSeason {
    std::string_view season;
    std::string_view caption;
    const Table FareTables::*adult;
    const Table FareTables::*child;
};

// Compared in this order; a season text matching none prices nothing.
constexpr ReservedSeason kReservedSeasons[] = {
    {"閑散期", "指定席(閑散期)", &FareTables::Kansan, &FareTables::KansanK},
    {"通常期", "指定席(通常期)", &FareTables::Tujo, &FareTables::TujoK},
    {"繁忙期", "指定席(繁忙期)", &FareTables::Hanbo, &FareTables::HanboK},
};

double strictMarineDistance(const FareTables& tables, const ChargeSection& s) {
    const std::string_view text = tables.MKiro.at(s.f, s.e);
    if (const auto value = readStrict(text)) {
        return *value;
    }
    throw TableValueError("MKiro.csv", s.f, s.e, std::string(text));
}

ChargeLine line(std::string unit, std::string count) {
    ChargeLine result{std::move(unit), std::move(count), {}};
    result.subtotal = subtotalText(result.unit, result.count);
    return result;
}

}  // namespace

ChargePricing priceCharge(const FareTables& tables, const ChargeSection& section) {
    ChargePricing result;
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
                return result;
            }
            caption = "自由席特急券";
            units = expressUnits(tables.Jiyu, tables.JiyuK, section);
            break;
        case 1: {
            const ReservedSeason* match = nullptr;
            for (const auto& candidate : kReservedSeasons) {
                if (section.season == candidate.season) {
                    match = &candidate;
                    break;
                }
            }
            if (match == nullptr || !stopsWithin(section, ExpressStopCount)) {
                return result;
            }
            caption = match->caption;
            units = expressUnits(tables.*(match->adult), tables.*(match->child), section);
            break;
        }
        case 2:
            if (!stopsWithin(section, ExpressStopCount)) {
                return result;
            }
            caption = "グリーン特急券";
            units = expressUnits(tables.Green, tables.GreenK, section);
            break;
        case 3:
            // The Marine seat has one price whatever the stops.
            if (section.season == kOffPeak) {
                caption = "マリン指(閑散期)";
                units = isReturn ? Units{"620", "300"} : Units{"310", "150"};
            } else {
                caption = "マリン指定券";
                units = isReturn ? Units{"1020", "500"} : Units{"510", "250"};
            }
            break;
        case 4: {
            if (!stopsWithin(section, MarineStopCount)) {
                return result;
            }
            caption = "マリングリーン券";
            const bool far = strictMarineDistance(tables, section) > 50;
            const char* price = far ? (isReturn ? "1900" : "950") : (isReturn ? "1500" : "750");
            units = {price, price};
            break;
        }
        case 5:
            units = {"0", "0"};
            break;
    }

    const std::string adultCount =
        formatPlain(readLenient(section.adults) + readLenient(section.students));
    result.lines = ChargeLines{std::move(caption), line(std::move(units.adult), adultCount),
                               line(std::move(units.child), std::string(section.children)),
                               section.j == 3 || section.j == 4};
    return result;
}

}  // namespace kippurun
