#pragma once
// Putting a checked table set into a counter's folder: the fare office's
// changed files replaced as one folder transaction (data/folder_transaction.h),
// so that a counter reads the whole old set or the whole new one, also after
// a kill or a failed step. The counter's own two files stay; the replaced set is kept
// in a dated folder beside, from which the same install puts it back.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "office/table_check.h"

namespace kippurun {

// The files an install replaces: the square tables of the start-up list and
// Gakuwari.csv, in the order the program reads them. Never Start.csv or
// Ekimei1.csv, which the counter's settings screen writes.
const std::vector<std::string>& officeFiles();

struct Installation {
    std::vector<Finding> findings;  // of the check of the new set
    bool refused = false;           // an error in the new set: nothing touched
    std::vector<std::string> replaced;
    // The folder that keeps the files as they were (all 25 that were there,
    // so that it is a whole set to check, compare or install again); empty
    // when nothing was replaced.
    std::filesystem::path kept;
    // Japanese, when the install could not be made; the folder then holds
    // what it held before, unless the message says otherwise.
    std::string failure;

    bool succeeded() const { return !refused && failure.empty(); }
};

// Installs the set in `newDir` into `untinDir`. `now` names the folder that
// keeps the replaced set ("Untin.20261209-103000" beside "Untin").
Installation installTables(const std::filesystem::path& newDir,
                           const std::filesystem::path& untinDir,
                           std::chrono::system_clock::time_point now);

}  // namespace kippurun
