#include "data/fare_tables.h"

#include "data/table_file.h"
#include "data/table_files.h"

namespace kippurun {

FareTables FareTableLoad(const std::filesystem::path& untinDir) {
    FareTables tables;
    // The start-up list, in its order: the start file, then the tables.
    tables.start = readStartStations(untinDir, &tables.Start);
    for (const TableFile& file : TableFiles) {
        if (file.startUp && file.member != nullptr) {
            tables.*file.member =
                readSquareTable(untinDir, file.literal, static_cast<int>(file.perLine));
        }
    }
    return tables;
}

Table GakuwariLoad(const std::filesystem::path& untinDir) {
    const TableFile& file = tableFileOf(&FareTables::Gakuwari);
    return readSquareTable(untinDir, file.literal, static_cast<int>(file.perLine));
}

}  // namespace kippurun
