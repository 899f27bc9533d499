#pragma once
// What the journey entered allows: which charge stops a section maps to,
// whether an express or マリン ticket is possible, and which passenger keys
// the permission tables open. Each rule returns a decision; the screen
// writes it into its controls in its own order.
//
// Station numbers outside 0-106 (no station selected, position -1) have no
// stop: the stop comes back as NotSet and the screen leaves that selection
// as it was. A table look-up outside the table reads the empty text, which
// is no number and no code, so it opens nothing. Nothing here throws.
#include <optional>
#include <string_view>

#include "data/fare_tables.h"
#include "data/station_catalogue.h"

namespace kippurun {

// ---- Charge stops of a section ----

// The stops a charge section takes from its journey section. Stop indexes
// are positions in ExpressStopList or MarineStopList, NotSet for "leave the
// selection unchanged".
struct StopPlan {
    bool down = true;  // down: departure mapped (and selected) first
    int departure = NotSet;
    int arrival = NotSet;
};

// The first express stop at or after the station.
int expressUpperStop(int station);
// The last express stop at or before the station, except stations 13-19
// (坂出, or (讃)高松 when `otherEnd` is station 12) and 81-91 (伊予市).
int expressLowerStop(int station, int otherEnd);
// Down when departure < arrival (the same station runs up).
StopPlan expressStops(int departure, int arrival);
// An express ticket is possible when the stops read back from the lists
// move in the section's direction.
bool expressAllowed(bool down, int departureStop, int arrivalStop);

// The first マリン stop at or after the station; NotSet above 坂出 (20).
int marineUpperStop(int station);
// The last マリン stop at or before the station; stations 13, 17 and 19 take
// their upper stop when `otherEnd` is 11 or lower. NotSet above 坂出.
int marineLowerStop(int station, int otherEnd);
// Down when departure <= arrival (the same station counts as down).
StopPlan marineStops(int departure, int arrival);

// ---- Permission tables ----

// GHan and MHan: a cell that is a number other than 0 allows. A cell that is
// no number (empty, text) counts as 0.
bool flagAllows(std::string_view cell);
bool studentDiscountAllowed(const FareTables& tables, int arrival, int departure);
bool marineAllowed(const FareTables& tables, int arrival, int departure);

// The distance rule of one-way and return tickets: Ekiro strictly over
// 100 km. A distance that is no number counts as 0.
bool distanceAllowsStudent(const FareTables& tables, int arrival, int departure);

// KHan: only the exact texts "0", "6", "11", "60" are codes; any other text
// ("06", " 6", "") leaves both coupon keys as they are (empty optional).
struct CouponKeys {
    bool elevenTickets = false;  // the 11-ticket coupon
    bool sixTickets = false;     // the 6-ride and the weekend coupon
};
std::optional<CouponKeys> couponKeysFor(std::string_view khanCell);
std::optional<CouponKeys> couponKeys(const FareTables& tables, int arrival, int departure);

// JiKaiHan: exactly "1" allows the non-reserved express coupon.
bool expressCouponAllowed(const FareTables& tables, int arrival, int departure);

// The one-way rule of the second charge section: a journey between the
// 岡山 – 児島 stretch (below 12) and 伊予市 or beyond (above 71), either way.
bool needsSecondChargeSection(int departure, int arrival);

}  // namespace kippurun
