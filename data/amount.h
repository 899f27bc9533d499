#pragma once
// What a fare or charge cell must hold to be an amount of yen. The check,
// the run, the price list and the comparison of two table sets all read a
// cell through here, so a cell the check refuses never prices a bill.
//
// Read: blanks (space, tab) around the value are passed over; the value is
// plain ASCII digits ("4230", "0160" is 160) or digits grouped by thousands
// as a spreadsheet writes them ("4,230", "1,234,567": one to three leading
// digits, then groups of ",ddd"), at most kLargestAmountYen.
// Refused, with the reason: the empty value, a sign ("-100", "+100"), a
// decimal point ("4230.9", "4230.0"), an exponent ("4e3"), a hexadecimal
// number ("0x10"), full-width digits ("４２３０"), a unit or any other
// character ("4230円"), commas that do not group by thousands ("42,30"),
// and an amount above the limit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kippurun {

// A bill multiplies a unit price by at most 10 (coupons; a return or a
// continuous ticket doubles), a count of at most four digits (adults and
// students share the adult charge line, so up to 19,998), and adds seven
// lines. Fares up to this limit keep every amount within the 64 bits the
// program adds up in, so no bill is ever refused for its size.
inline constexpr std::int64_t kLargestAmountYen = 999'999'999'999;

struct AmountReading {
    // The amount; empty when the cell is refused.
    std::optional<std::int64_t> yen;
    // Read from digits grouped by thousands: the check says how it was read.
    bool grouped = false;
    // Why the cell is refused, in Japanese, to follow the cell's name
    // ("「-100」は負の金額です" reads "…" + refusal); empty when read.
    std::string refusal;
};

AmountReading readAmount(std::string_view text);

// Why an amount of 0 read from a cell between two different stops is
// refused where its ticket is sold, in the same form as a refusal.
std::string_view zeroAmountRefusal();

}  // namespace kippurun
