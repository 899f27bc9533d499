// The three readings of a number text and the two ways of writing one, on
// any text: no reading gives NaN or infinity, the strict readings agree with
// the lenient one, and what is written reads back as the same number. An
// amount cell is read or refused with a reason, never both, and an amount
// read is the number its digits write.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "data/amount.h"
#include "data/number_reading.h"
#include "fuzz/fuzz_check.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "#,###": a comma before every third digit from the right, no leading 0.
bool isGroupedTotal(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    if (text.empty() || text.front() == '0' || text.front() == ',') return false;
    for (std::size_t fromRight = 1; fromRight <= text.size(); ++fromRight) {
        const char c = text[text.size() - fromRight];
        if (fromRight % 4 == 0 ? c != ',' : !isDigit(c)) return false;
    }
    return true;
}

void checkWritten(double value) {
    const double largest = std::numeric_limits<double>::max();
    const std::string plain = kippurun::formatPlain(value);
    if (std::fabs(value) < largest) {
        const std::optional<double> back = kippurun::readStrict(plain);
        FUZZ_CHECK(back && *back == value);
    }
    const std::string total = kippurun::formatTotal(value);
    FUZZ_CHECK(total.empty() == (std::round(value) == 0.0));
    FUZZ_CHECK(total.empty() || isGroupedTotal(total));
    if (!total.empty()) FUZZ_CHECK((total.front() == '-') == (value < 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double lenient = kippurun::readLenient(text);
    FUZZ_CHECK(std::isfinite(lenient));
    checkWritten(lenient);

    const std::optional<double> strict = kippurun::readStrict(text);
    if (strict) {
        FUZZ_CHECK(std::isfinite(*strict));
        // A text that is one number is read as that number either way.
        FUZZ_CHECK(*strict == lenient);
    }

    const std::optional<long long> whole = kippurun::readWholeNumber(text);
    if (whole) {
        FUZZ_CHECK(strict && static_cast<double>(*whole) == *strict);
        FUZZ_CHECK(*whole <= (1LL << 53) && *whole >= -(1LL << 53));
        FUZZ_CHECK(kippurun::formatPlain(*strict) == std::to_string(*whole));
    } else if (strict) {
        FUZZ_CHECK(std::trunc(*strict) != *strict || std::fabs(*strict) > 0x1p53);
    }

    // Amounts of yen, exactly: the lenient reading's whole number.
    if (const std::optional<std::int64_t> yen = kippurun::readLenientYen(text)) {
        if (*yen >= -(1LL << 53) && *yen <= (1LL << 53))
            FUZZ_CHECK(static_cast<double>(*yen) == lenient);
        const std::string total = kippurun::formatTotal(*yen);
        FUZZ_CHECK(total.empty() == (*yen == 0));
        FUZZ_CHECK(total.empty() || isGroupedTotal(total));
        std::string digits;
        for (char c : total)
            if (c != ',') digits += c;
        FUZZ_CHECK(*yen == 0 || digits == std::to_string(*yen));
    }

    const kippurun::AmountReading amount = kippurun::readAmount(text);
    FUZZ_CHECK(amount.yen.has_value() == amount.refusal.empty());
    if (amount.yen) {
        FUZZ_CHECK(*amount.yen >= 0 && *amount.yen <= kippurun::kLargestAmountYen);
        std::string digits;
        bool comma = false;
        for (const char c : text) {
            if (isDigit(c)) digits += c;
            comma = comma || c == ',';
            FUZZ_CHECK(isDigit(c) || c == ',' || c == ' ' || c == '\t');
        }
        FUZZ_CHECK(comma == amount.grouped);
        const std::size_t first = digits.find_first_not_of('0');
        FUZZ_CHECK(first == std::string::npos
                       ? *amount.yen == 0
                       : digits.substr(first) == std::to_string(*amount.yen));
    }
    return 0;
}
