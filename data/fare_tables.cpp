#include "data/fare_tables.h"

#include "data/table_file.h"
#include "data/table_files.h"

namespace kippurun {

FareTables FareTableLoad(const std::filesystem::path& untinDir) {
    return FareTableLoad(untinDir, untinDir);
}

FareTables FareTableLoad(const std::filesystem::path& untinDir,
                         const std::filesystem::path& counterDir) {
    FareTables tables;
    // The start-up list, in its order: the start file, then the tables.
    tables.start = readStartStations(counterDir, &tables.Start);
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
