#include "data/table_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "data/fare_tables.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "data/table_files.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

std::string bracketed(std::string_view name) { return "「" + std::string(name) + "」"; }

DataFileError fileError(DataFileError::Kind kind, const std::string& relativePath,
                        const std::string& message) {
    return DataFileError(kind, relativePath, message);
}

DataFileError unreadable(const std::string& relativePath, const std::string& reason) {
    return fileError(
        DataFileError::Kind::Unreadable, relativePath,
        "表のファイル" + bracketed(relativePath) + "を読み込めません：" + reason + "。");
}

DataFileError notFound(const fs::path& untinDir, const std::string& relativePath) {
    std::error_code ec;
    const fs::file_status folder = fs::status(untinDir, ec);
    if (fs::exists(folder) && !fs::is_directory(folder)) {
        return fileError(DataFileError::Kind::PathNotFound, relativePath,
                         "表のフォルダ" + bracketedPath(untinDir) +
                             "はフォルダではなくファイルです（" + bracketed(relativePath) +
                             "を読み込めません）。");
    }
    if (!fs::is_directory(folder)) {
        return fileError(DataFileError::Kind::PathNotFound, relativePath,
                         "表のフォルダ" + bracketedPath(untinDir) + "が見つかりません（" +
                             bracketed(relativePath) + "を読み込めません）。");
    }
    return fileError(DataFileError::Kind::FileNotFound, relativePath,
                     "表のファイル" + bracketed(relativePath) + "が見つかりません（フォルダ" +
                         bracketedPath(untinDir) + "）。");
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

std::string tooLarge(std::size_t bytes) {
    return "ファイルが大きすぎます（" + std::to_string(bytes) + " バイト、上限 " +
           std::to_string(MaxTableFileBytes) + " バイト）";
}

std::string readWholeFile(const fs::path& untinDir, const fs::path& path,
                          const std::string& relativePath) {
    // Opened without blocking and checked on the descriptor itself: a FIFO or
    // device put in a table's place can neither hang the program nor slip
    // in between a check of the name and the opening.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) throw notFound(untinDir, relativePath);
        throw unreadable(relativePath, systemErrorText(error));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) throw unreadable(relativePath, systemErrorText(errno));
    if (S_ISDIR(info.st_mode)) throw unreadable(relativePath, systemErrorText(EISDIR));
    if (!S_ISREG(info.st_mode)) throw unreadable(relativePath, "通常のファイルではありません");
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > MaxTableFileBytes) throw unreadable(relativePath, tooLarge(size));
    // A regular file reads the same with or without blocking; clear the
    // flag all the same, so that a slow disk is waited for.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);

    // One byte more than the size announced, so that a file that grew since
    // is noticed and read to its end.
    std::string content(size + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (content.size() > MaxTableFileBytes) {
                throw unreadable(relativePath, tooLarge(content.size()));
            }
            content.resize(std::min(content.size() * 2, MaxTableFileBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw unreadable(relativePath, systemErrorText(errno));
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    content.resize(filled);
    return content;
}

}  // namespace

std::string valueExcerpt(std::string_view value) {
    if (value.empty()) return "（空）";
    const std::string valid = toValidUtf8(value);
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const auto byte = static_cast<unsigned char>(valid[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && ++characters > 20) {
            out += "…";
            break;
        }
        out.push_back(valid[i]);
    }
    return bracketed(escapeControls(out));
}

namespace {

DataFileError valueError(DataFileError::Kind kind, const FileValues& file, std::size_t k,
                         const std::string& complaint) {
    const DataFileError::Position position = valuePosition(file.content, k);
    DataFileError error(kind, file.relativePath,
                        "表のファイル" + bracketed(file.relativePath) + "の " +
                            std::to_string(k + 1) + " 番目の値（" + std::to_string(position.line) +
                            " 行目の " + std::to_string(position.field) + " 番目）" +
                            valueExcerpt(file.value(k)) + complaint);
    error.position = position;
    return error;
}

// Length of the UTF-8 sequence starting at `i`, 0 when it is not valid.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string relativeTablePath(std::string_view literal) {
    std::string relative(literal);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::string_view rest(relative);
    while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    constexpr std::string_view folder = "Untin/";
    if (rest.substr(0, folder.size()) == folder) rest.remove_prefix(folder.size());
    return std::string(rest);
}

fs::path tablePath(const fs::path& untinDir, std::string_view literal) {
    return untinDir / relativeTablePath(literal);
}

std::string readTableFileBytes(const fs::path& untinDir, std::string_view literal) {
    return readWholeFile(untinDir, tablePath(untinDir, literal), relativeTablePath(literal));
}

namespace {

DataFileError pastEndOfFile(const std::string& relativePath, std::string_view content,
                            std::size_t found, std::size_t count) {
    DataFileError error(DataFileError::Kind::PastEndOfFile, relativePath,
                        "表のファイル" + bracketed(relativePath) + "が途中で終わっています：値が " +
                            std::to_string(count) + " 個必要ですが、" + std::to_string(found) +
                            " 個しかありません。");
    error.valuesFound = found;
    error.valuesNeeded = count;
    error.position = valuePosition(content, found);
    return error;
}

}  // namespace

FileValues takeFileValues(std::string relativePath, std::string content, std::size_t count) {
    FileValues file;
    file.relativePath = std::move(relativePath);
    file.content = std::move(content);
    ValueScan scan = scanValues(file.content, count);
    if (scan.spans.size() < count) {
        throw pastEndOfFile(file.relativePath, file.content, scan.spans.size(), count);
    }
    file.spans = std::move(scan.spans);
    file.end = scan.end;
    return file;
}

FileValues readFileValues(const fs::path& untinDir, std::string_view literal, std::size_t count) {
    FileValues file =
        takeFileValues(relativeTablePath(literal), readTableFileBytes(untinDir, literal), count);
    // What follows the values taken is never looked at; don't keep a large tail.
    if (file.end + 4096 < file.content.size() / 2) {
        file.content.resize(file.end);
        file.content.shrink_to_fit();
    }
    return file;
}

std::optional<DataFileError> squareTableValueFailure(const FileValues& file, std::size_t k) {
    if (isValidUtf8(file.value(k))) return std::nullopt;
    return valueError(DataFileError::Kind::Unreadable, file, k,
                      "に UTF-8 として読めない文字があります。");
}

Table readSquareTable(const fs::path& untinDir, std::string_view literal, int side) {
    const auto count = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    std::string relativePath = relativeTablePath(literal);
    std::string content = readTableFileBytes(untinDir, literal);
    PackedValues packed = packValues(content, count);
    if (packed.ends.size() < count) {
        throw pastEndOfFile(relativePath, content, packed.ends.size(), count);
    }
    // Every value lies inside the bytes read, bounded by ASCII bytes, so
    // when those are valid UTF-8 so is each value. Only otherwise are the
    // values split again, to name the first that is not.
    if (!isValidUtf8(std::string_view(content).substr(0, packed.end))) {
        const FileValues file = takeFileValues(std::move(relativePath), std::move(content), count);
        for (std::size_t k = 0; k < count; ++k) {
            if (auto failure = squareTableValueFailure(file, k)) throw std::move(*failure);
        }
    }
    return Table(side, std::move(packed));
}

int stationNumberValue(const FileValues& file, std::size_t k, bool notSetAllowed) {
    const std::optional<double> number = readStrict(file.value(k));
    if (!number) throw valueError(DataFileError::Kind::NotANumber, file, k, "は数ではありません。");
    const double rounded = roundHalfEven(*number);
    if (rounded >= 0 && rounded < StationCount) return static_cast<int>(rounded);
    if (notSetAllowed && rounded == NotSet) return NotSet;
    throw valueError(DataFileError::Kind::OutOfRange, file, k,
                     notSetAllowed ? "は駅番号（0～106）でも未設定（999）でもありません。"
                                   : "は駅番号（0～106）ではありません。");
}

StartStations readStartStations(const fs::path& untinDir, std::array<std::string, 2>* texts) {
    const FileValues file =
        readFileValues(untinDir, StartStationsFile.literal, StartStationsFile.count);
    StartStations start;
    start.departure = stationNumberValue(file, 0, false);
    start.arrival = stationNumberValue(file, 1, false);
    if (texts) {
        (*texts)[0] = file.value(0);
        (*texts)[1] = file.value(1);
    }
    return start;
}

double roundHalfEven(double value) {
    if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Tables are nearly all ASCII: pass over it eight bytes at a time.
        while (i + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if (word & 0x8080808080808080u) break;
            i += 8;
        }
        if (i == text.size()) break;
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string escapeControls(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : utf8SequenceLength(text, i);
        if (byte < 0x20 || byte == 0x7F || length == 0) {
            out += "\\x";
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0xF]);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string bracketedPath(const fs::path& path) { return "「" + toValidUtf8(path.string()) + "」"; }

std::string toValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string systemErrorText(int errorNumber) {
    std::string text;
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            text = "アクセスが許可されていません";
            break;
        case EISDIR:
            text = "ファイルではなくフォルダです";
            break;
        case EROFS:
            text = "読み取り専用の場所です";
            break;
        case ENOSPC:
        case EDQUOT:
            text = "ディスクの空きが足りません";
            break;
        case EFBIG:
            text = "ファイルが大きすぎます";
            break;
        case EIO:
            text = "入出力エラーが起きました";
            break;
        case ELOOP:
            text = "シンボリックリンクが循環しています";
            break;
        case ENOENT:
            text = "見つかりません";
            break;
        case ENOTDIR:
            text = "途中の名前がフォルダではありません";
            break;
        case EMFILE:
        case ENFILE:
            text = "開いているファイルが多すぎます";
            break;
        case ENOTEMPTY:
        case EEXIST:
            text = "同じ名前のフォルダがあります";
            break;
        default:
            text = "システムエラー";
            break;
    }
    return text + "（エラー番号 " + std::to_string(errorNumber) + "）";
}

}  // namespace kippurun
