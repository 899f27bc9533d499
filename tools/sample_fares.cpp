#include "tools/sample_fares.h"

#include <stdexcept>
#include <string>

namespace kippurun::tools {

namespace {

struct Band {
    int upToKm;  // the band covers the kilometres after the previous band up to this one
    int yen;
};

// Sample adult fares, yen, by distance band.
constexpr Band kFareBands[] = {
    {3, 160},    {6, 220},    {10, 250},   {15, 300},   {20, 380},   {25, 480},
    {30, 570},   {35, 660},   {40, 760},   {45, 860},   {50, 970},   {60, 1110},
    {70, 1290},  {80, 1480},  {90, 1680},  {100, 1860}, {120, 2140}, {140, 2470},
    {160, 2810}, {180, 3170}, {200, 3520}, {220, 3890}, {240, 4230}, {260, 4590},
    {280, 4950}, {300, 5280}, {320, 5610}, {340, 5940}, {360, 6270},
};

// Sample unreserved limited-express charges, yen, by distance band.
constexpr Band kUnreservedBands[] = {
    {25, 330},   {50, 530},   {75, 750},   {100, 980},  {150, 1230},
    {200, 1450}, {250, 1730}, {300, 1950}, {400, 2270},
};

// Sample green-car supplements, yen, by distance band.
constexpr Band kGreenBands[] = {{100, 1300}, {200, 2800}, {400, 4190}};

// A reserved seat costs this much over an unreserved one in the regular
// season; off-peak and peak lie the same step below and above.
constexpr int kReservedSupplement = 530;
constexpr int kSeasonStep = 200;

constexpr int kStudentDiscountOverKm = 100;

template <std::size_t N>
int byBand(const Band (&bands)[N], int km) {
    if (km == 0) return 0;
    if (km > 0)
        for (const Band& band : bands)
            if (km <= band.upToKm) return band.yen;
    throw std::out_of_range("見本運賃表にない距離です: " + std::to_string(km) + " km");
}

int roundDownTo10(int yen) { return yen / 10 * 10; }

}  // namespace

int adultFare(int km) { return byBand(kFareBands, km); }

int unreservedCharge(int km) { return byBand(kUnreservedBands, km); }
int reservedRegular(int km) { return km == 0 ? 0 : unreservedCharge(km) + kReservedSupplement; }
int reservedOffPeak(int km) { return km == 0 ? 0 : reservedRegular(km) - kSeasonStep; }
int reservedPeak(int km) { return km == 0 ? 0 : reservedRegular(km) + kSeasonStep; }

int greenSupplement(int km) { return byBand(kGreenBands, km); }
int greenCharge(int km) { return unreservedCharge(km) + greenSupplement(km); }
int greenChargeChild(int km) { return childPrice(unreservedCharge(km)) + greenSupplement(km); }

int childPrice(int adult) { return roundDownTo10(adult / 2); }

int studentFare(int adultFare, int km) {
    return km > kStudentDiscountOverKm ? roundDownTo10(adultFare * 8 / 10) : adultFare;
}

int sixRideCoupon(int adultFare) { return roundDownTo10(adultFare * 6 * 9 / 10); }

int expressCoupon(int adultFare, int unreservedCharge) {
    return 3 * (adultFare + unreservedCharge);
}

std::string_view couponCode(int km, bool crossesBridge) {
    if (km == 0) return "0";
    // Over the bridge only the 6-ride coupon is sold.
    if (crossesBridge) return km <= 100 ? "60" : "0";
    if (km <= 60) return "6";
    if (km <= 100) return "11";
    return "0";
}

bool sellsSixRide(std::string_view code) { return code == "6" || code == "60"; }

bool inExpressCouponWindow(int km) { return km > 25 && km <= 200; }

}  // namespace kippurun::tools
