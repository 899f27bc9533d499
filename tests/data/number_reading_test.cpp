#include "data/number_reading.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace kippurun {
namespace {

TEST(NumberReading, Lenient) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"abc", 0},       {"123", 123},   {" 1 2 3 ", 123}, {"\t4\t2", 42},
        {"12abc", 12},  {"2460円", 2460}, {"-5", -5},     {"+7", 7},        {"- 5", -5},
        {"3.5", 3.5},   {".5", 0.5},      {"5.", 5},      {"1.2.3", 1.2},   {"1e3", 1000},
        {"1E-2", 0.01}, {"2d2", 200},     {"1e", 1},      {"1e+", 1},       {"1 e 2", 100},
        {"1,000", 1},   {"--5", 0},       {".", 0},       {"-", 0},         {"0x10", 0},
        {"１２", 0},    {"1e-99999", 0},  {"0e99999", 0}, {"007", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(readLenient(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberReading, LenientSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(readLenient("1e99999"), DBL_MAX);
    EXPECT_EQ(readLenient("-1e99999999999999999999"), -DBL_MAX);
    EXPECT_EQ(readLenient(std::string(1 << 20, '9')), DBL_MAX);
    EXPECT_EQ(readLenient("0." + std::string(1 << 20, '0') + "1"), 0.0);
}

TEST(NumberReading, Strict) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12", 12},    {" 12 ", 12},  {"\t-3.5\t", -3.5}, {"+4", 4},   {"1e3", 1000},
        {"0.5", 0.5},  {"5.", 5},     {".5", 0.5},        {"", {}},    {"  ", {}},
        {"12abc", {}}, {"1 2", {}},   {"abc", {}},        {"1e", {}},  {".", {}},
        {"+", {}},     {"1,000", {}}, {"1e99999", {}},    {"- 5", {}}, {"0x1", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(readStrict(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberReading, WholeNumber) {
    const struct {
        const char* text;
        std::optional<long long> value;
    } cases[] = {
        {"3", 3},
        {" 12 ", 12},
        {"-4", -4},
        {"1e3", 1000},
        {"2.0", 2},
        {"1.5", {}},
        {"", {}},
        {"abc", {}},
        {"1 2", {}},
        {"9007199254740992", 9007199254740992LL},
        {"9007199254740994", {}},
        {"1e99999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(readWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberReading, Plain) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2460, "2460"},
        {-5, "-5"},
        {0, "0"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {2.25, "2.25"},
        {1e20, "100000000000000000000"},
        {NAN, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPlain(c.value), c.text) << c.value;
}

TEST(NumberReading, Total) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, ""},
        {0.4, ""},
        {999, "999"},
        {1000, "1,000"},
        {100000, "100,000"},
        {1200000, "1,200,000"},
        {123456789, "123,456,789"},
        {-1234, "-1,234"},
        {-100, "-100"},
        {2.5, "3"},
        {-2.5, "-3"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatTotal(c.value), c.text) << c.value;
}

// An exponent of more digits than a 64-bit number holds must not wrap round
// to a small one: 1e(2^64) is no amount of yen, and certainly not 1 yen.
TEST(NumberReading, YenWithAnExponentBeyondAnyNumber) {
    EXPECT_EQ(readLenientYen("1e18446744073709551616"), std::nullopt);
    EXPECT_EQ(readLenientYen("1e999999999999999999999"), std::nullopt);
    EXPECT_EQ(readLenientYen("5e-18446744073709551616"), std::nullopt);
    EXPECT_EQ(readLenientYen("16e1円"), 160);
}

}  // namespace
}  // namespace kippurun
