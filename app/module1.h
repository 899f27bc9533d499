#pragma once
// The station key layout shared by both screens for the whole run.
#include <filesystem>

#include "data/key_layout.h"

namespace kippurun {

struct Module1 {
    // Reads "Ekimei1.csv" anew. Throws DataFileError; the layout held
    // before stays as it was.
    void EkimeiLoad(const std::filesystem::path& untinDir) {
        ekimei = kippurun::EkimeiLoad(untinDir);
    }

    EkimeiFile ekimei;  // the grid as read, and the 52 keys
    const StationKeyEntry& key(int k) const {
        return ekimei.layout.at(static_cast<std::size_t>(k));
    }
};

}  // namespace kippurun
