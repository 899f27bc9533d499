#include "fare/passenger_pricing.h"

#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fare/table_value_error.h"

namespace kippurun {

namespace {

bool isStationPair(int arrival, int departure) {
    return arrival >= 0 && departure >= 0 && arrival < StationCount && departure < StationCount;
}

bool isExpressStopPair(int arrival, int departure) {
    return arrival >= 0 && departure >= 0 && arrival < ExpressStopCount &&
           departure < ExpressStopCount;
}

double lenientAt(const Table& table, int arrival, int departure) {
    return readLenient(table.at(arrival, departure));
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

std::string continuousStudentPrice(const FareTables& tables, const PassengerJourney& j) {
    const bool longFirst = strictAt(tables.Ekiro, "Ekiro.csv", j.a1, j.d1) > 100;
    const bool longSecond = strictAt(tables.Ekiro, "Ekiro.csv", j.a2, j.d2) > 100;
    const double student1 = lenientAt(tables.Gakuwari, j.a1, j.d1);
    const double student2 = lenientAt(tables.Gakuwari, j.a2, j.d2);
    if (longFirst && longSecond) {
        return formatPlain(student1 + student2);
    }
    if (longFirst) {
        return formatPlain(student1 + lenientAt(tables.Otona, j.a2, j.d2));
    }
    if (longSecond) {
        return formatPlain(lenientAt(tables.Otona, j.a1, j.d1) + student2);
    }
    return "0";
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
    switch (journey.k) {
        case 0:
            prices.adult = tables.Otona.at(a1, d1);
            prices.child = tables.Kodomo.at(a1, d1);
            prices.student = tables.Gakuwari.at(a1, d1);
            break;
        case 1:
            prices.adult = formatPlain(2 * lenientAt(tables.Otona, a1, d1));
            prices.child = formatPlain(2 * lenientAt(tables.Kodomo, a1, d1));
            prices.student = formatPlain(2 * lenientAt(tables.Gakuwari, a1, d1));
            break;
        case 2:
            prices.adult =
                formatPlain(lenientAt(tables.Otona, a1, d1) + lenientAt(tables.Otona, a2, d2));
            prices.child =
                formatPlain(lenientAt(tables.Kodomo, a1, d1) + lenientAt(tables.Kodomo, a2, d2));
            prices.student = continuousStudentPrice(tables, journey);
            break;
        case 3:
        case 6:
            prices.adult = formatPlain(10 * strictAt(tables.Otona, "Otona.csv", a1, d1));
            prices.child = formatPlain(10 * strictAt(tables.Kodomo, "Kodomo.csv", a1, d1));
            prices.student = "0";
            break;
        case 4:
            prices.adult = tables.Kai6.at(a1, d1);
            prices.child = tables.Kai6K.at(a1, d1);
            prices.student = "0";
            break;
        case 5:
            prices.adult = tables.Jiyukai.at(journey.f, journey.e);
            prices.child = tables.JiyuKaiK.at(journey.f, journey.e);
            prices.student = "0";
            break;
    }
    return prices;
}

std::string subtotalText(std::string_view unit, std::string_view count) {
    return formatPlain(readLenient(unit) * readLenient(count));
}

}  // namespace kippurun
