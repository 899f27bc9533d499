#include "app/table_prefetch.h"

#include <system_error>
#include <utility>

#include "calendar/date_ops.h"
#include "data/key_layout.h"
#include "data/untin_lock.h"

namespace kippurun {

FareTables readStartTables(const std::filesystem::path& untinDir) {
    const UntinLock lock(untinDir, UntinLockMode::Shared);
    return FareTableLoad(untinDir);
}

TablePrefetch::TablePrefetch(std::filesystem::path untinDir) {
    try {
        tables_ = std::async(std::launch::async, [dir = std::move(untinDir)] {
            // Start.csv belongs to the settings pair: the pair is settled
            // before it is read, as the load step does before reading.
            recoverKeySettings(dir);
            FareTables tables = readStartTables(dir);
            // The era date the load step writes: ICU's data read here.
            loadEraNames();
            return tables;
        });
    } catch (const std::system_error&) {
        // No thread: the load step reads the tables itself.
    }
}

TablePrefetch::~TablePrefetch() {
    if (tables_.valid()) tables_.wait();
}

std::optional<FareTables> TablePrefetch::take() {
    if (!tables_.valid()) return std::nullopt;
    return tables_.get();
}

}  // namespace kippurun
