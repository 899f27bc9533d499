#include "data/key_layout.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "data/number_reading.h"
#include "data/table_file.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEkimeiLiteral = "\\Untin\\Ekimei1.csv";
constexpr int kEkimeiColumns = 10;

std::string plainNumber(std::string_view text) { return formatPlain(readLenient(text)); }

[[noreturn]] void writeFailed(const fs::path& untinDir, std::string_view fileName,
                              const std::string& reason) {
    const std::string name(fileName);
    throw DataFileError(DataFileError::Kind::WriteFailed, name,
                        "ファイル「" + name + "」を保存できません：" + reason + "（フォルダ「" +
                            toValidUtf8(untinDir.string()) + "」）。元のファイルはそのままです。");
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

// Makes the rename itself durable; the new content is already safe.
void syncFolder(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

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
    const fs::path target = untinDir / std::string(fileName);
    std::string temporaryName(".");
    temporaryName.append(fileName).append(".XXXXXX");
    TemporaryFile temporary((untinDir / temporaryName).string());
    if (temporary.fd() < 0) {
        const int error = errno;
        writeFailed(untinDir, fileName,
                    error == ENOENT ? "保存先のフォルダが見つかりません" : systemErrorText(error));
    }
    // mkstemp makes the file private; the new file keeps the old one's mode.
    struct stat old {};
    const mode_t mode =
        (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ? (old.st_mode & 07777) : 0644;
    if (::fchmod(temporary.fd(), mode) != 0 || !writeAll(temporary.fd(), bytes) ||
        ::fsync(temporary.fd()) != 0 || !temporary.close()) {
        writeFailed(untinDir, fileName, systemErrorText(errno));
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        writeFailed(untinDir, fileName, systemErrorText(errno));
    }
    temporary.keep();
    syncFolder(untinDir);
}

void writeEkimeiFile(const fs::path& untinDir, const EkimeiGrid& grid) {
    writeFileAtomically(untinDir, "Ekimei1.csv", formatEkimeiFile(grid));
}

void writeStartFile(const fs::path& untinDir, std::string_view departure,
                    std::string_view arrival) {
    writeFileAtomically(untinDir, "Start.csv", formatStartFile(departure, arrival));
}

}  // namespace kippurun
