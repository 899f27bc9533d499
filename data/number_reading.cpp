#include "data/number_reading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kippurun {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isExponentMark(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// A number reduced to the characters std::from_chars accepts: digits, one
// '.', and an exponent written with 'e'. The sign is kept apart because
// from_chars takes no '+'.
struct NumberText {
    bool negative = false;
    bool hasDigits = false;
    std::string chars;
    // Rough decimal exponent of the value, only to tell overflow from
    // underflow when the conversion is out of range.
    long long magnitude = 0;
};

// Reads one number from the start of `text`. With `skipBlanks` blanks
// anywhere are passed over (the lenient reading); otherwise a blank ends
// the number. Returns how many characters of `text` the number used.
std::size_t scanNumber(std::string_view text, bool skipBlanks, NumberText& out) {
    std::size_t pos = 0;
    const auto skip = [&] {
        while (skipBlanks && pos < text.size() && isBlank(text[pos])) ++pos;
    };
    const auto at = [&](auto predicate) { return pos < text.size() && predicate(text[pos]); };
    const auto isSign = [](char c) { return c == '+' || c == '-'; };

    skip();
    if (at(isSign)) {
        out.negative = text[pos] == '-';
        ++pos;
        skip();
    }
    long long significantIntegerDigits = 0;
    long long zerosAfterPoint = 0;
    bool nonZeroSeen = false;
    while (at(isDigit)) {
        nonZeroSeen = nonZeroSeen || text[pos] != '0';
        if (nonZeroSeen) ++significantIntegerDigits;
        out.chars.push_back(text[pos]);
        out.hasDigits = true;
        ++pos;
        skip();
    }
    if (at([](char c) { return c == '.'; })) {
        out.chars.push_back('.');
        ++pos;
        skip();
        while (at(isDigit)) {
            if (!nonZeroSeen && text[pos] == '0') ++zerosAfterPoint;
            nonZeroSeen = nonZeroSeen || text[pos] != '0';
            out.chars.push_back(text[pos]);
            out.hasDigits = true;
            ++pos;
            skip();
        }
    }
    if (!out.hasDigits) return 0;
    std::size_t used = pos;
    if (at(isExponentMark)) {
        ++pos;
        skip();
        bool negativeExponent = false;
        if (at(isSign)) {
            negativeExponent = text[pos] == '-';
            ++pos;
            skip();
        }
        // An exponent mark without digits does not belong to the number.
        if (at(isDigit)) {
            out.chars += negativeExponent ? "e-" : "e";
            long long exponent = 0;
            while (at(isDigit)) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[pos] - '0');
                out.chars.push_back(text[pos]);
                ++pos;
                used = pos;
                skip();
            }
            out.magnitude = negativeExponent ? -exponent : exponent;
        }
    }
    out.magnitude += significantIntegerDigits > 0 ? significantIntegerDigits : -zerosAfterPoint;
    return used;
}

// Converts the gathered characters; an overflow saturates to the largest
// finite value, an underflow gives zero.
double convert(const NumberText& number) {
    double value = 0.0;
    const char* first = number.chars.data();
    const char* last = first + number.chars.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        value = number.magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        value = 0.0;
    }
    return number.negative ? -value : value;
}

}  // namespace

double readLenient(std::string_view text) {
    NumberText number;
    scanNumber(text, true, number);
    if (!number.hasDigits) return 0.0;
    return convert(number);
}

bool hasLeadingNumber(std::string_view text) {
    NumberText number;
    scanNumber(text, true, number);
    return number.hasDigits;
}

std::optional<double> readStrict(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    const std::string_view core = text.substr(begin, end - begin);
    NumberText number;
    const std::size_t used = scanNumber(core, false, number);
    if (!number.hasDigits || used != core.size()) return std::nullopt;
    const double value = convert(number);
    // A number too large to hold is no number this program can use.
    if (std::fabs(value) == std::numeric_limits<double>::max()) return std::nullopt;
    return value;
}

std::string formatPlain(double value) {
    if (std::isnan(value)) value = 0.0;
    if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
    if (value == 0.0) return "0";  // also for -0
    char buffer[400];
    const bool whole = std::trunc(value) == value;
    const auto result =
        whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatTotal(double value) {
    if (std::isnan(value)) return "";
    if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
    const double rounded = std::round(value);
    if (rounded == 0.0) return "";
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded), std::chars_format::fixed);
    const std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 + 1);
    if (rounded < 0) out.push_back('-');
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::optional<std::int64_t> readLenientYen(std::string_view text) {
    NumberText number;
    scanNumber(text, true, number);
    if (!number.hasDigits) return 0;

    // The digits of the number without its point, and the power of ten
    // they are to be multiplied by.
    std::string digits;
    long long exponent = 0;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.chars.size() && number.chars[i] != 'e'; ++i) {
        if (number.chars[i] == '.') {
            afterPoint = true;
            continue;
        }
        digits.push_back(number.chars[i]);
        if (afterPoint) --exponent;
    }
    if (i < number.chars.size()) {
        // The written exponent may have any number of digits; beyond a
        // billion it means "too large" or "a fraction" all the same.
        const bool negative = number.chars[i + 1] == '-';
        long long written = 0;
        for (std::size_t j = i + (negative ? 2 : 1); j < number.chars.size(); ++j)
            if (written < 1'000'000'000) written = written * 10 + (number.chars[j] - '0');
        exponent += negative ? -written : written;
    }
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return 0;
    digits.erase(0, firstNonZero);
    while (exponent < 0) {
        if (digits.back() != '0') return std::nullopt;  // a fraction of a yen
        digits.pop_back();
        ++exponent;
    }
    if (static_cast<long long>(digits.size()) + exponent > 19) return std::nullopt;
    digits.append(static_cast<std::size_t>(exponent), '0');
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
        (number.negative ? 1 : 0);
    if (ec != std::errc() || end != digits.data() + digits.size() || magnitude > limit)
        return std::nullopt;
    if (!number.negative) return static_cast<std::int64_t>(magnitude);
    return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                              : -static_cast<std::int64_t>(magnitude);
}

std::string formatTotal(std::int64_t value) {
    if (value == 0) return "";
    const std::string digits = std::to_string(value < 0 ? -static_cast<std::uint64_t>(value)
                                                        : static_cast<std::uint64_t>(value));
    std::string out;
    if (value < 0) out.push_back('-');
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::int64_t readCount(std::string_view text) { return readWholeNumber(text).value_or(0); }

std::optional<long long> readWholeNumber(std::string_view text) {
    constexpr double exactLimit = 9007199254740992.0;  // 2^53
    const std::optional<double> value = readStrict(text);
    if (!value || *value != std::floor(*value) || std::fabs(*value) > exactLimit)
        return std::nullopt;
    return static_cast<long long>(*value);
}

}  // namespace kippurun
