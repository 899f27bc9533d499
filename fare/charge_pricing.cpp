#include "fare/charge_pricing.h"

#include <string_view>
#include <utility>

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "data/table_files.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"
#include "fare/ticket_types.h"
#include "fare/yen.h"

namespace kippurun {

namespace {

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
Units expressUnits(const FareTables& tables, TableMember adult, TableMember child,
                   const ChargeSection& s) {
    const Yen adultYen = Yen::fromCell(tables, adult, s.f, s.e);
    const Yen childYen = Yen::fromCell(tables, child, s.f, s.e);
    if (s.k != ReturnTicket) {
        return {adultYen.shown(), childYen.shown(), adultYen, childYen};
    }
    const Yen adultReturn = adultYen.times(2);
    const Yen childReturn = childYen.times(2);
    return {adultReturn.text(), childReturn.text(), adultReturn, childReturn};
}

struct ReservedSeason {
    Season season;
    TableMember adult;
    TableMember child;
};

constexpr ReservedSeason kReservedSeasons[] = {
    {Season::OffPeak, &FareTables::Kansan, &FareTables::KansanK},
    {Season::Regular, &FareTables::Tujo, &FareTables::TujoK},
    {Season::Peak, &FareTables::Hanbo, &FareTables::HanboK},
};

// "指定席(閑散期)"
std::string seasonCaption(std::string_view ticket, Season season) {
    return std::string(ticket) + "(" + std::string(seasonText(season)) + ")";
}

double strictMarineDistance(const FareTables& tables, const ChargeSection& s) {
    const std::string_view text = tables.MKiro.at(s.f, s.e);
    if (const auto value = readStrict(text)) {
        return *value;
    }
    throw TableValueError(std::string(fileNameOf(&FareTables::MKiro)), s.f, s.e, std::string(text));
}

ChargeLine line(std::string unit, const Yen& price, std::int64_t count) {
    return {std::move(unit), price, count, price.subtotal(count)};
}

}  // namespace

ChargePricing priceCharge(const FareTables& tables, const ChargeSection& section) {
    ChargePricing result;
    // A ticket whose price depends on stops the section does not have.
    const auto withoutStops = [&] {
        result.soldWithoutStops = section.adults + section.students + section.children > 0;
        return result;
    };
    const ChargeType* type = chargeType(section.j);
    if (type == nullptr) {
        return result;
    }
    result.touched = true;
    const bool isReturn = section.k == ReturnTicket;
    const int stopCount = type->kind == TicketKind::Marine ? MarineStopCount : ExpressStopCount;

    std::string caption;
    Units units;
    switch (type->rule) {
        case ChargeRule::FromTables:
            if (!stopsWithin(section, stopCount)) {
                return withoutStops();
            }
            caption = type->name;
            units = expressUnits(tables, type->adult, type->child, section);
            break;
        case ChargeRule::ReservedBySeason: {
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
            if (!stopsWithin(section, stopCount)) {
                return withoutStops();
            }
            caption = seasonCaption("指定席", match->season);
            units = expressUnits(tables, match->adult, match->child, section);
            break;
        }
        case ChargeRule::MarineSeat:
            // The Marine seat has one price whatever the stops.
            if (section.season == Season::OffPeak) {
                caption = seasonCaption("マリン指", Season::OffPeak);
                units = isReturn ? fixedUnits(620, 300) : fixedUnits(310, 150);
            } else {
                caption = type->name;
                units = isReturn ? fixedUnits(1020, 500) : fixedUnits(510, 250);
            }
            break;
        case ChargeRule::MarineGreen: {
            if (!stopsWithin(section, stopCount)) {
                return withoutStops();
            }
            caption = type->name;
            const bool far = strictMarineDistance(tables, section) > 50;
            const std::int64_t price = far ? (isReturn ? 1900 : 950) : (isReturn ? 1500 : 750);
            units = fixedUnits(price, price);
            break;
        }
        case ChargeRule::Nothing:
            units = fixedUnits(0, 0);
            break;
    }

    // Student-discount passengers pay the adult charge.
    result.lines =
        ChargeLines{std::move(caption),
                    line(std::move(units.adult), units.adultYen, section.adults + section.students),
                    line(std::move(units.child), units.childYen, section.children)};
    return result;
}

}  // namespace kippurun
