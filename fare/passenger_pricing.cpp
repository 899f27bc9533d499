#include "fare/passenger_pricing.h"

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "data/table_files.h"
#include "fare/table_value_error.h"
#include "fare/ticket_types.h"
#include "fare/yen.h"

namespace kippurun {

namespace {

bool isStationPair(int arrival, int departure) {
    return arrival >= 0 && departure >= 0 && arrival < StationCount && departure < StationCount;
}

bool isExpressStopPair(int arrival, int departure) {
    return arrival >= 0 && departure >= 0 && arrival < ExpressStopCount &&
           departure < ExpressStopCount;
}

// The values multiplied into coupon prices and the distances of the student
// rule must be numbers: a damaged cell would otherwise price as 0 unnoticed.
double strictAt(const FareTables& tables, TableMember table, int arrival, int departure) {
    const std::string_view text = (tables.*table).at(arrival, departure);
    if (const auto value = readStrict(text)) {
        return *value;
    }
    throw TableValueError(std::string(fileNameOf(table)), arrival, departure, std::string(text));
}

// A section longer than 100 km sells the student fare; a shorter one is
// charged at the adult fare, and with both short no student ticket is sold.
Yen continuousStudentPrice(const FareTables& tables, const PassengerType& type,
                           const PassengerJourney& j) {
    const bool longFirst = strictAt(tables, &FareTables::Ekiro, j.a1, j.d1) > 100;
    const bool longSecond = strictAt(tables, &FareTables::Ekiro, j.a2, j.d2) > 100;
    if (!longFirst && !longSecond) {
        return Yen::fixed(0);
    }
    const Yen first = Yen::fromCell(tables, longFirst ? type.student : type.adult, j.a1, j.d1);
    const Yen second = Yen::fromCell(tables, longSecond ? type.student : type.adult, j.a2, j.d2);
    return first.plus(second);
}

// The unit price shown as the table holds it, the amount read from it.
void asStored(std::string& shown, Yen& amount, const FareTables& tables, TableMember table, int a,
              int d) {
    amount = Yen::fromCell(tables, table, a, d);
    shown = amount.shown();
}

void computed(std::string& shown, Yen& amount, Yen value) {
    amount = value;
    shown = value.text();
}

}  // namespace

std::optional<PassengerUnitPrices> pricePassenger(const FareTables& tables,
                                                  const PassengerJourney& journey) {
    const PassengerType* type = passengerType(journey.k);
    if (type == nullptr) {
        return std::nullopt;
    }
    // The stops or stations the type is priced between.
    const int a1 = type->chargeStops ? journey.f : journey.a1;
    const int d1 = type->chargeStops ? journey.e : journey.d1;
    const int a2 = journey.a2;
    const int d2 = journey.d2;
    if (type->chargeStops ? !isExpressStopPair(a1, d1) : !isStationPair(a1, d1)) {
        return std::nullopt;
    }
    if (type->rule == PassengerRule::Continuous && !isStationPair(a2, d2)) {
        return std::nullopt;
    }

    PassengerUnitPrices prices;
    const auto cell = [&tables](TableMember table, int a, int d) {
        return Yen::fromCell(tables, table, a, d);
    };
    switch (type->rule) {
        case PassengerRule::AsStored:
            asStored(prices.adult, prices.adultYen, tables, type->adult, a1, d1);
            asStored(prices.child, prices.childYen, tables, type->child, a1, d1);
            if (type->student) {
                asStored(prices.student, prices.studentYen, tables, type->student, a1, d1);
            }
            break;
        case PassengerRule::Doubled:
            computed(prices.adult, prices.adultYen, cell(type->adult, a1, d1).times(2));
            computed(prices.child, prices.childYen, cell(type->child, a1, d1).times(2));
            if (type->student) {
                computed(prices.student, prices.studentYen, cell(type->student, a1, d1).times(2));
            }
            break;
        case PassengerRule::Continuous:
            computed(prices.adult, prices.adultYen,
                     cell(type->adult, a1, d1).plus(cell(type->adult, a2, d2)));
            computed(prices.child, prices.childYen,
                     cell(type->child, a1, d1).plus(cell(type->child, a2, d2)));
            if (type->student) {
                computed(prices.student, prices.studentYen,
                         continuousStudentPrice(tables, *type, journey));
            }
            break;
        case PassengerRule::TimesTen:
            computed(prices.adult, prices.adultYen, cell(type->adult, a1, d1).times(10));
            computed(prices.child, prices.childYen, cell(type->child, a1, d1).times(10));
            break;
    }
    // A type without student tickets shows the student price 0.
    if (!type->student) {
        computed(prices.student, prices.studentYen, Yen::fixed(0));
    }
    return prices;
}

}  // namespace kippurun
