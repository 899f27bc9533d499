#pragma once
// The ticket types of the sales screen's three ticket lists, each one entry:
// the passenger ticket types and the charge ticket types of either charge
// section. A type's list position is its place in its array and its name is
// the list's text; the entry says what kind of ticket it is, what the
// journey must allow before it is sold, and which rule and tables price it.
// A new type is a new entry here, plus its rule when none of these fits.
#include <array>
#include <cstddef>
#include <string_view>

#include "data/fare_tables.h"

namespace kippurun {

enum class TicketKind {
    None,     // a plain passenger ticket, or no charge ticket at all
    Coupon,   // a booklet: counted in 冊数, sold without charge tickets
    Express,  // a limited-express charge, priced between express stops
    Marine,   // a マリン seat, priced between マリン stops
};

// What the journey must allow (the permission determinations) before a type
// is sold. A passenger type refused falls back to the one-way ticket, a
// charge type to "なし".
enum class TicketPermit {
    Always,
    ElevenTickets,      // KHan opens the 11-ticket coupon
    SixTickets,         // KHan opens the 6-ride coupon
    ExpressCoupon,      // JiKaiHan opens the unreserved express coupon
    UnreservedExpress,  // the express determinations open the unreserved express charge
    ReservedExpress,    // ... the reserved-seat express charge
    GreenExpress,       // ... the green-car express charge
    MarineSeat,         // MarineHan opens the マリン seat
    MarineGreen,        // MarineHan opens the マリン green seat
};

enum class PassengerRule {
    AsStored,    // the cells as the tables hold them
    Doubled,     // twice the cells: a ticket for both directions
    Continuous,  // the cells of two journey sections added; the student price by distance
    TimesTen,    // ten times the cells, which must be numbers
};

struct PassengerType {
    std::string_view name;
    TicketKind kind;
    TicketPermit permit;
    PassengerRule rule;
    TableMember adult;
    TableMember child;
    // No student table: no student ticket is sold, its unit price is "0".
    TableMember student = nullptr;
    // Priced between the express stops of charge section 1 rather than
    // between the journey's stations.
    bool chargeStops = false;
};

inline constexpr std::array PassengerTypes = {
    PassengerType{"片道乗車券", TicketKind::None, TicketPermit::Always, PassengerRule::AsStored,
                  &FareTables::Otona, &FareTables::Kodomo, &FareTables::Gakuwari},
    PassengerType{"往復乗車券", TicketKind::None, TicketPermit::Always, PassengerRule::Doubled,
                  &FareTables::Otona, &FareTables::Kodomo, &FareTables::Gakuwari},
    PassengerType{"連続乗車券", TicketKind::None, TicketPermit::Always, PassengerRule::Continuous,
                  &FareTables::Otona, &FareTables::Kodomo, &FareTables::Gakuwari},
    PassengerType{"普通回数券(11枚)", TicketKind::Coupon, TicketPermit::ElevenTickets,
                  PassengerRule::TimesTen, &FareTables::Otona, &FareTables::Kodomo},
    PassengerType{"６回回数券", TicketKind::Coupon, TicketPermit::SixTickets,
                  PassengerRule::AsStored, &FareTables::Kai6, &FareTables::Kai6K},
    PassengerType{"自由席特急回数券", TicketKind::Coupon, TicketPermit::ExpressCoupon,
                  PassengerRule::AsStored, &FareTables::Jiyukai, &FareTables::JiyuKaiK, nullptr,
                  true},
    PassengerType{"週末回数券", TicketKind::Coupon, TicketPermit::SixTickets,
                  PassengerRule::TimesTen, &FareTables::Otona, &FareTables::Kodomo},
};

// The passenger types the keys and rules name, by list position.
inline constexpr int OneWayTicket = 0, ReturnTicket = 1, ContinuousTicket = 2;
inline constexpr int ElevenTicketCoupon = 3, SixRideCoupon = 4, ExpressCouponTicket = 5;
static_assert(PassengerTypes[ContinuousTicket].rule == PassengerRule::Continuous &&
              PassengerTypes[ExpressCouponTicket].chargeStops);

enum class ChargeRule {
    FromTables,        // the adult and child tables' cells
    ReservedBySeason,  // the reserved-seat tables of the travel date's season
    MarineSeat,        // built-in prices by season, whatever the stops
    MarineGreen,       // built-in prices by the distance between the stops (MKiro)
    Nothing,           // no ticket: 0 yen
};

struct ChargeType {
    std::string_view name;
    TicketKind kind;
    TicketPermit permit;
    ChargeRule rule;
    TableMember adult = nullptr;
    TableMember child = nullptr;
};

inline constexpr std::array ChargeTypes = {
    ChargeType{"自由席特急券", TicketKind::Express, TicketPermit::UnreservedExpress,
               ChargeRule::FromTables, &FareTables::Jiyu, &FareTables::JiyuK},
    // Kansan, Tujo or Hanbo and their child tables, by season.
    ChargeType{"指定席特急券", TicketKind::Express, TicketPermit::ReservedExpress,
               ChargeRule::ReservedBySeason},
    ChargeType{"グリーン特急券", TicketKind::Express, TicketPermit::GreenExpress,
               ChargeRule::FromTables, &FareTables::Green, &FareTables::GreenK},
    ChargeType{"マリン指定券", TicketKind::Marine, TicketPermit::MarineSeat,
               ChargeRule::MarineSeat},
    ChargeType{"マリングリーン券", TicketKind::Marine, TicketPermit::MarineGreen,
               ChargeRule::MarineGreen},
    ChargeType{"なし", TicketKind::None, TicketPermit::Always, ChargeRule::Nothing},
};

// The charge types the keys and rules name, by list position.
inline constexpr int UnreservedExpress = 0, ReservedExpress = 1, GreenExpress = 2;
inline constexpr int MarineSeat = 3, MarineGreen = 4, NoCharge = 5;
static_assert(ChargeTypes[MarineGreen].rule == ChargeRule::MarineGreen &&
              ChargeTypes[NoCharge].rule == ChargeRule::Nothing);

// The entry at a list position; nullptr outside the list (no selection).
constexpr const PassengerType* passengerType(int position) {
    return position >= 0 && static_cast<std::size_t>(position) < PassengerTypes.size()
               ? &PassengerTypes[static_cast<std::size_t>(position)]
               : nullptr;
}
constexpr const ChargeType* chargeType(int position) {
    return position >= 0 && static_cast<std::size_t>(position) < ChargeTypes.size()
               ? &ChargeTypes[static_cast<std::size_t>(position)]
               : nullptr;
}

// TicketKind::None outside the list.
constexpr TicketKind passengerKind(int position) {
    const PassengerType* type = passengerType(position);
    return type ? type->kind : TicketKind::None;
}
constexpr TicketKind chargeKind(int position) {
    const ChargeType* type = chargeType(position);
    return type ? type->kind : TicketKind::None;
}

constexpr bool isCoupon(int position) { return passengerKind(position) == TicketKind::Coupon; }

}  // namespace kippurun
