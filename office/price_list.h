#pragma once
// The price list of every journey: for each departure and arrival station
// the unit prices the bill shows, the keys the determinations open, and the
// express charges, as CSV for a spreadsheet or for comparing two tariffs.
#include <string>
#include <string_view>
#include <vector>

#include "data/fare_tables.h"
#include "fare/yen.h"

namespace kippurun {

struct PriceList {
    std::string csv;  // UTF-8 with a byte-order mark, header row, CRLF line ends
    // One Japanese message per price that could not be made (a value the
    // pricing reads strictly that is no number); its cells are left empty.
    // One per unit price whose cell is no amount (data/amount.h), marked
    // "金額なし" in its row, and per 0 between two stations where its
    // ticket is sold: the run refuses to sell either.
    std::vector<std::string> failures;
};

// 107 x 107 rows, departure by departure, arrivals in station order. The
// tables must hold Gakuwari; `season` is one of the season texts and prices
// the reserved express ticket. Never throws for a damaged table value.
PriceList makePriceList(const FareTables& tables, std::string_view season);

// What a column of the list holds.
enum class PriceColumnKind {
    Journey,  // 発駅番号, 発駅, 着駅番号, 着駅
    Price,    // a unit price of a ticket type for one passenger class
    Key,      // 1/0: whether a key is open (empty: the key stays as it was)
    Stop,     // the express stops the charges are priced between
};

struct PriceColumn {
    std::string name;  // "片道乗車券 大人"
    PriceColumnKind kind = PriceColumnKind::Journey;
    std::string ticketType;  // of a price: "片道乗車券", "指定席(通常期)"
};

// One row of the list at a time, for the list itself and for comparing two
// table sets journey by journey. Reserved express charges are priced once
// per season given, each season its own pair of columns.
class JourneyPricer {
  public:
    // `tables` must hold Gakuwari and outlive the pricer.
    JourneyPricer(const FareTables& tables, std::vector<std::string> seasons);

    const std::vector<PriceColumn>& columns() const { return columns_; }

    // The fields of the journey from `departure` to `arrival`, one per
    // column. A price that cannot be made leaves its fields empty and adds
    // one Japanese message to `failures`. Never throws for a table value.
    void price(int departure, int arrival, std::vector<std::string>& fields,
               std::vector<std::string>& failures) const;

    // A price of a ticket the journey sells (its key open), as read from
    // its table cell.
    struct SoldPrice {
        Yen price;
        std::string_view ticket;  // the ticket type's name
        bool charge = false;      // an express charge, whose cell prices many journeys
    };
    // The unit prices the journey sells: the listed passenger types (a
    // student price where the student key can open, a coupon where its key
    // opens), the express coupon where JiKaiHan opens it, and the express
    // charges where an express ticket is allowed. A price that cannot be
    // made is left out (price() reports it). Never throws for a table value.
    void soldPrices(int departure, int arrival, std::vector<SoldPrice>& prices) const;

    struct ChargeColumn {
        int j;  // position in the charge-ticket list
        std::string name;
        std::string season;  // of the reserved ticket
    };

  private:
    const FareTables& tables_;
    std::vector<ChargeColumn> charges_;
    std::vector<PriceColumn> columns_;
};

// Which journeys a cell of a table file prices in the list: the journey of
// its own stations (a 107 x 107 table; cell [a, d] is the journey d -> a),
// the journeys whose express stops it stands for (a 26 x 26 charge table;
// cell [f, e], the stops e -> f), or none (a file the list does not read).
enum class ListedBy { Nothing, Journey, ExpressStops };
ListedBy listedBy(std::string_view file);

}  // namespace kippurun
