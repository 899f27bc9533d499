#include "data/key_layout.h"

#include <array>
#include <vector>

#include "data/folder_transaction.h"
#include "data/number_reading.h"
#include "data/table_file.h"
#include "data/table_files.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEkimeiLiteral = KeyLayoutFile.literal;
constexpr int kEkimeiColumns = 10;

std::string plainNumber(std::string_view text) { return formatPlain(readLenient(text)); }

constexpr std::array<std::string_view, 2> kPairNames = {KeyLayoutFile.fileName(),
                                                        StartStationsFile.fileName()};

DataFileError writeFailed(const fs::path& untinDir, const FolderWriteError& failure,
                          std::string_view outcome) {
    return DataFileError(DataFileError::Kind::WriteFailed, failure.fileName(),
                         "ファイル「" + failure.fileName() + "」を保存できません：" +
                             failure.reason() + "（フォルダ「" + toValidUtf8(untinDir.string()) +
                             "」）。" + std::string(outcome));
}

constexpr std::string_view kOldKept = "元のファイルはそのままです。";
constexpr std::string_view kUnconfirmed =
    "新しい内容がディスクに書き込まれたか確かめられません。もう一度保存してください。";

std::string_view pairOutcome(SetOutcome outcome) {
    switch (outcome) {
        case SetOutcome::Old:
            return "どちらのファイルも元のままです。";
        case SetOutcome::New:
            return kUnconfirmed;
        case SetOutcome::LeftToRecovery:
            break;
    }
    return "次にフォルダを開くとき、二つのファイルは元の内容にそろえられます。";
}

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
    try {
        replaceFile(untinDir, fileName, bytes);
    } catch (const FolderWriteError& failure) {
        throw writeFailed(untinDir, failure,
                          failure.outcome() == SetOutcome::Old ? kOldKept : kUnconfirmed);
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

bool writeKeySettings(const fs::path& untinDir, const EkimeiGrid& grid, std::string_view departure,
                      std::string_view arrival, std::string* expected) {
    try {
        FolderTransaction transaction(untinDir);
        if (expected) {
            std::string now = keySettingsOnDisk(untinDir);
            if (now != *expected) {
                *expected = std::move(now);
                return false;
            }
        }
        transaction.commit(
            {{std::string(KeyLayoutFile.fileName()), formatEkimeiFile(grid)},
             {std::string(StartStationsFile.fileName()), formatStartFile(departure, arrival)}});
    } catch (const FolderWriteError& failure) {
        throw writeFailed(untinDir, failure, pairOutcome(failure.outcome()));
    }
    return true;
}

}  // namespace kippurun
