#include "data/folder_transaction.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <thread>

#include "data/table_file.h"
#include "data/table_files.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

std::function<int(std::string_view, std::string_view)> faultHook;
int (*folderSync)(int) = ::fsync;

// Whether the test hook makes this step fail; errno is then set.
bool faulted(std::string_view step, std::string_view name) {
    if (!faultHook) return false;
    const int error = faultHook(step, name);
    if (error == 0) return false;
    errno = error;
    return true;
}

// Why one step failed, before anyone knows how the set is left.
struct StepFailure {
    std::string fileName;
    std::string reason;
};

[[noreturn]] void fail(std::string_view fileName, std::string reason) {
    throw StepFailure{std::string(fileName), std::move(reason)};
}

[[noreturn]] void failErrno(std::string_view fileName) {
    const int error = errno;
    fail(fileName, error == ENOENT ? "保存先のフォルダが見つかりません" : systemErrorText(error));
}

constexpr std::string_view kJournalName = ".kippurun.journal";
constexpr std::string_view kJournalHeading = "kippurun save 2";
// What earlier versions wrote for the settings pair: no backups.
constexpr std::string_view kPairJournalHeading = "kippurun save 1";
constexpr std::size_t kJournalLimit = 1024 * 1024;

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "host";
    std::string out;
    for (const char* c = name; *c && out.size() < 32; ++c)
        out.push_back(std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
    return out.empty() ? "host" : out;
}

// "host-pid", as temporary names and the journal carry it: a writer that
// cannot trust the folder's lock still tells its own and a dead process's
// files from a live one's.
std::string ownerToken() { return hostName() + "-" + std::to_string(::getpid()); }

struct Owner {
    std::string host;
    long pid = 0;
};

std::optional<Owner> parseOwner(std::string_view token) {
    const std::size_t dash = token.rfind('-');
    if (dash == std::string_view::npos || dash == 0 || token.size() - dash - 1 > 9 ||
        dash + 1 == token.size())
        return std::nullopt;
    Owner owner{std::string(token.substr(0, dash)), 0};
    for (const char c : token.substr(dash + 1)) {
        if (c < '0' || c > '9') return std::nullopt;
        owner.pid = owner.pid * 10 + (c - '0');
    }
    const bool plainHost = std::all_of(owner.host.begin(), owner.host.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || c == '_';
    });
    return plainHost ? std::optional<Owner>(owner) : std::nullopt;
}

// Whether the owner's files may be touched: a process of this machine that
// is gone, or (the folder's lock held) one of another machine, whose writer
// would hold the lock were it at work.
bool ownerDone(const Owner& owner, bool locked) {
    if (owner.host != hostName()) return locked;
    if (owner.pid == ::getpid()) return true;
    return ::kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH;
}

// A temporary of ours beside a file: "." + name + "." + "host-pid." + six
// letters or digits; for the settings pair also "." + name + "." + six
// (the form earlier versions wrote).
struct TemporaryName {
    bool ours = false;
    std::optional<Owner> owner;
};

TemporaryName temporaryName(std::string_view name, std::string_view prefix, bool oldFormToo) {
    if (!name.starts_with(prefix)) return {};
    const std::string_view rest = name.substr(prefix.size());
    if (rest.size() < 6) return {};
    const bool random = std::all_of(rest.end() - 6, rest.end(),
                                    [](unsigned char c) { return std::isalnum(c) != 0; });
    if (!random) return {};
    if (rest.size() == 6) return {oldFormToo, std::nullopt};
    if (rest.size() < 8 || rest[rest.size() - 7] != '.') return {};
    std::optional<Owner> owner = parseOwner(rest.substr(0, rest.size() - 7));
    return owner ? TemporaryName{true, owner} : TemporaryName{};
}

std::string temporaryPrefix(const fs::path& target) {
    const std::string name = target.filename().string();
    return (name.starts_with(".") ? "" : ".") + name + ".";  // the journal is hidden already
}

std::string randomSuffix() {
    static thread_local std::mt19937 random(std::random_device{}() ^
                                            static_cast<unsigned>(::getpid()));
    static constexpr char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string out(6, 'x');
    std::uniform_int_distribution<int> pick(0, sizeof letters - 2);
    for (char& c : out) c = letters[pick(random)];
    return out;
}

// A file of ours that goes again unless kept.
class OwnFile {
  public:
    OwnFile() = default;
    explicit OwnFile(fs::path path) : path_(std::move(path)) {}
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;
    OwnFile(OwnFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    OwnFile& operator=(OwnFile&& other) noexcept {
        if (this != &other) {
            drop();
            path_ = std::exchange(other.path_, {});
        }
        return *this;
    }
    ~OwnFile() { drop(); }
    const fs::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }
    void keep() { path_.clear(); }
    void drop() {
        if (!path_.empty()) ::unlink(path_.c_str());
        path_.clear();
    }

  private:
    fs::path path_;
};

bool writeAll(int fd, std::string_view bytes, std::string_view name) {
    while (!bytes.empty()) {
        if (faulted("write", name)) return false;
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file the name stands for: a symbolic link is followed, so that the
// file it points to receives the new content and the link stays.
fs::path replacedFile(const fs::path& dir, std::string_view fileName) {
    fs::path path = dir / std::string(fileName);
    for (int links = 0; links < 40; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) fail(fileName, systemErrorText(ec.value()));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    fail(fileName, systemErrorText(ELOOP));
}

// Makes renames in `dir` durable. A file system without the notion
// (EINVAL) has nothing more to do.
void flushFolder(std::string_view fileName, const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) failErrno(fileName);
    const int result = faulted("folder", fileName) ? -1 : folderSync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) fail(fileName, systemErrorText(error));
}

// `bytes` in a new flushed file beside `target`, with the mode of the file
// it replaces (0644 for a new one).
OwnFile flushedTemporary(std::string_view fileName, const fs::path& target,
                         std::string_view bytes) {
    std::string path =
        (target.parent_path() / (temporaryPrefix(target) + ownerToken() + ".XXXXXX")).string();
    if (faulted("create", fileName)) failErrno(fileName);
    const int fd = ::mkstemp(path.data());
    if (fd < 0) failErrno(fileName);
    OwnFile file{fs::path(path)};
    struct stat old {};
    const mode_t mode =
        (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ? (old.st_mode & 07777) : 0644;
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes, fileName) &&
                         !faulted("flush", fileName) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closeFaulted = faulted("close", fileName);
    const int closeError = errno;
    const bool closed = ::close(fd) == 0 && !closeFaulted;
    if (!written) fail(fileName, systemErrorText(writeErrno));
    if (!closed) fail(fileName, systemErrorText(closeFaulted ? closeError : errno));
    return file;
}

// A regular file's bytes, when it is one within `limit`; never follows a
// link at the last step.
std::optional<std::string> wholeFile(const fs::path& path, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) <= limit) {
        std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
        std::size_t filled = 0;
        for (;;) {
            const ssize_t n = ::read(fd, content.data() + filled, content.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0) bytes = content.substr(0, filled);
                break;
            }
            filled += static_cast<std::size_t>(n);
            if (filled == content.size()) break;  // grew while read
        }
    }
    ::close(fd);
    return bytes;
}

bool present(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) out[static_cast<std::size_t>(i)] = digits[hash & 0xF];
    return out;
}

// The journal: what a transaction is about to do.
constexpr std::string_view kNoBackup = "-";       // the file was not there
constexpr std::string_view kUnknownBackup = "?";  // an earlier version's record

struct JournalEntry {
    std::string fileName;   // "Otona.csv"
    std::string temporary;  // the new file's name beside its target
    std::size_t size = 0;
    std::string checksum;
    std::string backup;  // the old file's second name beside it, or kNoBackup
};

struct Journal {
    std::string owner;
    std::vector<JournalEntry> entries;
};

std::string formatJournal(const Journal& journal) {
    std::string body = std::string(kJournalHeading) + "\n" + journal.owner + "\n";
    for (const JournalEntry& e : journal.entries)
        body += e.fileName + " " + e.temporary + " " + std::to_string(e.size) + " " + e.checksum +
                " " + e.backup + "\n";
    return body + "end " + checksum(body) + "\n";
}

bool knownFileName(std::string_view name) { return tableFileNamed(name) != nullptr; }

bool besideName(std::string_view name) {
    return name.starts_with(".") && name.find('/') == std::string_view::npos && name != "." &&
           name != "..";
}

// Empty for a record that is not whole or names anything but files of
// ours: a journal never makes the program touch another file.
std::optional<Journal> parseJournal(const std::string& text) {
    const std::size_t end = text.rfind("end ");
    if (end == std::string::npos ||
        text.substr(end) != "end " + checksum(std::string_view(text).substr(0, end)) + "\n")
        return std::nullopt;
    std::istringstream in(text.substr(0, end));
    std::string heading;
    Journal journal;
    if (!std::getline(in, heading) ||
        (heading != kJournalHeading && heading != kPairJournalHeading) ||
        !std::getline(in, journal.owner))
        return std::nullopt;
    const bool withBackups = heading == kJournalHeading;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        JournalEntry e;
        if (!(fields >> e.fileName >> e.temporary >> e.size >> e.checksum)) return std::nullopt;
        if (withBackups && !(fields >> e.backup)) return std::nullopt;
        if (!withBackups) e.backup = kUnknownBackup;
        if (!knownFileName(e.fileName) || !besideName(e.temporary) ||
            (withBackups && e.backup != kNoBackup && !besideName(e.backup)))
            return std::nullopt;
        journal.entries.push_back(std::move(e));
    }
    if (journal.entries.empty()) return std::nullopt;
    return journal;
}

bool holds(const fs::path& path, const JournalEntry& e) {
    const std::optional<std::string> bytes = wholeFile(path, MaxTableFileBytes);
    return bytes && bytes->size() == e.size && checksum(*bytes) == e.checksum;
}

void renameOrFail(const fs::path& from, const fs::path& to, std::string_view fileName) {
    if (faulted("rename", fileName) || ::rename(from.c_str(), to.c_str()) != 0) failErrno(fileName);
}

void unlinkOrFail(const fs::path& path, std::string_view fileName) {
    if ((faulted("unlink", fileName) || ::unlink(path.c_str()) != 0) && errno != ENOENT)
        failErrno(fileName);
}

void flushFolders(const std::vector<std::pair<std::string, fs::path>>& folders) {
    std::vector<fs::path> done;
    for (const auto& [fileName, folder] : folders) {
        if (std::find(done.begin(), done.end(), folder) != done.end()) continue;
        flushFolder(fileName, folder);
        done.push_back(folder);
    }
}

// The new set, when every new file is whole beside its target or already
// in its place: the renames that are left.
bool completeJournal(const fs::path& dir, const Journal& journal) {
    std::vector<std::pair<fs::path, fs::path>> renames;
    std::vector<std::pair<std::string, fs::path>> folders;
    for (const JournalEntry& e : journal.entries) {
        const fs::path target = replacedFile(dir, e.fileName);
        const fs::path temporary = target.parent_path() / e.temporary;
        if (holds(temporary, e))
            renames.emplace_back(temporary, target);
        else if (!holds(target, e))
            return false;
        folders.emplace_back(e.fileName, target.parent_path());
    }
    for (std::size_t i = 0; i < renames.size(); ++i)
        renameOrFail(renames[i].first, renames[i].second, renames[i].second.filename().string());
    flushFolders(folders);
    for (const JournalEntry& e : journal.entries) {
        if (e.backup == kNoBackup || e.backup == kUnknownBackup) continue;
        const fs::path target = replacedFile(dir, e.fileName);
        unlinkOrFail(target.parent_path() / e.backup, e.fileName);
    }
    return true;
}

// The old set: every backup back in its place, every file that was not
// there removed again, every new file gone.
void undoJournal(const fs::path& dir, const Journal& journal) {
    std::vector<std::pair<std::string, fs::path>> folders;
    for (auto e = journal.entries.rbegin(); e != journal.entries.rend(); ++e) {
        const fs::path target = replacedFile(dir, e->fileName);
        const fs::path folder = target.parent_path();
        if (e->backup == kNoBackup) {
            if (holds(target, *e)) unlinkOrFail(target, e->fileName);
        } else if (e->backup != kUnknownBackup && present(folder / e->backup)) {
            // Two names of one file: the rename leaves both, the second goes.
            renameOrFail(folder / e->backup, target, e->fileName);
            unlinkOrFail(folder / e->backup, e->fileName);
        }
        unlinkOrFail(folder / e->temporary, e->fileName);
        folders.emplace_back(e->fileName, folder);
    }
    flushFolders(folders);
}

// Removes the temporaries and backups that writers who are done left in
// the folder and beside linked files; nothing else is touched.
struct Leftover {
    fs::directory_entry entry;
    std::optional<Owner> owner;  // none: a name of an earlier version
};

// Every temporary name of ours in the folders the files of `dir` live in
// (a file's link may lead elsewhere), and the journal's temporaries, with
// their writers: whether each is left over is for the lock holder to judge.
std::vector<Leftover> temporariesIn(const fs::path& dir) {
    struct Place {
        fs::path folder;
        std::string prefix;
        bool oldFormToo;
    };
    std::vector<Place> places;
    for (const TableFile& file : TableFiles) {
        try {
            const fs::path target = replacedFile(dir, file.fileName());
            places.push_back(
                {target.parent_path(), temporaryPrefix(target), file.member == nullptr});
        } catch (const StepFailure&) {
        }
    }
    places.push_back({dir, std::string(kJournalName) + ".", false});
    std::vector<Leftover> found;
    std::vector<fs::path> listed;
    for (const Place& place : places) {
        if (std::find(listed.begin(), listed.end(), place.folder) != listed.end()) continue;
        listed.push_back(place.folder);
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(place.folder, ec)) {
            const std::string name = entry.path().filename().string();
            for (const Place& p : places) {
                if (p.folder != place.folder) continue;
                TemporaryName t = temporaryName(name, p.prefix, p.oldFormToo);
                if (!t.ours) continue;
                found.push_back({entry, std::move(t.owner)});
                break;
            }
        }
    }
    return found;
}

void sweep(const fs::path& dir, bool locked) {
    for (const Leftover& left : temporariesIn(dir)) {
        std::error_code ec;
        const bool done = left.owner ? ownerDone(*left.owner, locked) : locked;
        if (done && left.entry.is_regular_file(ec) && !left.entry.is_symlink(ec))
            fs::remove(left.entry.path(), ec);
    }
}

// Nothing for an opener to settle: no journal and no temporary of any
// writer. A reader then needs no exclusive lock; should a writer begin
// meanwhile, the reader's shared lock waits for it, or the set's identity
// tells that it changed.
bool nothingToSettle(const fs::path& dir) {
    return !present(dir / kJournalName) && temporariesIn(dir).empty();
}

enum class Settled { Yes, Busy };

// What an opener does with the folder's exclusive lock held (or not to be
// had): the journal of a transaction cut short settled, leftovers swept.
Settled settleLocked(const fs::path& dir, bool locked) {
    const fs::path journalPath = dir / kJournalName;
    if (const std::optional<std::string> text = wholeFile(journalPath, kJournalLimit)) {
        const std::optional<Journal> journal = parseJournal(*text);
        const std::optional<Owner> owner = journal ? parseOwner(journal->owner) : std::nullopt;
        if (owner ? !ownerDone(*owner, locked) : !locked) return Settled::Busy;
        if (journal && !completeJournal(dir, *journal)) undoJournal(dir, *journal);
        unlinkOrFail(journalPath, kJournalName);
        flushFolder(kJournalName, dir);
    } else if (present(journalPath) && !locked) {
        return Settled::Busy;  // not ours to judge without the lock
    }
    sweep(dir, locked);
    return Settled::Yes;
}

constexpr std::string_view kBusy =
    "別の端末がこのフォルダに書き込んでいる最中です。しばらくしてからもう一度行ってください";

// Settles with the exclusive lock, waiting (lock released) while another
// writer that does not share the lock is at work.
void settleWaiting(const fs::path& dir, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        {
            const UntinLock lock(dir, UntinLockMode::Exclusive);
            if (settleLocked(dir, lock.held()) == Settled::Yes) return;
        }
        if (std::chrono::steady_clock::now() >= deadline) fail(kJournalName, std::string(kBusy));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// The old file's second name beside it; a flushed copy of it where the file
// system has no second names.
OwnFile backupOf(std::string_view fileName, const fs::path& target) {
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path backup =
            folder / (temporaryPrefix(target) + ownerToken() + "." + randomSuffix());
        if (!faulted("link", fileName) && ::link(target.c_str(), backup.c_str()) == 0)
            return OwnFile(backup);
        if (errno == EEXIST) continue;
        if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != ENOTSUP &&
            errno != EOPNOTSUPP && errno != ENOSYS)
            failErrno(fileName);
        const std::optional<std::string> bytes = wholeFile(target, MaxTableFileBytes);
        if (!bytes) fail(fileName, "今の内容を控えられません");
        return flushedTemporary(fileName, target, *bytes);
    }
    fail(fileName, systemErrorText(EEXIST));
}

struct Prepared {
    std::string fileName;
    fs::path target;
    std::size_t size = 0;
    std::string sum;
    OwnFile temporary;
    OwnFile backup;  // empty: no old file
};

Prepared prepare(const fs::path& dir, const FileReplacement& change) {
    Prepared p{change.fileName,
               replacedFile(dir, change.fileName),
               change.bytes.size(),
               checksum(change.bytes),
               {},
               {}};
    struct stat old {};
    const bool exists = ::stat(p.target.c_str(), &old) == 0;
    // A file the office made read-only is not replaced behind its back,
    // whoever runs the program.
    if (exists && S_ISREG(old.st_mode) && (old.st_mode & 0222) == 0)
        fail(change.fileName, "ファイルが読み取り専用です");
    // Writable, but not by this user (a clerk who is not in the file's group).
    if (exists && S_ISREG(old.st_mode) && ::access(p.target.c_str(), W_OK) != 0)
        fail(change.fileName,
             errno == EACCES ? "このユーザーには書き込む権限がありません" : systemErrorText(errno));
    // A device, a FIFO or a folder in the file's place (also behind a link)
    // is no file of ours to replace.
    if (exists && !S_ISREG(old.st_mode))
        fail(change.fileName,
             S_ISDIR(old.st_mode) ? systemErrorText(EISDIR) : "通常のファイルではありません");
    p.temporary = flushedTemporary(change.fileName, p.target, change.bytes);
    return p;
}

// Puts the journal in place by a second name, so that it never replaces
// another writer's; flushed before any file is renamed.
void placeJournal(const fs::path& dir, const Journal& journal,
                  const std::vector<std::pair<std::string, fs::path>>& folders) {
    const fs::path journalPath = dir / kJournalName;
    OwnFile temporary = flushedTemporary(kJournalName, journalPath, formatJournal(journal));
    // The new files' names must be on disk before the record naming them.
    flushFolders(folders);
    if (faulted("link", kJournalName) ||
        ::link(temporary.path().c_str(), journalPath.c_str()) != 0) {
        if (errno == EEXIST) fail(kJournalName, std::string(kBusy));
        if (errno != EPERM && errno != EMLINK && errno != ENOTSUP && errno != EOPNOTSUPP &&
            errno != ENOSYS)
            failErrno(kJournalName);
        // No second names here: the rename, when no journal is there.
        if (present(journalPath)) fail(kJournalName, std::string(kBusy));
        renameOrFail(temporary.path(), journalPath, kJournalName);
        temporary.keep();
    }
    try {
        flushFolder(kJournalName, dir);
    } catch (const StepFailure&) {
        ::unlink(journalPath.c_str());
        throw;
    }
}

// Each file's identity (inode, size, time of the last change of its
// content), the journal's included unless `journalToo` is false: a
// transaction or an edit that touched the set changes it.
std::string identityOf(const std::vector<fs::path>& folders, bool journalToo = true) {
    std::string out;
    for (const fs::path& dir : folders) {
        const auto note = [&](std::string_view name) {
            struct stat info {};
            if (::stat((dir / std::string(name)).c_str(), &info) != 0) {
                out += "-;";
                return;
            }
            out += std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + ":" +
                   std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
                   std::to_string(info.st_mtim.tv_nsec) + ";";
        };
        if (journalToo) note(kJournalName);
        for (const TableFile& file : TableFiles) note(file.fileName());
        out += "|";
    }
    return out;
}

bool journalIn(const std::vector<fs::path>& folders) {
    return std::any_of(folders.begin(), folders.end(),
                       [](const fs::path& dir) { return present(dir / kJournalName); });
}

FolderWriteError writeError(const StepFailure& failure, SetOutcome outcome) {
    return FolderWriteError(failure.fileName, failure.reason, outcome);
}

}  // namespace

FolderTransaction::FolderTransaction(fs::path dir)
    : dir_(std::move(dir)), lock_(dir_, UntinLockMode::Exclusive) {
    try {
        if (settleLocked(dir_, lock_.held()) == Settled::Busy)
            fail(kJournalName, std::string(kBusy));
        identity_ = identityOf({dir_}, false);
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::Old);
    }
}

void FolderTransaction::commit(const std::vector<FileReplacement>& changes) {
    std::vector<Prepared> files;
    Journal journal{ownerToken(), {}};
    std::vector<std::pair<std::string, fs::path>> folders;
    try {
        for (const FileReplacement& change : changes) files.push_back(prepare(dir_, change));
        for (Prepared& p : files) {
            if (present(p.target)) p.backup = backupOf(p.fileName, p.target);
            journal.entries.push_back(
                {p.fileName, p.temporary.path().filename().string(), p.size, p.sum,
                 p.backup.empty() ? std::string(kNoBackup) : p.backup.path().filename().string()});
            folders.emplace_back(p.fileName, p.target.parent_path());
        }
        placeJournal(dir_, journal, folders);
        // The set as read when the transaction began, or another writer
        // that does not share the lock got in between: nothing is replaced.
        if (identityOf({dir_}, false) != identity_) {
            ::unlink((dir_ / kJournalName).c_str());
            fail(kJournalName, std::string(kBusy));
        }
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::Old);
    }

    const fs::path journalPath = dir_ / kJournalName;
    for (Prepared& p : files) {
        try {
            renameOrFail(p.temporary.path(), p.target, p.fileName);
            p.temporary.keep();
        } catch (const StepFailure& failure) {
            try {
                undoJournal(dir_, journal);
                unlinkOrFail(journalPath, kJournalName);
                flushFolder(kJournalName, dir_);
            } catch (const StepFailure&) {
                // The next opener finishes putting the old set back: the
                // files it needs stay.
                for (Prepared& q : files) {
                    q.temporary.keep();
                    q.backup.keep();
                }
                throw writeError(failure, SetOutcome::LeftToRecovery);
            }
            for (Prepared& q : files) q.backup.keep();  // renamed back into place
            throw writeError(failure, SetOutcome::Old);
        }
    }
    try {
        flushFolders(folders);
    } catch (const StepFailure& failure) {
        ::unlink(journalPath.c_str());
        throw writeError(failure, SetOutcome::New);
    }
    // Done: should the journal not go, the next opener finds the set new
    // and removes it with the backups.
    if (!faulted("unlink", kJournalName) && ::unlink(journalPath.c_str()) == 0) {
        try {
            flushFolder(kJournalName, dir_);
        } catch (const StepFailure&) {
        }
    } else {
        for (Prepared& p : files) p.backup.keep();
    }
}

void settleFolder(const fs::path& dir) {
    try {
        const UntinLock lock(dir, UntinLockMode::Exclusive);
        settleLocked(dir, lock.held());
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::LeftToRecovery);
    }
}

void replaceFile(const fs::path& dir, std::string_view fileName, std::string_view bytes) {
    Prepared p;
    try {
        p = prepare(dir, {std::string(fileName), std::string(bytes)});
        renameOrFail(p.temporary.path(), p.target, fileName);
        p.temporary.keep();
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::Old);
    }
    try {
        flushFolder(fileName, p.target.parent_path());
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::New);
    }
}

SetReading::SetReading(const std::vector<fs::path>& folders) {
    for (const fs::path& dir : folders) {
        std::error_code ec;
        const bool again = std::any_of(folders_.begin(), folders_.end(), [&](const fs::path& d) {
            return d == dir || fs::equivalent(d, dir, ec);
        });
        if (!again) folders_.push_back(dir);
    }
    try {
        for (const fs::path& dir : folders_)
            if (!nothingToSettle(dir)) settleWaiting(dir, std::chrono::seconds(10));
    } catch (const StepFailure& failure) {
        throw writeError(failure, SetOutcome::LeftToRecovery);
    }
    for (const fs::path& dir : folders_) locks_.emplace_back(dir, UntinLockMode::Shared);
    identity_ = journalIn(folders_) ? std::string() : identityOf(folders_);
}

bool SetReading::stillWhole() const {
    return !identity_.empty() && !journalIn(folders_) && identityOf(folders_) == identity_;
}

DataFileError settleFailed(const fs::path& dir, const FolderWriteError& failure) {
    return DataFileError(DataFileError::Kind::WriteFailed, failure.fileName(),
                         "中断された書き込みを片付けられません：ファイル「" + failure.fileName() +
                             "」：" + failure.reason() + "（フォルダ「" +
                             toValidUtf8(dir.string()) + "」）。");
}

void setKeptChanging(const fs::path& dir) {
    throw DataFileError(DataFileError::Kind::Unreadable, std::string(kJournalName),
                        "フォルダ「" + toValidUtf8(dir.string()) +
                            "」の表が、読むたびに書き換えられています。"
                            "しばらくしてからもう一度行ってください。");
}

void setFolderSyncForTesting(int (*sync)(int fd)) { folderSync = sync ? sync : ::fsync; }

void setWriteFaultForTesting(std::function<int(std::string_view, std::string_view)> hook) {
    faultHook = std::move(hook);
}

}  // namespace kippurun
