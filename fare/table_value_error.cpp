#include "fare/table_value_error.h"

#include "data/table_file.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace kippurun {

namespace {

// A cell of a damaged file may hold a huge text; the clerk's message shows
// only its start, cut between characters so the message stays valid UTF-8.
constexpr std::size_t kShownCharacters = 40;

std::string shownText(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kShownCharacters) {
            return escapeControls(text.substr(0, i)) + "…";
        }
    }
    return escapeControls(text);
}

std::string complaint(TableValueError::Reason reason, std::string_view refusal) {
    switch (reason) {
        case TableValueError::Reason::TooLarge:
            return "から計算した金額が大きすぎて正しく計算できません";
        case TableValueError::Reason::NotAnAmount:
        case TableValueError::Reason::ZeroAmount:
            return std::string(refusal);
        default:
            return "が数値ではありません";
    }
}

std::string message(const std::string& file, int arrival, int departure, const std::string& text,
                    TableValueError::Reason reason, long long valueNumber,
                    std::string_view refusal) {
    const std::string place =
        valueNumber >= 0 ? "値番号 " + std::to_string(valueNumber) + " " : "値 ";
    return "運賃表 " + file + " の" + place + "(着 " + std::to_string(arrival) + ", 発 " +
           std::to_string(departure) + ") \"" + shownText(text) + "\" " +
           complaint(reason, refusal);
}

}  // namespace

TableValueError::TableValueError(std::string file, int arrival, int departure, std::string text,
                                 Reason reason, long long valueNumber, std::string_view refusal)
    : std::runtime_error(message(file, arrival, departure, text, reason, valueNumber, refusal)),
      file_(std::move(file)),
      arrival_(arrival),
      departure_(departure),
      text_(std::move(text)) {}

}  // namespace kippurun
