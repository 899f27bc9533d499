#pragma once
// Amounts of yen, held and added exactly as 64-bit integers. An amount
// remembers the table cell it came from, so that a value that cannot be
// priced exactly stops the run with a message naming that cell.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/fare_tables.h"
#include "data/table.h"

namespace kippurun {

class Yen {
  public:
    Yen() = default;
    // A price built into the program.
    static Yen fixed(std::int64_t value);
    // The cell T[arrival, departure] read as data/amount.h says. A cell it
    // refuses makes a price of 0 that is no amount, fit only for lines that
    // sell nothing. `file` names the table in messages and must outlive the
    // amount (a literal, or a name of the table-file list).
    static Yen fromCell(const Table& table, std::string_view file, int arrival, int departure);
    // The same for one of the fare tables, named after its file.
    static Yen fromCell(const FareTables& tables, TableMember table, int arrival, int departure);

    std::int64_t value() const { return value_; }
    std::string text() const { return std::to_string(value_); }
    // False when a cell it was made of is refused as an amount.
    bool isAmount() const { return amount_; }
    // True when made from a cell holding 0 between two different stops.
    bool zeroBetweenStops() const { return zeroBetweenStops_; }
    // The cell it names in messages; an empty file for a built-in price.
    std::string_view file() const { return file_; }
    int arrival() const { return arrival_; }
    int departure() const { return departure_; }
    // As a bill line shows it as a unit price: a cell as stored ("4,230"
    // stays "4,230"; such a line sells nothing when it is no amount), a
    // built-in price in plain decimal.
    std::string shown() const { return file_.empty() ? text() : text_; }

    // Throw TableValueError naming the cell of the amount (of `other` when
    // this one is built in) when the result leaves 64 bits.
    Yen times(std::int64_t factor) const;
    Yen plus(const Yen& other) const;
    // A bill line's amount: this unit price times the count. A count of 1
    // or more throws TableValueError naming the cell by file, value number,
    // arrival and departure when a cell it was made of is no amount, or
    // holds 0 between two different stops: no ticket is sold for nothing
    // because its cell was damaged.
    Yen subtotal(std::int64_t count) const;

  private:
    [[noreturn]] void tooLarge(const Yen* other = nullptr) const;

    std::int64_t value_ = 0;
    std::string_view file_;  // empty: built in
    int arrival_ = -1;
    int departure_ = -1;
    long long valueNumber_ = -1;
    std::string text_;
    std::string refusal_;  // why the cell is no amount
    bool amount_ = true;
    bool zeroBetweenStops_ = false;
};

}  // namespace kippurun
