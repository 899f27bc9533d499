#include "data/key_layout.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "data/number_reading.h"
#include "data/table_file.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEkimeiLiteral = "\\Untin\\Ekimei1.csv";
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

// Temporary files are named after the file they replace: ".Start.csv.Ab3dE9".
std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".";
}

// The bytes in a flushed temporary file beside `target`, with the mode of
// the file it replaces.
std::unique_ptr<TemporaryFile> flushedTemporary(std::string_view fileName, const fs::path& target,
                                                std::string_view bytes) {
    auto temporary = std::make_unique<TemporaryFile>(
        (target.parent_path() / (temporaryPrefix(target) + "XXXXXX")).string());
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

void writeEkimeiFile(const fs::path& untinDir, const EkimeiGrid& grid) {
    writeFileAtomically(untinDir, "Ekimei1.csv", formatEkimeiFile(grid));
}

void writeStartFile(const fs::path& untinDir, std::string_view departure,
                    std::string_view arrival) {
    writeFileAtomically(untinDir, "Start.csv", formatStartFile(departure, arrival));
}

void writeKeySettings(const fs::path& untinDir, const EkimeiGrid& grid, std::string_view departure,
                      std::string_view arrival) {
    removeSaveLeftovers(untinDir);
    Replacement ekimei, start;
    std::unique_ptr<TemporaryFile> oldEkimei;
    try {
        ekimei = prepare(untinDir, "Ekimei1.csv", formatEkimeiFile(grid));
        start = prepare(untinDir, "Start.csv", formatStartFile(departure, arrival));
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
        commit(ekimei);
    } catch (const WriteFailure& failure) {
        throw writeFailed(untinDir, failure, "どちらのファイルも元のままです。");
    }
    try {
        commit(start);
    } catch (const WriteFailure& failure) {
        const bool putBack = oldEkimei
                                 ? ::rename(oldEkimei->path().c_str(), ekimei.target.c_str()) == 0
                                 : ::unlink(ekimei.target.c_str()) == 0;
        if (!putBack)
            throw writeFailed(untinDir, failure,
                              "「Ekimei1.csv」は新しい内容のまま、元に戻せませんでした。");
        if (oldEkimei) oldEkimei->keep();
        throw writeFailed(untinDir, failure, "どちらのファイルも元のままです。");
    }
    try {
        flushFolder(ekimei.fileName, ekimei.target.parent_path());
        flushFolder(start.fileName, start.target.parent_path());
    } catch (const WriteFailure& failure) {
        throw writeFailed(untinDir, failure, kUnconfirmed);
    }
}

void removeSaveLeftovers(const fs::path& untinDir) {
    for (std::string_view fileName : {"Ekimei1.csv", "Start.csv"}) {
        fs::path target;
        try {
            target = replacedFile(untinDir, fileName);
        } catch (const WriteFailure&) {
            continue;
        }
        const std::string prefix = temporaryPrefix(target);
        // Tidying only: a folder that cannot be listed is left as it is.
        try {
            std::error_code ec;
            for (const fs::directory_entry& entry :
                 fs::directory_iterator(target.parent_path(), ec)) {
                const std::string name = entry.path().filename().string();
                const bool ours =
                    name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
                    std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                                name.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
                if (ours && entry.is_regular_file(ec) && !entry.is_symlink(ec))
                    fs::remove(entry.path(), ec);
            }
        } catch (const fs::filesystem_error&) {
        }
    }
}

void setFolderSyncForTesting(int (*sync)(int fd)) { folderSync = sync ? sync : ::fsync; }

}  // namespace kippurun
