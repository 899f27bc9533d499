#pragma once
// The programmable station keys ("Ekimei1.csv") and the default stations
// ("Start.csv"): reading, and replacing both files.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/fare_tables.h"
#include "data/folder_transaction.h"
#include "data/station_catalogue.h"

namespace kippurun {

inline constexpr int StationKeyCount = 52;
inline constexpr int EkimeiCellCount = 100;

// Key k's number as its name and an unassigned key's caption show it:
// "00" ... "51".
std::string keyNumberText(int k);

struct StationKeyEntry {
    std::int16_t station = NotSet;
    std::int16_t expressIndex = NotSet;
    std::int16_t marineIndex = NotSet;
};

using StationKeyLayout = std::array<StationKeyEntry, StationKeyCount>;
using EkimeiGrid = std::array<std::string, EkimeiCellCount>;

struct EkimeiFile {
    EkimeiGrid grid;  // the 100 texts as read
    StationKeyLayout layout;
};

// Reads "Ekimei1.csv": cells 0-51 must be numbers (fractions rounded half
// to even) in 0-106 or 999; stop indexes derived from the catalogue.
// Throws DataFileError naming the value, line and field.
EkimeiFile EkimeiLoad(const std::filesystem::path& untinDir);

// Reads "Start.csv" alone: both values numbers in 0-106 after rounding.
// Throws DataFileError. (The load step and the settings screen read it with
// readStartStations, which also keeps the two texts as read.)
StartStations StartStationsLoad(const std::filesystem::path& untinDir);

// The exact bytes the system writes: each cell read leniently, plain
// decimal, single commas, CRLF after every line. Layout: 10 lines of 10,
// cells 52-99 always 999. Start: one line of two.
std::string formatEkimeiFile(const EkimeiGrid& grid);
std::string formatStartFile(std::string_view departure, std::string_view arrival);

// Replace a file atomically: temporary file in the same folder, flushed,
// renamed over the old one, the folder flushed. A symbolic link is followed:
// the file it points to is replaced and the link stays. A read-only file is
// not replaced. On failure DataFileError (WriteFailed) is thrown naming the
// file and the reason; the old file is left as it was unless only the
// folder's flush failed, which the message then says.
void writeFileAtomically(const std::filesystem::path& untinDir, std::string_view fileName,
                         std::string_view bytes);

// The settings screen's pair as it is on disk now, to be handed back to
// writeKeySettings: it tells whether another counter saved in between.
std::string keySettingsOnDisk(const std::filesystem::path& untinDir);

// Saves the settings screen's pair, "Ekimei1.csv" and "Start.csv", as one
// folder transaction (data/folder_transaction.h): after a failure
// (DataFileError, WriteFailed, saying how the pair was left) or a kill the
// pair is wholly old or wholly new.
// With `expected` (what keySettingsOnDisk gave when the screen read the
// files): when the files no longer hold it, nothing is written, `expected`
// receives what they hold now and the result is false.
bool writeKeySettings(const std::filesystem::path& untinDir, const EkimeiGrid& grid,
                      std::string_view departure, std::string_view arrival,
                      std::string* expected = nullptr);

}  // namespace kippurun
