#pragma once
// The station key layout shared by both screens for the whole run.
#include <filesystem>
#include <string>

#include "app/controls.h"
#include "data/key_layout.h"

namespace kippurun {

struct Module1 {
    // The grid as read, and the 52 keys: put here by the screen that read
    // "Ekimei1.csv" with the rest of its set.
    EkimeiFile ekimei;
    const StationKeyEntry& key(int k) const {
        return ekimei.layout.at(static_cast<std::size_t>(k));
    }
};

// The 52 keys' captions as both screens write them: an assigned key shows
// its station as `list` shows it (the list is moved through each assigned
// station, its handlers running as they do for a clerk's choice); an
// unassigned key shows `blank(k)`.
template <class KeyOf, class Blank>
void captionStationKeys(const Module1& m, ComboBox& list, KeyOf&& keyOf, Blank&& blank) {
    for (int k = 0; k < StationKeyCount; ++k) {
        const StationKeyEntry& entry = m.key(k);
        CommandButton& key = keyOf(k);
        if (entry.station == NotSet) {
            key.caption = blank(k);
            continue;
        }
        list.setListIndex(entry.station);
        key.caption = list.text();
    }
}

}  // namespace kippurun
