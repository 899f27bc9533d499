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
    // The cell T[arrival, departure] read the lenient way, exactly. Throws
    // TableValueError when its leading number is not a whole number of yen
    // within 64 bits. `file` names the table in messages and must outlive
    // the amount (a literal, or a name of the table-file list).
    static Yen fromCell(const Table& table, std::string_view file, int arrival, int departure);
    // The same for one of the fare tables, named after its file.
    static Yen fromCell(const FareTables& tables, TableMember table, int arrival, int departure);

    std::int64_t value() const { return value_; }
    std::string text() const { return std::to_string(value_); }
    // False when a cell it was made of holds no amount at all: empty, or
    // not starting with a number. Such a cell reads as 0 yen and is fit only
    // for lines that sell nothing.
    bool isAmount() const { return amount_; }

    // Throw TableValueError naming the cell of the amount (of `other` when
    // this one is built in) when the result leaves 64 bits.
    Yen times(std::int64_t factor) const;
    Yen plus(const Yen& other) const;
    // A bill line's amount: this unit price times the count. A count of 1
    // or more of a price that is no amount throws TableValueError naming
    // that cell by file, value number, arrival and departure: no ticket is
    // sold for nothing because its cell was empty.
    Yen subtotal(std::int64_t count) const;

  private:
    [[noreturn]] void tooLarge(const Yen* other = nullptr) const;

    std::int64_t value_ = 0;
    std::string_view file_;  // empty: built in
    int arrival_ = -1;
    int departure_ = -1;
    long long valueNumber_ = -1;
    std::string text_;
    bool amount_ = true;
};

}  // namespace kippurun
