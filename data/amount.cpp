#include "data/amount.h"

#include <algorithm>

namespace kippurun {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// "1,234,567": one to three digits, then groups of three after a comma.
bool groupedByThousands(std::string_view text) {
    const std::size_t first = text.find(',');
    if (first == std::string_view::npos || first == 0 || first > 3) return false;
    if (!allDigits(text.substr(0, first))) return false;
    for (std::size_t i = first; i < text.size(); i += 4) {
        if (text[i] != ',' || i + 4 > text.size() || !allDigits(text.substr(i + 1, 3)))
            return false;
    }
    return true;
}

// The full-width digits ０ to ９ are U+FF10 to U+FF19: EF BC 90 to EF BC 99.
bool hasFullWidthDigit(std::string_view text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x90 && byte(2) <= 0x99) return true;
    }
    return false;
}

// The first character that is no digit, whole (a UTF-8 sequence).
std::string firstStranger(std::string_view text) {
    const auto at = std::find_if_not(text.begin(), text.end(), isDigit);
    std::size_t i = static_cast<std::size_t>(at - text.begin());
    std::size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return std::string(text.substr(i, end - i));
}

std::optional<std::int64_t> withinLimit(std::string_view digits) {
    std::int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kLargestAmountYen) return std::nullopt;
    }
    return value;
}

AmountReading refused(std::string reason) {
    AmountReading reading;
    reading.refusal = std::move(reason);
    return reading;
}

constexpr std::string_view kTooLarge =
    "は大きすぎます。どの請求額も正しく計算できるのは 999,999,999,999 円までです";

}  // namespace

AmountReading readAmount(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return refused("が空です。金額（円の整数）が要ります");

    std::string digits;
    bool grouped = false;
    if (allDigits(text)) {
        digits = text;
    } else if (groupedByThousands(text)) {
        std::copy_if(text.begin(), text.end(), std::back_inserter(digits), isDigit);
        grouped = true;
    } else if (text.front() == '-' || text.front() == '+') {
        return refused(text.front() == '-'
                           ? "は負の金額です。金額は符号を付けずに数字だけで書きます"
                           : "に符号が付いています。金額は符号を付けずに数字だけで書きます");
    } else if (hasFullWidthDigit(text)) {
        return refused("に全角の数字があります。金額は半角の数字で書きます");
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return refused("は 16 進数の書き方です。金額は 10 進の数字だけで書きます");
    } else if (text.find('.') != std::string_view::npos && isDigit(text.front())) {
        return refused("に小数点があります。金額は円の整数で、小数点を付けずに書きます");
    } else if (isDigit(text.front()) && text.find_first_of("eE") != std::string_view::npos &&
               text.find_first_not_of("0123456789eE+-") == std::string_view::npos) {
        return refused("は指数の書き方です。金額は数字だけで書きます");
    } else if (text.find_first_not_of("0123456789,") == std::string_view::npos) {
        return refused(
            "のコンマが 3 桁ごとの区切りになっていません。金額はコンマなしの数字で書きます");
    } else {
        return refused("に数字でない文字「" + firstStranger(text) +
                       "」があります。金額は数字だけで書きます（単位や記号は付けません）");
    }

    const std::optional<std::int64_t> value = withinLimit(digits);
    if (!value) return refused(std::string(kTooLarge));
    AmountReading reading;
    reading.yen = value;
    reading.grouped = grouped;
    return reading;
}

std::string_view zeroAmountRefusal() {
    return "は 0 円です。異なる駅の間で売られる券の金額は 0 円にできません";
}

}  // namespace kippurun
