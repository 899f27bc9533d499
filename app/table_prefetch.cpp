#include "app/table_prefetch.h"

#include <system_error>
#include <utility>

#include "calendar/date_ops.h"
#include "data/folder_transaction.h"
#include "data/key_layout.h"

namespace kippurun {

CounterSet readCounterSet(const CounterFolders& folders) {
    return readWholeSet(folders.lockOrder(), [&] {
        CounterSet set{FareTableLoad(folders.tables, folders.counter), {}};
        set.ekimei = EkimeiLoad(folders.counter);
        return set;
    });
}

TablePrefetch::TablePrefetch(CounterFolders folders) {
    try {
        tables_ = std::async(std::launch::async, [dirs = std::move(folders)] {
            CounterSet tables = readCounterSet(dirs);
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
