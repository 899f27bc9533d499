#include "fare/passenger_pricing.h"

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fare/table_value_error.h"
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
double strictAt(const Table& table, const char* file, int arrival, int departure) {
    const std::string_view text = table.at(arrival, departure);
    if (const auto value = readStrict(text)) {
        return *value;
    }
    throw TableValueError(file, arrival, departure, std::string(text));
}

Yen continuousStudentPrice(const FareTables& tables, const PassengerJourney& j) {
    const bool longFirst = strictAt(tables.Ekiro, "Ekiro.csv", j.a1, j.d1) > 100;
    const bool longSecond = strictAt(tables.Ekiro, "Ekiro.csv", j.a2, j.d2) > 100;
    if (!longFirst && !longSecond) {
        return Yen::fixed(0);
    }
    const Yen first = longFirst ? Yen::fromCell(tables.Gakuwari, "Gakuwari.csv", j.a1, j.d1)
                                : Yen::fromCell(tables.Otona, "Otona.csv", j.a1, j.d1);
    const Yen second = longSecond ? Yen::fromCell(tables.Gakuwari, "Gakuwari.csv", j.a2, j.d2)
                                  : Yen::fromCell(tables.Otona, "Otona.csv", j.a2, j.d2);
    return first.plus(second);
}

// The unit price shown as the table holds it, the amount read from it.
void asStored(std::string& shown, Yen& amount, const Table& table, const char* file, int a, int d) {
    shown = table.at(a, d);
    amount = Yen::fromCell(table, file, a, d);
}

void computed(std::string& shown, Yen& amount, Yen value) {
    amount = value;
    shown = value.text();
}

}  // namespace

std::optional<PassengerUnitPrices> pricePassenger(const FareTables& tables,
                                                  const PassengerJourney& journey) {
    const int a1 = journey.a1;
    const int d1 = journey.d1;
    const int a2 = journey.a2;
    const int d2 = journey.d2;
    if (journey.k < 0 || journey.k > 6) {
        return std::nullopt;
    }
    if (journey.k == 5) {
        if (!isExpressStopPair(journey.f, journey.e)) {
            return std::nullopt;
        }
    } else if (!isStationPair(a1, d1) || (journey.k == 2 && !isStationPair(a2, d2))) {
        return std::nullopt;
    }

    PassengerUnitPrices prices;
    const auto cell = [](const Table& table, const char* file, int a, int d) {
        return Yen::fromCell(table, file, a, d);
    };
    switch (journey.k) {
        case 0:
            asStored(prices.adult, prices.adultYen, tables.Otona, "Otona.csv", a1, d1);
            asStored(prices.child, prices.childYen, tables.Kodomo, "Kodomo.csv", a1, d1);
            asStored(prices.student, prices.studentYen, tables.Gakuwari, "Gakuwari.csv", a1, d1);
            break;
        case 1:
            computed(prices.adult, prices.adultYen,
                     cell(tables.Otona, "Otona.csv", a1, d1).times(2));
            computed(prices.child, prices.childYen,
                     cell(tables.Kodomo, "Kodomo.csv", a1, d1).times(2));
            computed(prices.student, prices.studentYen,
                     cell(tables.Gakuwari, "Gakuwari.csv", a1, d1).times(2));
            break;
        case 2:
            computed(prices.adult, prices.adultYen,
                     cell(tables.Otona, "Otona.csv", a1, d1)
                         .plus(cell(tables.Otona, "Otona.csv", a2, d2)));
            computed(prices.child, prices.childYen,
                     cell(tables.Kodomo, "Kodomo.csv", a1, d1)
                         .plus(cell(tables.Kodomo, "Kodomo.csv", a2, d2)));
            computed(prices.student, prices.studentYen, continuousStudentPrice(tables, journey));
            break;
        case 3:
        case 6:
            strictAt(tables.Otona, "Otona.csv", a1, d1);
            strictAt(tables.Kodomo, "Kodomo.csv", a1, d1);
            computed(prices.adult, prices.adultYen,
                     cell(tables.Otona, "Otona.csv", a1, d1).times(10));
            computed(prices.child, prices.childYen,
                     cell(tables.Kodomo, "Kodomo.csv", a1, d1).times(10));
            computed(prices.student, prices.studentYen, Yen::fixed(0));
            break;
        case 4:
            asStored(prices.adult, prices.adultYen, tables.Kai6, "6Kai.csv", a1, d1);
            asStored(prices.child, prices.childYen, tables.Kai6K, "6KaiK.csv", a1, d1);
            computed(prices.student, prices.studentYen, Yen::fixed(0));
            break;
        case 5:
            asStored(prices.adult, prices.adultYen, tables.Jiyukai, "Jiyukai.csv", journey.f,
                     journey.e);
            asStored(prices.child, prices.childYen, tables.JiyuKaiK, "JiyuKaiK.csv", journey.f,
                     journey.e);
            computed(prices.student, prices.studentYen, Yen::fixed(0));
            break;
    }
    return prices;
}

std::string subtotalText(const Yen& unit, std::int64_t count) {
    return unit.subtotal(count).text();
}

}  // namespace kippurun
