#pragma once
// One charge section (limited-express, green car, マリン seat, or none)
// priced into its adult and child bill lines.
#include <optional>
#include <string>
#include <string_view>

#include "data/fare_tables.h"
#include "fare/yen.h"

namespace kippurun {

struct ChargeSection {
    int j = 5;                  // charge ticket, position in the charge-ticket list (0-5)
    int e = -1;                 // departure stop: express stop (j 0-2) or マリン stop (j 3-4)
    int f = -1;                 // arrival stop
    int k = 0;                  // passenger ticket type; 1 (return) doubles the charges
    std::string_view season;    // txtSeason
    std::string_view adults;    // txtNinzu
    std::string_view children;  // txtNinzuK
    std::string_view students;  // txtNinzuG
};

struct ChargeLine {
    std::string unit, count, subtotal;
    Yen amount;     // the subtotal, exactly
    Yen unitPrice;  // the unit price, exactly
};

struct ChargeLines {
    std::string caption;       // the section's ticket-name label
    ChargeLine adult;          // line 21 / 31
    ChargeLine child;          // line 22 / 32
    bool captionLast = false;  // マリン tickets write the lines before the caption
};

struct ChargePricing {
    // False for j outside 0-5: the run then does nothing at all for the section.
    bool touched = false;
    // Empty when nothing is priced although touched (a season text matching
    // none of the three, or a stop outside its table): the lines stay cleared.
    std::optional<ChargeLines> lines;
    // True when the ticket's price depends on its stops, a stop lies outside
    // its table (none selected), and the section has passengers: the ticket
    // the clerk chose would silently leave the bill, so the run must not
    // go on.
    bool soldWithoutStops = false;
};

// Throws TableValueError when the マリン distance is not a number, when a
// charge is not a whole number of yen, when a charge sold to a passenger is
// no amount (empty, or not starting with a number), or when an amount
// leaves 64 bits.
ChargePricing priceCharge(const FareTables& tables, const ChargeSection& section);

}  // namespace kippurun
