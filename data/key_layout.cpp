#include "data/key_layout.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "data/number_reading.h"
#include "data/table_file.h"
#include "data/table_files.h"
#include "data/untin_lock.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEkimeiLiteral = KeyLayoutFile.literal;
constexpr int kEkimeiColumns = 10;

std::string plainNumber(std::string_view text) { return formatPlain(readLenient(text)); }

// Why one step of a replacement failed; the public writers turn it into the
// clerk's message, which also says what became of the files.
struct WriteFailure {
    std::string fileName;
    std::string reason;
};

[[noreturn]] void fail(std::string_view fileName, std::string reason) {
    throw WriteFailure{std::string(fileName), std::move(reason)};
}

DataFileError writeFailed(const fs::path& untinDir, const WriteFailure& failure,
                          std::string_view outcome) {
    return DataFileError(DataFileError::Kind::WriteFailed, failure.fileName,
                         "ファイル「" + failure.fileName + "」を保存できません：" + failure.reason +
                             "（フォルダ「" + toValidUtf8(untinDir.string()) + "」）。" +
                             std::string(outcome));
}

// The temporary file of one replacement; removed again unless it was renamed
// into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string pathTemplate) : path_(std::move(pathTemplate)) {
        fd_ = ::mkstemp(path_.data());
        if (fd_ < 0) path_.clear();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the file; false (with errno set) when the close reports an error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void keep() { path_.clear(); }

  private:
    std::string path_;
    int fd_ = -1;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int (*folderSync)(int) = ::fsync;

// The file the name stands for: a symbolic link is followed, so that the
// file it points to receives the new content and the link stays.
fs::path replacedFile(const fs::path& untinDir, std::string_view fileName) {
    fs::path path = untinDir / std::string(fileName);
    for (int links = 0; links < 40; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) fail(fileName, systemErrorText(ec.value()));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    fail(fileName, systemErrorText(ELOOP));
}

// Temporary files are named after the file they replace and the process
// that writes them, "host-pid": ".Start.csv.kaisatsu1-4242.Ab3dE9". A
// counter that finds the folder cannot be locked thus still tells its own
// and a dead process's files from a live one's.
std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".";
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "host";
    std::string out;
    for (const char* c = name; *c && out.size() < 32; ++c)
        out.push_back(std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
    return out.empty() ? "host" : out;
}

std::string ownerToken() { return hostName() + "-" + std::to_string(::getpid()); }

// The bytes in a flushed temporary file beside `target`, with the mode of
// the file it replaces.
std::unique_ptr<TemporaryFile> flushedTemporary(std::string_view fileName, const fs::path& target,
                                                std::string_view bytes) {
    auto temporary = std::make_unique<TemporaryFile>(
        (target.parent_path() / (temporaryPrefix(target) + ownerToken() + ".XXXXXX")).string());
    if (temporary->fd() < 0) {
        const int error = errno;
        fail(fileName,
             error == ENOENT ? "保存先のフォルダが見つかりません" : systemErrorText(error));
    }
    // mkstemp makes the file private; the new file keeps the old one's mode.
    struct stat old {};
    const mode_t mode =
        (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ? (old.st_mode & 07777) : 0644;
    if (::fchmod(temporary->fd(), mode) != 0 || !writeAll(temporary->fd(), bytes) ||
        ::fsync(temporary->fd()) != 0 || !temporary->close()) {
        fail(fileName, systemErrorText(errno));
    }
    return temporary;
}

// One file's new content, ready to be renamed into place.
struct Replacement {
    std::string fileName;
    fs::path target;
    std::unique_ptr<TemporaryFile> temporary;
};

Replacement prepare(const fs::path& untinDir, std::string_view fileName, std::string_view bytes) {
    Replacement r{std::string(fileName), replacedFile(untinDir, fileName), nullptr};
    // A file the office made read-only is not replaced behind its back,
    // whoever runs the program.
    struct stat old {};
    if (::stat(r.target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ((old.st_mode & 0222) == 0 || ::access(r.target.c_str(), W_OK) != 0))
        fail(fileName, "ファイルが読み取り専用です");
    // A device, a FIFO or a folder in the file's place (also behind a link)
    // is no file of ours to replace.
    if (::stat(r.target.c_str(), &old) == 0 && !S_ISREG(old.st_mode))
        fail(fileName,
             S_ISDIR(old.st_mode) ? systemErrorText(EISDIR) : "通常のファイルではありません");
    r.temporary = flushedTemporary(fileName, r.target, bytes);
    return r;
}

void commit(Replacement& r) {
    if (::rename(r.temporary->path().c_str(), r.target.c_str()) != 0)
        fail(r.fileName, systemErrorText(errno));
    r.temporary->keep();
}

// Makes the renames durable. A folder that cannot be flushed leaves the
// save unconfirmed, which is reported; a file system without the notion
// (EINVAL) has nothing more to do.
void flushFolder(std::string_view fileName, const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fail(fileName, systemErrorText(errno));
    const int result = folderSync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) fail(fileName, systemErrorText(error));
}

// The pair save as a transaction. Both temporaries are written and flushed,
// then an intent record (the journal) naming them with their sizes and
// checksums is put in place and flushed, then both are renamed, and last the
// journal is removed. Whoever opens the folder next finds the journal of a
// save cut short and finishes it when both temporaries are whole (or already
// renamed), else discards it, so that the pair is wholly old or wholly new.

constexpr std::string_view kJournalName = ".kippurun.journal";
constexpr std::string_view kJournalHeading = "kippurun save 1";
constexpr std::array<std::string_view, 2> kPairNames = {KeyLayoutFile.fileName(),
                                                        StartStationsFile.fileName()};
// No journal or pair file comes near it; anything larger is not ours.
constexpr std::size_t kSmallFileLimit = 64 * 1024;

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

// A regular file's bytes, when it is one and small; never follows a link.
std::optional<std::string> smallFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) <= kSmallFileLimit) {
        std::string content(kSmallFileLimit + 1, '\0');
        std::size_t filled = 0;
        for (;;) {
            const ssize_t n = ::read(fd, content.data() + filled, content.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0) bytes = content.substr(0, filled);
                break;
            }
            filled += static_cast<std::size_t>(n);
            if (filled == content.size()) break;  // grew past the limit
        }
    }
    ::close(fd);
    return bytes;
}

bool present(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// "host-pid", as temporary names and the journal carry it.
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

// Without the folder's lock only the files of a process known to be gone
// are touched: another counter may be saving at this moment.
bool ownerGone(const Owner& owner) {
    if (owner.host != hostName()) return false;
    if (owner.pid == ::getpid()) return true;
    return ::kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH;
}

// A temporary file of ours beside files whose temporaries start with
// `prefix`: prefix + "host-pid." + 6 letters or digits, or prefix + 6 of
// them (the form earlier versions wrote).
struct TemporaryName {
    bool ours = false;
    std::optional<Owner> owner;
};

TemporaryName temporaryName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return {};
    const std::string_view rest = name.substr(prefix.size());
    if (rest.size() < 6) return {};
    const bool random = std::all_of(rest.end() - 6, rest.end(),
                                    [](unsigned char c) { return std::isalnum(c) != 0; });
    if (!random) return {};
    if (rest.size() == 6) return {true, std::nullopt};
    if (rest.size() < 8 || rest[rest.size() - 7] != '.') return {};
    std::optional<Owner> owner = parseOwner(rest.substr(0, rest.size() - 7));
    return owner ? TemporaryName{true, owner} : TemporaryName{};
}

struct JournalEntry {
    std::string fileName;   // "Ekimei1.csv"
    std::string temporary;  // the temporary's name, beside the file it replaces
    std::size_t size = 0;
    std::string checksum;
};

struct Journal {
    std::string owner;
    std::vector<JournalEntry> entries;
};

std::string formatJournal(const Journal& journal) {
    std::string body = std::string(kJournalHeading) + "\n" + journal.owner + "\n";
    for (const JournalEntry& e : journal.entries)
        body +=
            e.fileName + " " + e.temporary + " " + std::to_string(e.size) + " " + e.checksum + "\n";
    return body + "end " + checksum(body) + "\n";
}

// Empty for a record that is not whole or not ours.
std::optional<Journal> parseJournal(const std::string& text) {
    const std::size_t end = text.rfind("end ");
    if (end == std::string::npos ||
        text.substr(end) != "end " + checksum(std::string_view(text).substr(0, end)) + "\n")
        return std::nullopt;
    std::istringstream in(text.substr(0, end));
    std::string heading;
    Journal journal;
    if (!std::getline(in, heading) || heading != kJournalHeading ||
        !std::getline(in, journal.owner))
        return std::nullopt;
    JournalEntry e;
    while (in >> e.fileName >> e.temporary >> e.size >> e.checksum) journal.entries.push_back(e);
    if (journal.entries.size() != kPairNames.size()) return std::nullopt;
    for (std::size_t i = 0; i < kPairNames.size(); ++i) {
        const std::string& temporary = journal.entries[i].temporary;
        if (journal.entries[i].fileName != kPairNames[i] || !temporary.starts_with(".") ||
            temporary.find('/') != std::string::npos)
            return std::nullopt;
    }
    return journal;
}

bool holds(const fs::path& path, const JournalEntry& e) {
    const std::optional<std::string> bytes = smallFile(path);
    return bytes && bytes->size() == e.size && checksum(*bytes) == e.checksum;
}

// Finishes the save the journal records when each of its files is either
// still a whole temporary or already renamed into place; otherwise leaves
// the old files, whose temporaries the sweep then removes.
void finishOrDiscard(const fs::path& untinDir, const Journal& journal) {
    std::vector<std::pair<fs::path, fs::path>> renames;  // temporary, target
    for (const JournalEntry& e : journal.entries) {
        const fs::path target = replacedFile(untinDir, e.fileName);
        const fs::path temporary = target.parent_path() / e.temporary;
        if (temporaryName(e.temporary, temporaryPrefix(target)).ours && holds(temporary, e)) {
            renames.emplace_back(temporary, target);
        } else if (present(temporary) || !holds(target, e)) {
            return;
        }
    }
    for (const auto& [temporary, target] : renames)
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            fail(target.filename().string(), systemErrorText(errno));
    for (const auto& [temporary, target] : renames)
        flushFolder(target.filename().string(), target.parent_path());
}

// Removes the temporaries a save cut short left beside the two files and
// the journal; nothing else is touched.
void sweepLeftovers(const fs::path& untinDir, bool locked) {
    std::vector<std::pair<fs::path, std::string>> places;  // folder, prefix
    for (const std::string_view fileName : kPairNames) {
        try {
            const fs::path target = replacedFile(untinDir, fileName);
            places.emplace_back(target.parent_path(), temporaryPrefix(target));
        } catch (const WriteFailure&) {
        }
    }
    places.emplace_back(untinDir, std::string(kJournalName) + ".");
    for (const auto& [folder, prefix] : places) {
        // Tidying only: a folder that cannot be listed is left as it is.
        try {
            std::error_code ec;
            for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
                const TemporaryName name = temporaryName(entry.path().filename().string(), prefix);
                const bool removable = locked || (name.owner && ownerGone(*name.owner));
                if (name.ours && removable && entry.is_regular_file(ec) && !entry.is_symlink(ec))
                    fs::remove(entry.path(), ec);
            }
        } catch (const fs::filesystem_error&) {
        }
    }
}

// What the next opener does, the folder's lock held (or not to be had).
void recoverLocked(const fs::path& untinDir, bool locked) {
    const fs::path journalPath = untinDir / kJournalName;
    if (const std::optional<std::string> text = smallFile(journalPath)) {
        const std::optional<Journal> journal = parseJournal(*text);
        const std::optional<Owner> owner = journal ? parseOwner(journal->owner) : std::nullopt;
        if (locked || (owner && ownerGone(*owner))) {
            if (journal) finishOrDiscard(untinDir, *journal);
            if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT)
                fail(kJournalName, systemErrorText(errno));
            flushFolder(kJournalName, untinDir);
        }
    }
    sweepLeftovers(untinDir, locked);
}

// Puts the journal of a save in place, durably: the temporaries it names
// are flushed already, their folders are flushed here.
void writeJournal(const fs::path& untinDir, const Journal& journal,
                  const std::vector<fs::path>& folders) {
    TemporaryFile temporary(
        (untinDir / (std::string(kJournalName) + "." + ownerToken() + ".XXXXXX")).string());
    if (temporary.fd() < 0) fail(kJournalName, systemErrorText(errno));
    if (!writeAll(temporary.fd(), formatJournal(journal)) || ::fsync(temporary.fd()) != 0 ||
        !temporary.close())
        fail(kJournalName, systemErrorText(errno));
    for (const fs::path& folder : folders)
        if (folder != untinDir) flushFolder(kJournalName, folder);
    if (::rename(temporary.path().c_str(), (untinDir / kJournalName).c_str()) != 0)
        fail(kJournalName, systemErrorText(errno));
    temporary.keep();
    flushFolder(kJournalName, untinDir);
}

// The save is over, done or undone: its journal goes. Should that fail, the
// next opener finds the files as the journal says or as they were, and
// removes it.
void dropJournal(const fs::path& untinDir) {
    ::unlink((untinDir / kJournalName).c_str());
    try {
        flushFolder(kJournalName, untinDir);
    } catch (const WriteFailure&) {
    }
}

JournalEntry journalEntry(const Replacement& r, std::string_view bytes) {
    return {r.fileName, fs::path(r.temporary->path()).filename().string(), bytes.size(),
            checksum(bytes)};
}

constexpr std::string_view kOldKept = "元のファイルはそのままです。";
constexpr std::string_view kUnconfirmed =
    "新しい内容がディスクに書き込まれたか確かめられません。もう一度保存してください。";

}  // namespace

std::string keyNumberText(int k) { return (k >= 0 && k < 10 ? "0" : "") + std::to_string(k); }

EkimeiFile EkimeiLoad(const fs::path& untinDir) {
    const FileValues file = readFileValues(untinDir, kEkimeiLiteral, EkimeiCellCount);
    EkimeiFile result;
    for (std::size_t k = 0; k < EkimeiCellCount; ++k) result.grid[k] = toValidUtf8(file.value(k));
    for (std::size_t k = 0; k < StationKeyCount; ++k) {
        StationKeyEntry& entry = result.layout[k];
        const int station = stationNumberValue(file, k, true);
        entry.station = static_cast<std::int16_t>(station);
        entry.expressIndex = static_cast<std::int16_t>(expressIndexOf(station));
        entry.marineIndex = static_cast<std::int16_t>(marineIndexOf(station));
    }
    return result;
}

StartStations StartStationsLoad(const fs::path& untinDir) {
    return readStartStations(untinDir, nullptr);
}

std::string formatEkimeiFile(const EkimeiGrid& grid) {
    std::string out;
    out.reserve(EkimeiCellCount * 4 + 20);
    for (int k = 0; k < EkimeiCellCount; ++k) {
        // Cells beyond the keys belong to nothing; they are always written 999.
        out += k < StationKeyCount ? plainNumber(grid[static_cast<std::size_t>(k)])
                                   : std::to_string(NotSet);
        out += (k % kEkimeiColumns == kEkimeiColumns - 1) ? "\r\n" : ",";
    }
    return out;
}

std::string formatStartFile(std::string_view departure, std::string_view arrival) {
    return plainNumber(departure) + "," + plainNumber(arrival) + "\r\n";
}

void writeFileAtomically(const fs::path& untinDir, std::string_view fileName,
                         std::string_view bytes) {
    Replacement r;
    try {
        r = prepare(untinDir, fileName, bytes);
        commit(r);
    } catch (const WriteFailure& failure) {
        throw writeFailed(untinDir, failure, kOldKept);
    }
    try {
        flushFolder(fileName, r.target.parent_path());
    } catch (const WriteFailure& failure) {
        throw writeFailed(untinDir, failure, kUnconfirmed);
    }
}

std::string keySettingsOnDisk(const fs::path& untinDir) {
    std::string out;
    for (const std::string_view fileName : kPairNames) {
        out += fileName;
        try {
            const std::string bytes = readTableFileBytes(untinDir, fileName);
            out += ":" + std::to_string(bytes.size()) + ":" + bytes;
        } catch (const DataFileError& e) {
            out += "!" + std::string(e.what());
        }
        out += "\n";
    }
    return out;
}

void recoverKeySettings(const fs::path& untinDir) {
    const UntinLock lock(untinDir, UntinLockMode::Exclusive);
    try {
        recoverLocked(untinDir, lock.held());
    } catch (const WriteFailure& failure) {
        throw DataFileError(DataFileError::Kind::WriteFailed, failure.fileName,
                            "中断された設定の保存を片付けられません：ファイル「" +
                                failure.fileName + "」：" + failure.reason + "（フォルダ「" +
                                toValidUtf8(untinDir.string()) + "」）。");
    }
}

bool writeKeySettings(const fs::path& untinDir, const EkimeiGrid& grid, std::string_view departure,
                      std::string_view arrival, std::string* expected) {
    const UntinLock lock(untinDir, UntinLockMode::Exclusive);
    const std::string ekimeiBytes = formatEkimeiFile(grid);
    const std::string startBytes = formatStartFile(departure, arrival);
    Replacement ekimei, start;
    std::unique_ptr<TemporaryFile> oldEkimei;
    bool journaled = false;
    try {
        recoverLocked(untinDir, lock.held());
        if (expected) {
            std::string now = keySettingsOnDisk(untinDir);
            if (now != *expected) {
                *expected = std::move(now);
                return false;
            }
        }
        ekimei = prepare(untinDir, KeyLayoutFile.fileName(), ekimeiBytes);
        start = prepare(untinDir, StartStationsFile.fileName(), startBytes);
        // The layout file as it is now, to put back should the start file
        // fail after it; a missing one is simply removed again.
        try {
            oldEkimei = flushedTemporary(
                ekimei.fileName, ekimei.target,
                readTableFileBytes(ekimei.target.parent_path(), ekimei.target.filename().string()));
        } catch (const DataFileError& e) {
            if (e.kind() != DataFileError::Kind::FileNotFound)
                fail(ekimei.fileName, "今の内容を控えられません（" + std::string(e.what()) + "）");
        }
        writeJournal(
            untinDir,
            {ownerToken(), {journalEntry(ekimei, ekimeiBytes), journalEntry(start, startBytes)}},
            {ekimei.target.parent_path(), start.target.parent_path()});
        journaled = true;
        commit(ekimei);
    } catch (const WriteFailure& failure) {
        if (journaled) dropJournal(untinDir);
        throw writeFailed(untinDir, failure, "どちらのファイルも元のままです。");
    }
    try {
        commit(start);
    } catch (const WriteFailure& failure) {
        const bool putBack = oldEkimei
                                 ? ::rename(oldEkimei->path().c_str(), ekimei.target.c_str()) == 0
                                 : ::unlink(ekimei.target.c_str()) == 0;
        dropJournal(untinDir);
        if (!putBack)
            throw writeFailed(untinDir, failure,
                              "「" + std::string(KeyLayoutFile.fileName()) +
                                  "」は新しい内容のまま、元に戻せませんでした。");
        if (oldEkimei) oldEkimei->keep();
        throw writeFailed(untinDir, failure, "どちらのファイルも元のままです。");
    }
    try {
        flushFolder(ekimei.fileName, ekimei.target.parent_path());
        flushFolder(start.fileName, start.target.parent_path());
    } catch (const WriteFailure& failure) {
        dropJournal(untinDir);
        throw writeFailed(untinDir, failure, kUnconfirmed);
    }
    dropJournal(untinDir);
    return true;
}

void setFolderSyncForTesting(int (*sync)(int fd)) { folderSync = sync ? sync : ::fsync; }

}  // namespace kippurun
