#include "data/station_search.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "data/station_catalogue.h"
#include "data/station_readings.h"

namespace kippurun {

namespace {

constexpr char32_t Invalid = 0xFFFD;

std::u32string decode(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4 && i + length <= text.size());
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        out.push_back(valid ? cp : Invalid);
        i += valid ? length : 1;
    }
    return out;
}

constexpr bool isHiragana(char32_t c) { return c >= U'ぁ' && c <= U'ゖ'; }

// Each hiragana from ぁ (U+3041) to ゖ (U+3096), in code order.
constexpr std::array<const char*, 0x3097 - 0x3041> KanaSpelling = {
    "a",  "a",  "i",   "i",  "u",  "u",   "e",  "e",   "o",  "o",  "ka", "ga", "ki", "gi", "ku",
    "gu", "ke", "ge",  "ko", "go", "sa",  "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo",
    "ta", "da", "chi", "ji", "",   "tsu", "zu", "te",  "de", "to", "do", "na", "ni", "nu", "ne",
    "no", "ha", "ba",  "pa", "hi", "bi",  "pi", "fu",  "bu", "pu", "he", "be", "pe", "ho", "bo",
    "po", "ma", "mi",  "mu", "me", "mo",  "ya", "ya",  "yu", "yu", "yo", "yo", "ra", "ri", "ru",
    "re", "ro", "wa",  "wa", "i",  "e",   "o",  "n",   "vu", "ka", "ke",
};

constexpr bool isSmallY(char32_t c) { return c == U'ゃ' || c == U'ゅ' || c == U'ょ'; }

// Typed letters in the spelling the readings are written in (Hepburn):
// "si" -> "shi", "tu" -> "tsu", "sya" -> "sha", "nn" -> "n" and so on.
std::string toHepburn(std::string_view typed) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 18> Rules = {{
        {"sh", "sh"},
        {"ch", "ch"},
        {"ts", "ts"},
        {"cch", "tch"},
        {"si", "shi"},
        {"ti", "chi"},
        {"tu", "tsu"},
        {"hu", "fu"},
        {"zi", "ji"},
        {"di", "ji"},
        {"du", "zu"},
        {"sy", "sh"},
        {"ty", "ch"},
        {"cy", "ch"},
        {"jy", "j"},
        {"zy", "j"},
        {"nn", "n"},
        {"mb", "nb"},
    }};
    std::string out;
    for (std::size_t i = 0; i < typed.size();) {
        bool ruled = false;
        for (const auto& [from, to] : Rules)
            if (typed.substr(i, from.size()) == from) {
                out += to;
                i += from.size();
                ruled = true;
                break;
            }
        if (!ruled) out += typed[i++];
    }
    return out;
}

// What the clerk typed, brought to one of three forms.
struct Typed {
    enum Kind { Number, Kana, Letters, Nothing } kind = Nothing;
    std::string text;  // digits, hiragana, or Hepburn letters
};

char32_t folded(char32_t c) {
    if (c >= U'！' && c <= U'～') c -= 0xFEE0;  // full-width ASCII
    if (c >= U'ァ' && c <= U'ヶ') c -= 0x60;    // katakana
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
    switch (c) {  // vowels with a length mark, as some write Hepburn
        case U'ā':
        case U'Ā':
        case U'â':
        case U'Â':
            return U'a';
        case U'ī':
        case U'Ī':
        case U'î':
        case U'Î':
            return U'i';
        case U'ū':
        case U'Ū':
        case U'û':
        case U'Û':
            return U'u';
        case U'ē':
        case U'Ē':
        case U'ê':
        case U'Ê':
            return U'e';
        case U'ō':
        case U'Ō':
        case U'ô':
        case U'Ô':
            return U'o';
        default:
            return c;
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

Typed readTyped(std::string_view text) {
    std::u32string chars;
    for (char32_t c : decode(text)) {
        c = folded(c);
        // Spaces, apostrophes, hyphens and the long-vowel mark carry no sound.
        if (c == U' ' || c == U'　' || c == U'\'' || c == U'-' || c == U'ー') continue;
        chars.push_back(c);
    }
    Typed typed;
    if (chars.empty()) return typed;
    auto all = [&](auto pred) { return std::all_of(chars.begin(), chars.end(), pred); };
    if (all([](char32_t c) { return c >= U'0' && c <= U'9'; })) {
        typed.kind = Typed::Number;
        for (char32_t c : chars) typed.text += static_cast<char>(c);
        // "067" is 67.
        typed.text.erase(0, std::min(typed.text.find_first_not_of('0'), typed.text.size() - 1));
        return typed;
    }
    if (all(isHiragana)) {
        typed.kind = Typed::Kana;
        for (char32_t c : chars) appendUtf8(typed.text, c);
        return typed;
    }
    // Letters, perhaps after kana an input method already turned.
    if (!all([](char32_t c) { return (c >= U'a' && c <= U'z') || isHiragana(c); })) return typed;
    std::string letters, kana;
    auto flushKana = [&] {
        letters += hepburn(kana);
        kana.clear();
    };
    for (char32_t c : chars)
        if (isHiragana(c)) {
            appendUtf8(kana, c);
        } else {
            flushKana();
            letters += static_cast<char>(c);
        }
    flushKana();
    typed.kind = Typed::Letters;
    typed.text = toHepburn(letters);
    return typed;
}

std::optional<int> stationNumberOf(std::string_view name) {
    const auto& names = stationNames();
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) return std::nullopt;
    return static_cast<int>(it - names.begin());
}

bool finds(const Typed& typed, int station) {
    const StationReading& reading = stationReadings()[static_cast<std::size_t>(station)];
    switch (typed.kind) {
        case Typed::Number:
            return std::to_string(station).starts_with(typed.text);
        case Typed::Kana:
            return reading.kana.starts_with(typed.text) ||
                   (!reading.shortKana.empty() && reading.shortKana.starts_with(typed.text));
        case Typed::Letters:
            for (std::string_view kana : {reading.kana, reading.shortKana}) {
                if (kana.empty()) continue;
                for (bool once : {false, true})
                    if (hepburn(kana, once).starts_with(typed.text)) return true;
            }
            return false;
        case Typed::Nothing:
            break;
    }
    return false;
}

}  // namespace

std::string hepburn(std::string_view kana, bool longVowelsOnce) {
    std::string out;
    std::string previous;  // the spelling of the kana before
    bool doubled = false;  // after a small っ
    for (char32_t c : decode(kana)) {
        if (!isHiragana(c)) continue;
        if (c == U'っ') {
            doubled = true;
            continue;
        }
        std::string spelling = KanaSpelling[c - U'ぁ'];
        if (isSmallY(c) && previous.size() >= 2 && previous.back() == 'i') {
            // き + ゃ -> kya; し + ゃ -> sha; ち + ょ -> cho; じ + ゅ -> ju.
            out.pop_back();
            const bool palatal = previous == "shi" || previous == "chi" || previous == "ji";
            if (!palatal) out += 'y';
            out += spelling.back();
            previous = spelling;
            continue;
        }
        if (longVowelsOnce && !out.empty() &&
            ((c == U'う' && (out.back() == 'o' || out.back() == 'u')) ||
             (c == U'お' && previous == "o"))) {
            previous = spelling;
            continue;
        }
        if (doubled && !spelling.empty())
            out += spelling.starts_with("ch") ? 't' : spelling.front();
        doubled = false;
        out += spelling;
        previous = spelling;
    }
    return out;
}

std::vector<int> findStations(const std::vector<std::string>& names, std::string_view typed) {
    const Typed what = readTyped(typed);
    std::vector<int> found;
    if (what.kind == Typed::Nothing) return found;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::optional<int> station = stationNumberOf(names[i]);
            station && finds(what, *station))
            found.push_back(static_cast<int>(i));
    return found;
}

int charactersToReach(const std::vector<std::string>& names, int position, Typing typing) {
    if (position < 0 || position >= static_cast<int>(names.size())) return 0;
    const std::optional<int> station = stationNumberOf(names[static_cast<std::size_t>(position)]);
    if (!station) return 0;
    const StationReading& reading = stationReadings()[static_cast<std::size_t>(*station)];
    std::vector<std::u32string> spellings;
    for (std::string_view kana : {reading.kana, reading.shortKana}) {
        if (kana.empty()) continue;
        if (typing == Typing::Kana) {
            spellings.push_back(decode(kana));
            continue;
        }
        for (bool once : {false, true}) {
            const std::string letters = hepburn(kana, once);
            spellings.emplace_back(letters.begin(), letters.end());
        }
    }
    int fewest = 0;
    for (const std::u32string& spelling : spellings)
        for (std::size_t n = 1; n <= spelling.size(); ++n) {
            if (fewest && static_cast<int>(n) >= fewest) break;
            std::string typed;
            for (char32_t c : spelling.substr(0, n)) appendUtf8(typed, c);
            const std::vector<int> found = findStations(names, typed);
            if (!found.empty() && found.front() == position) {
                fewest = static_cast<int>(n);
                break;
            }
        }
    return fewest;
}

}  // namespace kippurun
