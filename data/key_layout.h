#pragma once
// The programmable station keys ("Ekimei1.csv") and the default stations
// ("Start.csv"): reading, and replacing both files.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/fare_tables.h"
#include "data/station_catalogue.h"

namespace kippurun {

inline constexpr int StationKeyCount = 52;
inline constexpr int EkimeiCellCount = 100;

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

// Reads "Start.csv" alone (the settings screen does): both values numbers
// in 0-106 after rounding. Throws DataFileError.
StartStations StartStationsLoad(const std::filesystem::path& untinDir);

// The exact bytes the system writes: each cell read leniently, plain
// decimal, single commas, CRLF after every line. Layout: 10 lines of 10,
// cells 52-99 always 999. Start: one line of two.
std::string formatEkimeiFile(const EkimeiGrid& grid);
std::string formatStartFile(std::string_view departure, std::string_view arrival);

// Replace a file atomically: temporary file in the same folder, flushed,
// renamed over the old one. On failure the old file is left as it was and
// DataFileError (WriteFailed) is thrown.
void writeFileAtomically(const std::filesystem::path& untinDir, std::string_view fileName,
                         std::string_view bytes);
void writeEkimeiFile(const std::filesystem::path& untinDir, const EkimeiGrid& grid);
void writeStartFile(const std::filesystem::path& untinDir, std::string_view departure,
                    std::string_view arrival);

}  // namespace kippurun
