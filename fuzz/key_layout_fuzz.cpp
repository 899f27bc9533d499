// The station key file and the default stations on any bytes: what loads
// is a layout the keys can use, and what the settings screen would write
// back from it loads again as the same layout.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/data_file_error.h"
#include "data/key_layout.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/table_folder.h"

namespace {

using namespace kippurun;

const testing::TableFolder& folder() {
    static const testing::TableFolder dir(testing::TableFolder::Contents::Empty);
    return dir;
}

template <std::size_t N>
int positionIn(const std::array<int, N>& list, int station) {
    const auto found = std::find(list.begin(), list.end(), station);
    return found == list.end() ? NotSet : static_cast<int>(found - list.begin());
}

// A cell that loaded is a number that rounds to the key's station.
void checkCell(const std::string& cell, int station) {
    const std::optional<double> number = readStrict(cell);
    FUZZ_CHECK(number && std::fabs(*number - station) <= 0.5);
}

void checkKeys(const EkimeiFile& file) {
    for (int k = 0; k < StationKeyCount; ++k) {
        const StationKeyEntry& entry = file.layout[static_cast<std::size_t>(k)];
        FUZZ_CHECK((entry.station >= 0 && entry.station < StationCount) || entry.station == NotSet);
        checkCell(file.grid[static_cast<std::size_t>(k)], entry.station);
        if (entry.station == NotSet) continue;
        FUZZ_CHECK(entry.expressIndex == positionIn(ExpressStopList(), entry.station));
        FUZZ_CHECK(entry.marineIndex == positionIn(MarineStopList(), entry.station));
    }
}

void checkEkimei(std::string_view bytes) {
    folder().write("Ekimei1.csv", bytes);
    EkimeiFile loaded;
    try {
        loaded = EkimeiLoad(folder().path());
    } catch (const DataFileError& e) {
        FUZZ_CHECK(e.kind() == DataFileError::Kind::PastEndOfFile ||
                   e.kind() == DataFileError::Kind::NotANumber ||
                   e.kind() == DataFileError::Kind::OutOfRange);
        return;
    }
    checkKeys(loaded);

    folder().write("Ekimei1.csv", formatEkimeiFile(loaded.grid));
    const EkimeiFile again = EkimeiLoad(folder().path());
    checkKeys(again);
    for (int k = 0; k < StationKeyCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        FUZZ_CHECK(again.layout[i].station == loaded.layout[i].station);
    }
    for (int k = StationKeyCount; k < EkimeiCellCount; ++k)
        FUZZ_CHECK(again.grid[static_cast<std::size_t>(k)] == "999");
}

void checkStart(std::string_view bytes) {
    folder().write("Start.csv", bytes);
    StartStations loaded;
    try {
        loaded = StartStationsLoad(folder().path());
    } catch (const DataFileError& e) {
        FUZZ_CHECK(e.kind() == DataFileError::Kind::PastEndOfFile ||
                   e.kind() == DataFileError::Kind::NotANumber ||
                   e.kind() == DataFileError::Kind::OutOfRange);
        return;
    }
    FUZZ_CHECK(loaded.departure >= 0 && loaded.departure < StationCount);
    FUZZ_CHECK(loaded.arrival >= 0 && loaded.arrival < StationCount);

    folder().write("Start.csv", formatStartFile(std::to_string(loaded.departure),
                                                std::to_string(loaded.arrival)));
    const StartStations again = StartStationsLoad(folder().path());
    FUZZ_CHECK(again.departure == loaded.departure && again.arrival == loaded.arrival);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkEkimei(bytes);
    checkStart(bytes);
    return 0;
}
