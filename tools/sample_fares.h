#pragma once
// The sample tariff: fares and charges by distance band, and the rules that
// derive child, student and coupon prices from them. Sample values only,
// shaped like a regional railway's tariff; no railway's official fares.
#include <string_view>

namespace kippurun::tools {

// Adult one-way fare for a whole-kilometre distance; 0 for 0 km.
// Throws std::out_of_range beyond the last band.
int adultFare(int km);

// Adult unreserved limited-express charge; 0 for 0 km.
int unreservedCharge(int km);
// Adult reserved-seat charge by season (regular, off-peak, peak).
int reservedRegular(int km);
int reservedOffPeak(int km);
int reservedPeak(int km);
// The green-car supplement alone, which children pay in full.
int greenSupplement(int km);
int greenCharge(int km);
int greenChargeChild(int km);

// Half, rounded down to 10 yen: the child price of any adult price.
int childPrice(int adult);
// 20 % off, rounded down to 10 yen, beyond 100 km; the adult fare otherwise.
int studentFare(int adultFare, int km);
// Six rides at 10 % off, rounded down to 10 yen.
int sixRideCoupon(int adultFare);
// Four unreserved express rides (fare and charge) for the price of three.
int expressCoupon(int adultFare, int unreservedCharge);

// "0" none, "6" both kinds, "11" the 11-ticket booklet only, "60" the 6-ride
// coupon only. `crossesBridge`: one end on the 岡山 side of 児島 (児島
// included), the other in Shikoku.
std::string_view couponCode(int km, bool crossesBridge);
bool sellsSixRide(std::string_view code);

// Unreserved express coupons are sold between two express stops this far
// apart: commuter and business trips, not the shortest hops nor the longest.
bool inExpressCouponWindow(int km);

}  // namespace kippurun::tools
