#include "data/value_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace kippurun {
namespace {

std::vector<std::string> valuesOf(std::string_view text, std::size_t wanted = 100) {
    std::vector<std::string> values;
    for (const auto& [offset, length] : scanValues(text, wanted).spans) {
        values.emplace_back(text.substr(offset, length));
    }
    return values;
}

using Values = std::vector<std::string>;

TEST(ValueScanner, SeparatorsQuotesAndBlanks) {
    const struct {
        const char* text;
        Values values;
    } cases[] = {
        // The last line break of the file ends the last line; a comma always
        // has a value after it, even an empty one at the very end.
        {"1,2\n", {"1", "2"}},
        {"1,2,\n", {"1", "2", ""}},
        {"1,2,", {"1", "2", ""}},
        {"1,2", {"1", "2"}},
        {"", {}},
        {"\n", {""}},
        {"1\n\n2", {"1", "", "2"}},
        {",,", {"", "", ""}},
        {"1\r\n2\r\n", {"1", "2"}},
        {"1\r2\r", {"1", "2"}},
        {"1\n\r2", {"1", "", "2"}},
        {" a , b ", {"a", "b"}},
        {"\t7\t,8", {"7", "8"}},
        {"a b,c", {"a b", "c"}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\" a \",x", {" a ", "x"}},
        {"  \"q\"  ,r", {"q", "r"}},
        {"\"a\"junk,b", {"a", "b"}},
        {"\"a\nb\",c", {"a\nb", "c"}},
        {"\"\",\"\"", {"", ""}},
        {"\"open,to the end", {"open,to the end"}},
        {"x\"y\",z", {"x\"y\"", "z"}},
        {"\xEF\xBB\xBF"
         "1,2",
         {"1", "2"}},
        {"\xEF\xBB\xBF", {}},
        {"1,\xEF\xBB\xBF"
         "2",
         {"1",
          "\xEF\xBB\xBF"
          "2"}},
    };
    for (const auto& c : cases) EXPECT_EQ(valuesOf(c.text), c.values) << '"' << c.text << '"';
}

TEST(ValueScanner, TakesOnlyTheValuesWanted) {
    EXPECT_EQ(valuesOf("1,2,3\n4", 2), (Values{"1", "2"}));
    EXPECT_EQ(valuesOf("1,2", 5), (Values{"1", "2"}));
    const ValueScan scan = scanValues("1,2,3,4", 2);
    EXPECT_EQ(scan.end, 4u);  // just past the comma after the second value
}

TEST(ValueScanner, LineAndFieldOfAValue) {
    const std::string text = "a,b\nc,d,e\r\nf\r\"x\ny\",z\nw";
    const struct {
        std::size_t value, line, field;
    } cases[] = {{0, 1, 1}, {1, 1, 2}, {2, 2, 1}, {4, 2, 3},
                 {5, 3, 1}, {6, 4, 1}, {7, 5, 2}, {8, 6, 1}};
    for (const auto& c : cases) {
        const DataFileError::Position position = valuePosition(text, c.value);
        EXPECT_EQ(position.valueNumber, c.value);
        EXPECT_EQ(position.line, c.line) << c.value;
        EXPECT_EQ(position.field, c.field) << c.value;
    }
    EXPECT_EQ(valuePosition("\xEF\xBB\xBF"
                            "1,2",
                            1)
                  .field,
              2u);
}

// The same rules, written out plainly, to check the block-wise search against.
Values referenceValues(std::string_view t) {
    if (t.substr(0, 3) == "\xEF\xBB\xBF") t.remove_prefix(3);
    Values values;
    const auto separator = [&](std::size_t p) {
        return t[p] == ',' || t[p] == '\n' || t[p] == '\r';
    };
    std::size_t pos = 0;
    while (pos < t.size() || (!values.empty() && t[pos - 1] == ',')) {
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
        std::string value;
        if (pos < t.size() && t[pos] == '"') {
            const std::size_t close = std::min(t.find('"', pos + 1), t.size());
            value = t.substr(pos + 1, close - pos - 1);
            pos = std::min(close + 1, t.size());
            while (pos < t.size() && !separator(pos)) ++pos;
        } else {
            const std::size_t begin = pos;
            while (pos < t.size() && !separator(pos)) ++pos;
            value = t.substr(begin, pos - begin);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
        }
        values.push_back(value);
        if (pos == t.size()) break;
        pos += t.substr(pos, 2) == "\r\n" ? 2 : 1;
    }
    return values;
}

Values packedValuesOf(std::string_view text, std::size_t wanted) {
    const PackedValues packed = packValues(text, wanted);
    Values values;
    std::uint32_t begin = 0;
    for (const std::uint32_t end : packed.ends) {
        values.emplace_back(packed.text.substr(begin, end - begin));
        begin = end;
    }
    EXPECT_EQ(packed.text.size(), begin);
    EXPECT_EQ(packed.end, scanValues(text, wanted).end) << '"' << text << '"';
    return values;
}

// Runs of digits long and short, so that values and the careful bytes
// (blanks, quotes) fall on every side of the 64-byte blocks.
TEST(ValueScanner, AgreesWithThePlainRulesOnRandomTexts) {
    std::mt19937 random(2024);
    const std::string alphabets[] = {"1234567,,,,\n\n\r  \t\"ab", "12345678901234567890,\r\n"};
    for (int round = 0; round < 6000; ++round) {
        const std::string& alphabet = alphabets[round % 2];
        std::string text(random() % 300, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        const Values reference = referenceValues(text);
        ASSERT_EQ(valuesOf(text, 1000), reference) << '"' << text << '"';
        ASSERT_EQ(packedValuesOf(text, 1000), reference) << '"' << text << '"';
        const std::size_t some = random() % (reference.size() + 1);
        ASSERT_EQ(packedValuesOf(text, some), Values(reference.begin(), reference.begin() + some))
            << '"' << text << '"' << some;
    }
}

TEST(ValueScanner, AllPositionsInOnePassAgreeWithOneByOne) {
    std::mt19937 random(11);
    const std::string alphabet = "12,,\n\n\r \"";
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 60, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        const std::vector<DataFileError::Position> all = valuePositions(text);
        ASSERT_EQ(all.size(), referenceValues(text).size()) << '"' << text << '"';
        for (std::size_t k = 0; k < all.size(); ++k) {
            const DataFileError::Position one = valuePosition(text, k);
            EXPECT_EQ(all[k].valueNumber, k);
            EXPECT_EQ(all[k].line, one.line) << '"' << text << "\" " << k;
            EXPECT_EQ(all[k].field, one.field) << '"' << text << "\" " << k;
        }
    }
}

TEST(ValueScanner, HostileTexts) {
    const std::string commas(1'000'000, ',');
    const ValueScan many = scanValues(commas, 11449);
    ASSERT_EQ(many.spans.size(), 11449u);
    for (const auto& span : many.spans) EXPECT_EQ(span.second, 0u);

    const std::string big = std::string(1 << 20, 'x') + ",1";
    EXPECT_EQ(valuesOf(big, 2), (Values{std::string(1 << 20, 'x'), "1"}));

    std::mt19937 random(42);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const ValueScan scan = scanValues(garbage, 1'000'000);
    for (const auto& [offset, length] : scan.spans) {
        EXPECT_LE(std::size_t{offset} + length, garbage.size());
    }
    EXPECT_GT(scan.spans.size(), 0u);
    // Asking for more values than any text can hold reserves nothing absurd.
    EXPECT_EQ(scanValues("1", SIZE_MAX).spans.size(), 1u);
}

}  // namespace
}  // namespace kippurun
