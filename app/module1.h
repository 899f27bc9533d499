#pragma once
// The station key layout shared by both screens for the whole run.
#include <filesystem>

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

}  // namespace kippurun
