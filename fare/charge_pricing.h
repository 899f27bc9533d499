#pragma once
// One charge section (limited-express, green car, マリン seat, or none)
// priced into its adult and child bill lines.
#include <cstdint>
#include <optional>
#include <string>

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "fare/ticket_types.h"
#include "fare/yen.h"

namespace kippurun {

struct ChargeSection {
    int j = NoCharge;  // charge ticket, position in the charge-ticket list
    int e = -1;  // departure stop: an express stop, or a マリン stop for a マリン ticket
    int f = -1;  // arrival stop
    int k = 0;   // passenger ticket type; a return ticket doubles the charges
    // The travel date's season; none prices no reserved express ticket and
    // the マリン seat at its regular price.
    std::optional<Season> season;
    std::int64_t adults = 0;
    std::int64_t children = 0;
    std::int64_t students = 0;  // pay the adult charge
};

struct ChargeLine {
    std::string unit;  // as the bill shows it: a table's charge as stored, else plain decimal
    Yen unitPrice;     // the unit price, exactly
    std::int64_t count = 0;
    Yen amount;  // the subtotal
};

struct ChargeLines {
    std::string caption;  // the section's ticket name
    ChargeLine adult;
    ChargeLine child;
};

struct ChargePricing {
    // False for j outside the list: the run then does nothing at all for the section.
    bool touched = false;
    // Empty when nothing is priced although touched (no season for a
    // reserved ticket, or a stop outside its table): the lines stay cleared.
    std::optional<ChargeLines> lines;
    // True when the ticket's price depends on its stops, a stop lies outside
    // its table (none selected), and the section has passengers: the ticket
    // the clerk chose would silently leave the bill, so the run must not
    // go on.
    bool soldWithoutStops = false;
};

// Throws TableValueError when the マリン distance is not a number, when a
// charge sold to a passenger is no amount (data/amount.h) or 0 between two
// different stops, or when an amount leaves 64 bits.
ChargePricing priceCharge(const FareTables& tables, const ChargeSection& section);

}  // namespace kippurun
