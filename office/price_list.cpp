#include "office/price_list.h"

#include <algorithm>
#include <array>
#include <optional>

#include "data/station_catalogue.h"
#include "fare/charge_pricing.h"
#include "fare/determinations.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"
#include "fare/ticket_types.h"

namespace kippurun {

namespace {

// The passenger types priced by one journey alone: not the continuous
// ticket (two journeys) nor the express coupon (priced between charge
// stops). A type without student tickets has no student column: its
// student price is always "0".
bool listed(const PassengerType& type) {
    return type.rule != PassengerRule::Continuous && !type.chargeStops;
}

// A field as a spreadsheet reads it back: quoted when it holds a comma, a
// double quote or a line break (a table value in quotes may hold any).
void appendField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

class Row {
  public:
    explicit Row(std::string& out) : out_(out) {}
    Row& operator<<(std::string_view text) {
        if (!first_) out_.push_back(',');
        first_ = false;
        appendField(out_, text);
        return *this;
    }
    ~Row() { out_ += "\r\n"; }

  private:
    std::string& out_;
    bool first_ = true;
};

// A unit price whose cell holds no amount (empty, or no leading number):
// the bill sells it to no one, so the list shows this mark, never a price.
constexpr std::string_view kNoAmount = "金額なし";

std::string_view unitField(const std::string& unit, const Yen& price) {
    return price.isAmount() ? std::string_view(unit) : kNoAmount;
}

std::string_view nameOf(int station) { return stationName(station).value_or(""); }
std::string_view flagOf(bool allowed) { return allowed ? "1" : "0"; }

void writeHeader(std::string& out, std::string_view season) {
    Row row(out);
    row << "発駅番号"
        << "発駅"
        << "着駅番号"
        << "着駅";
    for (const PassengerType& type : PassengerTypes) {
        if (!listed(type)) continue;
        row << std::string(type.name) + " 大人" << std::string(type.name) + " 小児";
        if (type.student) row << std::string(type.name) + " 学割";
    }
    row << "学割表"
        << "学生キー"
        << "回数券キー"
        << "６枚回数キー"
        << "特急キー"
        << "マリンキー"
        << "特急発"
        << "特急着";
    const std::string reserved = "指定席(" + std::string(season) + ")";
    for (const ChargeType& charge : ChargeTypes) {
        if (charge.kind != TicketKind::Express) continue;
        const std::string name =
            charge.rule == ChargeRule::ReservedBySeason ? reserved : std::string(charge.name);
        row << name + " 大人" << name + " 小児";
    }
}

void writeJourney(std::string& out, const FareTables& tables, std::string_view season, int d, int a,
                  std::vector<std::string>& failures) {
    Row row(out);
    row << std::to_string(d) << nameOf(d) << std::to_string(a) << nameOf(a);

    for (std::size_t k = 0; k < PassengerTypes.size(); ++k) {
        const PassengerType& type = PassengerTypes[k];
        if (!listed(type)) continue;
        std::optional<PassengerUnitPrices> prices;
        try {
            prices = pricePassenger(tables, PassengerJourney{static_cast<int>(k), d, a});
        } catch (const TableValueError& failure) {
            failures.push_back(std::string(nameOf(d)) + " → " + std::string(nameOf(a)) + "（" +
                               std::string(type.name) + "）: " + failure.what());
        }
        if (prices) {
            row << unitField(prices->adult, prices->adultYen)
                << unitField(prices->child, prices->childYen);
            if (type.student) row << unitField(prices->student, prices->studentYen);
        } else {
            row << ""
                << "";
            if (type.student) row << "";
        }
    }

    // The screen's own order decides the student key of a one-way ticket:
    // the ticket-type handler applies the distance rule after the table.
    row << flagOf(studentDiscountAllowed(tables, a, d))
        << flagOf(distanceAllowsStudent(tables, a, d));
    if (const std::optional<CouponKeys> coupons = couponKeys(tables, a, d)) {
        row << flagOf(coupons->elevenTickets) << flagOf(coupons->sixTickets);
    } else {
        row << ""
            << "";  // no code: the keys stay as the journey before left them
    }
    const StopPlan stops = expressStops(d, a);
    const bool express = stops.departure != NotSet && stops.arrival != NotSet &&
                         expressAllowed(stops.down, stops.departure, stops.arrival);
    row << flagOf(express) << flagOf(marineAllowed(tables, a, d));
    row << (express ? nameOf(stationOfExpressStop(stops.departure)) : "")
        << (express ? nameOf(stationOfExpressStop(stops.arrival)) : "");

    for (std::size_t j = 0; j < ChargeTypes.size(); ++j) {
        if (ChargeTypes[j].kind != TicketKind::Express) continue;
        std::optional<ChargeLines> lines;
        if (express) {
            ChargeSection section;
            section.j = static_cast<int>(j);
            section.e = stops.departure;
            section.f = stops.arrival;
            section.season = seasonNamed(season);
            // Unit prices only: no passengers, so no subtotal is made.
            try {
                lines = priceCharge(tables, section).lines;
            } catch (const TableValueError& failure) {
                // The same charge cell prices many journeys: named once.
                if (std::find(failures.begin(), failures.end(), failure.what()) == failures.end())
                    failures.push_back(failure.what());
            }
        }
        if (lines) {
            row << unitField(lines->adult.unit, lines->adult.unitPrice)
                << unitField(lines->child.unit, lines->child.unitPrice);
        } else {
            row << ""
                << "";
        }
    }
}

}  // namespace

PriceList makePriceList(const FareTables& tables, std::string_view season) {
    PriceList list;
    list.csv.reserve(static_cast<std::size_t>(StationCount) * StationCount * 160);
    list.csv += "\xEF\xBB\xBF";  // so that a spreadsheet takes the file for UTF-8
    writeHeader(list.csv, season);
    for (int d = 0; d < StationCount; ++d) {
        for (int a = 0; a < StationCount; ++a)
            writeJourney(list.csv, tables, season, d, a, list.failures);
    }
    return list;
}

}  // namespace kippurun
