#pragma once
// The files of the sales screen's first load step, read on another core
// while the window system starts: the same files, read the same way (one
// whole set, data/folder_transaction.h), so the load step goes on with them
// as if it had read them itself, or meets the same failure. ICU's era data, for the date
// the load step writes, is read after them on the same thread.
#include <filesystem>
#include <future>
#include <optional>

#include "data/counter_folders.h"
#include "data/fare_tables.h"
#include "data/key_layout.h"

namespace kippurun {

// What the load step reads of the folder: the start-up files and the key
// layout, one whole set, so that a settings save or a table install in
// between never gives the screen a set that was never saved.
struct CounterSet {
    FareTables tables;
    EkimeiFile ekimei;
};

class TablePrefetch {
  public:
    // Starts the read at once. Where no thread can be started there is
    // simply nothing to take.
    explicit TablePrefetch(CounterFolders folders);
    // Waits for the read if it is still going on; destruction waits too.
    ~TablePrefetch();
    TablePrefetch(const TablePrefetch&) = delete;
    TablePrefetch& operator=(const TablePrefetch&) = delete;

    // The set the first time; nullopt after that, or when nothing was
    // started. Throws what the read threw (DataFileError).
    std::optional<CounterSet> take();

  private:
    std::future<CounterSet> tables_;
};

// The load step's own read of the set. Throws DataFileError.
// The tables from one folder, the key layout and the start file from the
// counter's, both folders held shared (CounterFolders::lockOrder).
CounterSet readCounterSet(const CounterFolders& folders);

}  // namespace kippurun
