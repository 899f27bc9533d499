#pragma once
// Unit prices of the passenger ticket (adult, child, student) for the ticket
// type chosen in the ticket-type list.
#include <optional>
#include <string>
#include <string_view>

#include "data/fare_tables.h"
#include "fare/yen.h"

namespace kippurun {

struct PassengerJourney {
    int k = 0;    // ticket type, position in the ticket-type list (PassengerTypes)
    int d1 = -1;  // section 1 departure, arrival (station numbers)
    int a1 = -1;
    int d2 = -1;  // section 2, read for the continuous ticket only
    int a2 = -1;
    int e = -1;  // charge section 1 departure, arrival (express stops),
    int f = -1;  // read for a type priced between charge stops only
};

struct PassengerUnitPrices {
    // As the bill shows them: a one-way, 6-ride or express-coupon price as
    // its table holds it ("4,230"), a computed price in plain decimal.
    std::string adult;
    std::string child;
    std::string student;
    // The same amounts, exactly.
    Yen adultYen, childYen, studentYen;
};

// Empty optional when nothing is priced: k outside the list, or a station or stop
// the type needs lies outside its table. Throws TableValueError when a
// distance read strictly is not a number, or when a computed price leaves
// 64 bits. A price from a cell that is no amount (data/amount.h) is priced
// as 0 and throws when a bill line sells it (Yen::subtotal).
std::optional<PassengerUnitPrices> pricePassenger(const FareTables& tables,
                                                  const PassengerJourney& journey);

}  // namespace kippurun
