#pragma once
// The fare tables of the sales screen's first load step, read on another
// core while the window system starts: the same files, read the same way (a
// settings save cut short settled first, then the 23 files under the
// folder's shared lock), so the load step goes on with them as if it had
// read them itself, or meets the same failure. ICU's era data, for the date
// the load step writes, is read after them on the same thread.
#include <filesystem>
#include <future>
#include <optional>

#include "data/fare_tables.h"

namespace kippurun {

class TablePrefetch {
  public:
    // Starts the read at once. Where no thread can be started there is
    // simply nothing to take.
    explicit TablePrefetch(std::filesystem::path untinDir);
    // Waits for the read if it is still going on; destruction waits too.
    ~TablePrefetch();
    TablePrefetch(const TablePrefetch&) = delete;
    TablePrefetch& operator=(const TablePrefetch&) = delete;

    // The tables the first time; nullopt after that, or when nothing was
    // started. Throws what the read threw (DataFileError, or the settling
    // of a cut-short save).
    std::optional<FareTables> take();

  private:
    std::future<FareTables> tables_;
};

// The load step's own read: the start-up tables under the shared lock, so
// that an install into the folder waits for the read, or the read for it.
FareTables readStartTables(const std::filesystem::path& untinDir);

}  // namespace kippurun
