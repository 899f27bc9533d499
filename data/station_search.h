#pragma once
// Finding a station in a station list by what the clerk types: the start of
// its reading in rōmaji (Hepburn, and the usual keyboard spellings "si",
// "tu", "nn" …), in hiragana or katakana, or the start of its station
// number.
#include <string>
#include <string_view>
#include <vector>

namespace kippurun {

// The Hepburn spelling of a reading in hiragana: "まつやま" -> "matsuyama",
// "びっちゅう" -> "bitchuu". Long vowels stay as the kana write them unless
// `longVowelsOnce` ("こうざい" -> "kozai", "おおず" -> "ozu").
std::string hepburn(std::string_view kana, bool longVowelsOnce = false);

// The positions in `names` (the list's entries, catalogue station names) of
// the stations that `typed` finds, in list order: the first is the one
// Enter takes. Nothing for an empty text or one that is neither a reading
// nor a number; an entry that is no catalogue name is never found.
std::vector<int> findStations(const std::vector<std::string>& names, std::string_view typed);

enum class Typing { Romaji, Kana };

// The fewest characters of a reading, typed in rōmaji or in kana, after
// which the entry at `position` of `names` is the first found (Enter takes
// it); 0 when no reading reaches it.
int charactersToReach(const std::vector<std::string>& names, int position, Typing typing);

}  // namespace kippurun
