#pragma once
// Replacing a set of files of one folder as one: the settings pair of a
// counter, the fare office's tables. After any kill, power cut or failed
// step the set is wholly old or wholly new.
//
// A transaction writes every new file beside the one it replaces and
// flushes it, gives every old file a second name (its backup), then puts an
// intent record (the journal, ".kippurun.journal") in place and flushes it,
// renames the new files over the old ones, and removes the journal and the
// backups. Whoever opens the folder next and finds a journal completes the
// transaction when every new file is whole (still beside its target or
// already renamed), else puts the backups back; either way nothing is left.
//
// The journal is put in place by a second name, never over another one, so
// that two writers that do not share the folder's lock (a network share
// without lock support) cannot both be renaming: the second is refused.
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_file_error.h"
#include "data/untin_lock.h"

namespace kippurun {

struct FileReplacement {
    std::string fileName;  // "Otona.csv", in the folder
    std::string bytes;     // the whole new content
};

// How a failed write left the files it was to replace.
enum class SetOutcome {
    Old,             // every file as it was
    New,             // every file replaced, but not confirmed on disk
    LeftToRecovery,  // neither yet: the journal stays, the next opener settles it
};

class FolderWriteError : public std::runtime_error {
  public:
    // `reason`: Japanese, what the system said ("ディスクがいっぱいです").
    FolderWriteError(std::string fileName, std::string reason, SetOutcome outcome)
        : std::runtime_error(reason),
          fileName_(std::move(fileName)),
          reason_(std::move(reason)),
          outcome_(outcome) {}
    const std::string& fileName() const { return fileName_; }
    const std::string& reason() const { return reason_; }
    SetOutcome outcome() const { return outcome_; }

  private:
    std::string fileName_;
    std::string reason_;
    SetOutcome outcome_;
};

// One transaction on one folder, under the folder's exclusive lock, which
// it holds from construction to destruction. Construction settles what an
// earlier transaction left; it throws FolderWriteError (outcome Old) when
// that cannot be done or another writer's transaction is going on.
class FolderTransaction {
  public:
    explicit FolderTransaction(std::filesystem::path dir);
    FolderTransaction(const FolderTransaction&) = delete;
    FolderTransaction& operator=(const FolderTransaction&) = delete;

    const std::filesystem::path& folder() const { return dir_; }
    bool lockHeld() const { return lock_.held(); }

    // Replaces the files named by `changes` (new ones are created) as one,
    // provided the set is still as it was when the transaction began (a
    // writer that does not share the lock may have changed it; the commit
    // is then refused, outcome Old).
    // A symbolic link is followed: the file it points to is replaced and the
    // link stays. A read-only file, or anything but a regular file in a
    // file's place, is not replaced. Throws FolderWriteError naming the
    // file of the step that failed and saying how the set was left.
    void commit(const std::vector<FileReplacement>& changes);

  private:
    std::filesystem::path dir_;
    UntinLock lock_;
    std::string identity_;  // of the set when the transaction began
};

// What whoever opens the folder does first: settles what a transaction cut
// short left (completed or undone, as above), and removes the temporary
// files dead writers left, never those of a writer at work. Takes the
// folder's exclusive lock. A folder that does not exist is left to the
// reader to report. Throws FolderWriteError when a transaction to be
// settled cannot be.
void settleFolder(const std::filesystem::path& dir);

// Replaces one file atomically (temporary beside it, flushed, renamed, the
// folder flushed), without lock or journal: a set of one. Throws
// FolderWriteError: Old when the file is as it was, New when only the
// folder's flush failed.
void replaceFile(const std::filesystem::path& dir, std::string_view fileName,
                 std::string_view bytes);

// The folders' state while a reader reads: settled first (under the
// exclusive lock, taken only when a folder holds a journal or a writer's
// temporary file, so that readers of a clean folder never wait on one
// another), then each folder's shared lock taken in the order given (tables folder first, then
// a counter's), then every file's identity noted. `stillWhole` tells
// afterwards whether no transaction touched the set meanwhile, which also
// holds on a share whose locks are not shared.
class SetReading {
  public:
    // Throws FolderWriteError when a folder cannot be settled, or
    // DataFileError (WriteFailed) when another writer's transaction goes on
    // for longer than a reader waits.
    explicit SetReading(const std::vector<std::filesystem::path>& folders);
    bool stillWhole() const;

  private:
    std::vector<std::filesystem::path> folders_;
    std::vector<UntinLock> locks_;
    std::string identity_;
};

// Runs `read` on a whole set of the folders: again when a transaction
// changed the set while it read (at most a few times). A DataFileError
// thrown by `read` on a whole set is passed on; a settling that fails is
// thrown as a DataFileError (WriteFailed) naming the folder.
template <class Read>
auto readWholeSet(const std::vector<std::filesystem::path>& folders, Read&& read)
    -> decltype(read());

// The DataFileError a reader reports when a folder cannot be settled.
DataFileError settleFailed(const std::filesystem::path& dir, const FolderWriteError& failure);
[[noreturn]] void setKeptChanging(const std::filesystem::path& dir);

// Tests only. The call that flushes a folder after a rename (null: fsync).
void setFolderSyncForTesting(int (*sync)(int fd));

// Tests only: every step of a write asks the hook first; a non-zero answer
// is the errno with which that step fails. Steps: "create", "write",
// "flush", "close", "link", "rename", "unlink", "folder". Null: no faults.
void setWriteFaultForTesting(std::function<int(std::string_view step, std::string_view name)> hook);

template <class Read>
auto readWholeSet(const std::vector<std::filesystem::path>& folders, Read&& read)
    -> decltype(read()) {
    constexpr int attempts = 20;
    for (int attempt = 1;; ++attempt) {
        std::optional<SetReading> reading;
        try {
            reading.emplace(folders);
        } catch (const FolderWriteError& failure) {
            throw settleFailed(folders.front(), failure);
        }
        try {
            auto result = read();
            if (reading->stillWhole()) return result;
        } catch (const DataFileError&) {
            if (reading->stillWhole()) throw;
        }
        if (attempt == attempts) setKeptChanging(folders.front());
    }
}

}  // namespace kippurun
