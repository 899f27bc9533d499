#pragma once
// Unit prices of the passenger ticket (adult, child, student) for the ticket
// type chosen in the ticket-type list.
#include <optional>
#include <string>
#include <string_view>

#include "data/fare_tables.h"

namespace kippurun {

struct PassengerJourney {
    int k = 0;    // ticket type, position in the ticket-type list (0-6)
    int d1 = -1;  // section 1 departure, arrival (station numbers)
    int a1 = -1;
    int d2 = -1;  // section 2, read for continuous tickets (k = 2) only
    int a2 = -1;
    int e = -1;  // charge section 1 departure, arrival (express stops),
    int f = -1;  // read for the express coupon (k = 5) only
};

struct PassengerUnitPrices {
    std::string adult;    // txtTan01
    std::string child;    // txtTan02
    std::string student;  // txtTan03
};

// Empty optional when nothing is priced: k outside 0-6, or a station or stop
// the type needs lies outside its table. Throws TableValueError when a value
// read strictly is not a number.
std::optional<PassengerUnitPrices> pricePassenger(const FareTables& tables,
                                                  const PassengerJourney& journey);

// A bill line's subtotal: lenient(unit) x lenient(count), plain decimal.
std::string subtotalText(std::string_view unit, std::string_view count);

}  // namespace kippurun
