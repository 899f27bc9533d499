#include "app/table_prefetch.h"

#include <system_error>
#include <utility>

#include "calendar/date_ops.h"
#include "data/folder_transaction.h"
#include "data/key_layout.h"

namespace kippurun {

CounterSet readCounterSet(const std::filesystem::path& untinDir) {
    return readWholeSet({untinDir}, [&] {
        CounterSet set{FareTableLoad(untinDir), {}};
        set.ekimei = EkimeiLoad(untinDir);
        return set;
    });
}

TablePrefetch::TablePrefetch(std::filesystem::path untinDir) {
    try {
        tables_ = std::async(std::launch::async, [dir = std::move(untinDir)] {
            CounterSet tables = readCounterSet(dir);
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

std::optional<CounterSet> TablePrefetch::take() {
    if (!tables_.valid()) return std::nullopt;
    return tables_.get();
}

}  // namespace kippurun
