#include "office/price_list.h"

#include <algorithm>
#include <array>
#include <optional>

#include "data/station_catalogue.h"
#include "data/table_files.h"
#include "fare/charge_pricing.h"
#include "fare/determinations.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"
#include "fare/ticket_types.h"
#include "office/csv_row.h"

namespace kippurun {

namespace {

// A charge column's section between the journey's express stops.
ChargeSection sectionOf(const JourneyPricer::ChargeColumn& charge, const StopPlan& stops) {
    ChargeSection section;
    section.j = charge.j;
    section.e = stops.departure;
    section.f = stops.arrival;
    section.season = seasonNamed(charge.season);
    return section;
}

// The passenger types priced by one journey alone: not the continuous
// ticket (two journeys) nor the express coupon (priced between charge
// stops). A type without student tickets has no student column: its
// student price is always "0".
bool listed(const PassengerType& type) {
    return type.rule != PassengerRule::Continuous && !type.chargeStops;
}

// A unit price whose cell is no amount (data/amount.h): the bill sells it
// to no one, so the list shows this mark, never a price.
constexpr std::string_view kNoAmount = "金額なし";

std::string_view nameOf(int station) { return stationName(station).value_or(""); }
std::string_view flagOf(bool allowed) { return allowed ? "1" : "0"; }

using ChargeColumn = JourneyPricer::ChargeColumn;

// The express charge types; the reserved ticket once per season.
std::vector<ChargeColumn> chargeColumns(const std::vector<std::string>& seasons) {
    std::vector<ChargeColumn> columns;
    for (std::size_t j = 0; j < ChargeTypes.size(); ++j) {
        const ChargeType& type = ChargeTypes[j];
        if (type.kind != TicketKind::Express) continue;
        if (type.rule != ChargeRule::ReservedBySeason) {
            columns.push_back({static_cast<int>(j), std::string(type.name), ""});
            continue;
        }
        for (const std::string& season : seasons)
            columns.push_back({static_cast<int>(j), "指定席(" + season + ")", season});
    }
    return columns;
}

std::string failureText(int d, int a, std::string_view ticket, const std::exception& failure) {
    return std::string(nameOf(d)) + " → " + std::string(nameOf(a)) + "（" + std::string(ticket) +
           "）: " + failure.what();
}

void addOnce(std::vector<std::string>& failures, std::string failure) {
    if (std::find(failures.begin(), failures.end(), failure) == failures.end())
        failures.push_back(std::move(failure));
}

// The run's refusal of a price for one passenger, as a failure of the list.
// A charge cell prices many journeys: it is named once.
void noteRefusal(const Yen& price, int d, int a, std::string_view ticket, bool charge,
                 std::vector<std::string>& failures) {
    try {
        price.subtotal(1);
    } catch (const TableValueError& failure) {
        addOnce(failures, charge ? failure.what() : failureText(d, a, ticket, failure));
    }
}

}  // namespace

JourneyPricer::JourneyPricer(const FareTables& tables, std::vector<std::string> seasons)
    : tables_(tables), charges_(chargeColumns(seasons)) {
    const auto add = [&](std::string name, PriceColumnKind kind, std::string type = {}) {
        columns_.push_back({std::move(name), kind, std::move(type)});
    };
    for (const char* name : {"発駅番号", "発駅", "着駅番号", "着駅"})
        add(name, PriceColumnKind::Journey);
    for (const PassengerType& type : PassengerTypes) {
        if (!listed(type)) continue;
        const std::string name(type.name);
        add(name + " 大人", PriceColumnKind::Price, name);
        add(name + " 小児", PriceColumnKind::Price, name);
        if (type.student) add(name + " 学割", PriceColumnKind::Price, name);
    }
    for (const char* key :
         {"学割表", "学生キー", "回数券キー", "６枚回数キー", "特急キー", "マリンキー"})
        add(key, PriceColumnKind::Key);
    add("特急発", PriceColumnKind::Stop);
    add("特急着", PriceColumnKind::Stop);
    for (const ChargeColumn& charge : charges_) {
        add(charge.name + " 大人", PriceColumnKind::Price, charge.name);
        add(charge.name + " 小児", PriceColumnKind::Price, charge.name);
    }
}

void JourneyPricer::price(int d, int a, std::vector<std::string>& fields,
                          std::vector<std::string>& failures) const {
    const FareTables& tables = tables_;
    fields.clear();
    const auto field = [&](std::string_view text) { fields.emplace_back(text); };
    const auto unitField = [&](const std::string& unit, const Yen& price, std::string_view ticket,
                               bool charge) {
        if (price.isAmount()) return std::string_view(unit);
        noteRefusal(price, d, a, ticket, charge, failures);
        return kNoAmount;
    };
    field(std::to_string(d));
    field(nameOf(d));
    field(std::to_string(a));
    field(nameOf(a));

    for (std::size_t k = 0; k < PassengerTypes.size(); ++k) {
        const PassengerType& type = PassengerTypes[k];
        if (!listed(type)) continue;
        std::optional<PassengerUnitPrices> prices;
        try {
            prices = pricePassenger(tables, PassengerJourney{static_cast<int>(k), d, a});
        } catch (const TableValueError& failure) {
            failures.push_back(failureText(d, a, type.name, failure));
        }
        const auto unit = [&](const std::string& shown, const Yen& price) {
            return unitField(shown, price, type.name, false);
        };
        field(prices ? unit(prices->adult, prices->adultYen) : "");
        field(prices ? unit(prices->child, prices->childYen) : "");
        if (type.student) field(prices ? unit(prices->student, prices->studentYen) : "");
    }

    // The screen's own order decides the student key of a one-way ticket:
    // the ticket-type handler applies the distance rule after the table.
    field(flagOf(studentDiscountAllowed(tables, a, d)));
    field(flagOf(distanceAllowsStudent(tables, a, d)));
    if (const std::optional<CouponKeys> coupons = couponKeys(tables, a, d)) {
        field(flagOf(coupons->elevenTickets));
        field(flagOf(coupons->sixTickets));
    } else {
        field("");  // no code: the keys stay as the journey before left them
        field("");
    }
    const StopPlan stops = expressStops(d, a);
    const bool express = stops.departure != NotSet && stops.arrival != NotSet &&
                         expressAllowed(stops.down, stops.departure, stops.arrival);
    field(flagOf(express));
    field(flagOf(marineAllowed(tables, a, d)));
    field(express ? nameOf(stationOfExpressStop(stops.departure)) : "");
    field(express ? nameOf(stationOfExpressStop(stops.arrival)) : "");

    for (const ChargeColumn& charge : charges_) {
        std::optional<ChargeLines> lines;
        if (express) {
            const ChargeSection section = sectionOf(charge, stops);
            // Unit prices only: no passengers, so no subtotal is made.
            try {
                lines = priceCharge(tables, section).lines;
            } catch (const TableValueError& failure) {
                // The same charge cell prices many journeys: named once.
                addOnce(failures, failure.what());
            }
        }
        field(lines ? unitField(lines->adult.unit, lines->adult.unitPrice, charge.name, true) : "");
        field(lines ? unitField(lines->child.unit, lines->child.unitPrice, charge.name, true) : "");
    }

    // A 0 between two stations where its ticket is sold: the run refuses it.
    std::vector<SoldPrice> sold;
    soldPrices(d, a, sold);
    for (const SoldPrice& price : sold) {
        if (price.price.zeroBetweenStops())
            noteRefusal(price.price, d, a, price.ticket, price.charge, failures);
    }
}

void JourneyPricer::soldPrices(int d, int a, std::vector<SoldPrice>& prices) const {
    const FareTables& tables = tables_;
    prices.clear();
    const bool student =
        studentDiscountAllowed(tables, a, d) || distanceAllowsStudent(tables, a, d);
    const std::optional<CouponKeys> coupons = couponKeys(tables, a, d);
    const StopPlan stops = expressStops(d, a);
    const bool stopsKnown = stops.departure != NotSet && stops.arrival != NotSet;
    const bool express = stopsKnown && expressAllowed(stops.down, stops.departure, stops.arrival);
    for (std::size_t k = 0; k < PassengerTypes.size(); ++k) {
        const PassengerType& type = PassengerTypes[k];
        bool sold = false;
        switch (type.permit) {
            case TicketPermit::Always:
                sold = listed(type);
                break;
            case TicketPermit::ElevenTickets:
                sold = coupons && coupons->elevenTickets;
                break;
            case TicketPermit::SixTickets:
                sold = coupons && coupons->sixTickets;
                break;
            case TicketPermit::ExpressCoupon:
                sold = stopsKnown && expressCouponAllowed(tables, a, d);
                break;
            case TicketPermit::UnreservedExpress:
            case TicketPermit::ReservedExpress:
            case TicketPermit::GreenExpress:
            case TicketPermit::MarineSeat:
            case TicketPermit::MarineGreen:
                break;  // the keys of charge types: no passenger type has them
        }
        if (!sold) continue;
        PassengerJourney journey{static_cast<int>(k), d, a};
        journey.e = stops.departure;
        journey.f = stops.arrival;
        try {
            if (const std::optional<PassengerUnitPrices> unit = pricePassenger(tables, journey)) {
                prices.push_back({unit->adultYen, type.name});
                prices.push_back({unit->childYen, type.name});
                if (type.student && student) prices.push_back({unit->studentYen, type.name});
            }
        } catch (const TableValueError&) {
        }
    }
    if (!express) return;
    for (const ChargeColumn& charge : charges_) {
        const ChargeSection section = sectionOf(charge, stops);
        try {
            if (const std::optional<ChargeLines> lines = priceCharge(tables, section).lines) {
                prices.push_back({lines->adult.unitPrice, charge.name, true});
                prices.push_back({lines->child.unitPrice, charge.name, true});
            }
        } catch (const TableValueError&) {
        }
    }
}

ListedBy listedBy(std::string_view file) {
    // The tables pricePassenger reads for the types listed, the permission
    // tables of the key columns, and the express charges. Not listed: the
    // express coupon (its prices and its key's JiKaiHan) and the マリン
    // charges, which read MKiro.
    for (const TableFile& table : TableFiles) {
        if (table.fileName() != file || table.member == nullptr) continue;
        if (table.member == &FareTables::JiKaiHan) return ListedBy::Nothing;
        bool pricesListed = false, pricesUnlisted = false;
        for (const PassengerType& type : PassengerTypes) {
            const TableMember m = table.member;
            if (m == type.adult || m == type.child || m == type.student)
                (listed(type) ? pricesListed : pricesUnlisted) = true;
        }
        if (pricesUnlisted && !pricesListed) return ListedBy::Nothing;
        if (table.space == IndexSpace::Stations) return ListedBy::Journey;
        if (table.space == IndexSpace::ExpressStops) return ListedBy::ExpressStops;
    }
    return ListedBy::Nothing;
}

PriceList makePriceList(const FareTables& tables, std::string_view season) {
    const JourneyPricer pricer(tables, {std::string(season)});
    PriceList list;
    list.csv.reserve(static_cast<std::size_t>(StationCount) * StationCount * 160);
    list.csv += CsvByteOrderMark;
    {
        CsvRow header(list.csv);
        for (const PriceColumn& column : pricer.columns()) header << column.name;
    }
    std::vector<std::string> fields;
    for (int d = 0; d < StationCount; ++d) {
        for (int a = 0; a < StationCount; ++a) {
            pricer.price(d, a, fields, list.failures);
            CsvRow row(list.csv);
            for (const std::string& field : fields) row << field;
        }
    }
    return list;
}

}  // namespace kippurun
