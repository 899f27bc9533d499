#pragma once
// The three ways this program reads and writes numbers held as texts. Every
// table value, count box and bill box is a text; these are the only
// conversions, used everywhere.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kippurun {

// The leading decimal number of the text (sign, digits, decimal point,
// exponent), blanks anywhere in it ignored; 0 when the text starts with no
// number (the empty text included). Never throws; huge exponents saturate
// to a finite value.
double readLenient(std::string_view text);

// The whole text must be one number; blanks around it are allowed.
// Empty optional otherwise (the empty text included).
std::optional<double> readStrict(std::string_view text);

// Whether the text starts with a number, blanks ignored: false where the
// lenient reading gives 0 for want of one (the empty text included).
bool hasLeadingNumber(std::string_view text);

// A strict reading that is a whole number small enough to be held exactly
// (within +-2^53), such as a passenger count; empty optional otherwise.
std::optional<long long> readWholeNumber(std::string_view text);

// The lenient reading of an amount of yen, exactly: the leading number of
// the text as a whole number within 64 bits (0 when the text starts with no
// number). Empty optional when that number has a fraction ("160.5") or does
// not fit ("1e308"); "160円" is 160 and "1.50e2" is 150.
std::optional<std::int64_t> readLenientYen(std::string_view text);

// The passengers a count box holds: its whole number, or 0 for a box that
// is empty or holds anything else.
std::int64_t readCount(std::string_view text);

// A computed amount or count as a plain decimal: no separators, no decimal
// point for a whole number (2460, -5, 0); a fraction in shortest form.
std::string formatPlain(double value);

// The total "#,###": thousands separated by commas, no decimals (rounded half
// away from zero), and the empty text for 0.
std::string formatTotal(double value);
// The same for amounts held exactly.
std::string formatTotal(std::int64_t value);

}  // namespace kippurun
