#include "office/table_sheets.h"

#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "data/amount.h"
#include "data/folder_transaction.h"
#include "data/station_catalogue.h"
#include "data/table_file.h"
#include "office/csv_row.h"
#include "office/office_commands.h"
#include "office/table_install.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kReadmeName = "README.txt";
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

// "A", …, "Z", "AA": the column as a spreadsheet names it.
std::string columnLetters(std::size_t column) {
    std::string letters;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

// "13 行 3 列（C13）"; row and column counting from 0.
std::string cellName(std::size_t row, std::size_t column) {
    return std::to_string(row + 1) + " 行 " + std::to_string(column + 1) + " 列（" +
           columnLetters(column) + std::to_string(row + 1) + "）";
}

// A header cell as compared: blanks, half- or full-width, do not count, so
// that a spreadsheet trimming them or a name retyped without its filler
// spaces still reads.
std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
        } else if (text.substr(i, kFullWidthSpace.size()) == kFullWidthSpace) {
            i += kFullWidthSpace.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string cornerCell(const TableFile& file) {
    return std::string(file.fileName()) + " " + std::string(file.title) + "（行: 着駅、列: 発駅）";
}

bool emptyRecord(const std::vector<std::string>& record) {
    for (const std::string& field : record)
        if (!trimmed(field).empty()) return false;
    return true;
}

// The value as the program's reader takes it back; empty optional when no
// writing of it reads back the same (a double quote where quotes are needed).
std::optional<std::string> writtenValue(std::string_view value) {
    const bool quoted = value.find_first_of(",\r\n") != std::string_view::npos;
    if (value.find('"') != std::string_view::npos && (quoted || value.front() == '"'))
        return std::nullopt;
    return quoted ? "\"" + std::string(value) + "\"" : std::string(value);
}

std::string stationText(int station) {
    return std::to_string(station) + "「" + std::string(stationName(station).value_or("?")) + "」";
}

}  // namespace

std::string sheetStationCell(const TableFile& file, std::size_t index) {
    const int station = stationAtIndex(file.space, index);
    return std::to_string(station) + " " + std::string(stationName(station).value_or("?"));
}

std::string tableSheet(const TableFile& file, const Table& table) {
    std::string out(CsvByteOrderMark);
    const std::size_t side = file.perLine;
    {
        CsvRow header(out);
        header << cornerCell(file);
        for (std::size_t d = 0; d < side; ++d) header << sheetStationCell(file, d);
    }
    for (std::size_t a = 0; a < side; ++a) {
        CsvRow row(out);
        row << sheetStationCell(file, a);
        for (std::size_t d = 0; d < side; ++d)
            row << table.at(static_cast<int>(a), static_cast<int>(d));
    }
    return out;
}

std::vector<std::vector<std::string>> readCsvRecords(std::string_view bytes) {
    if (bytes.substr(0, CsvByteOrderMark.size()) == CsvByteOrderMark)
        bytes.remove_prefix(CsvByteOrderMark.size());
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '"') {
            // Quoted: "" is a quote; whatever follows the closing quote up to
            // the separator belongs to the field too.
            for (++i; i < bytes.size(); ++i) {
                if (bytes[i] != '"') {
                    field.push_back(bytes[i]);
                } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                    field.push_back('"');
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        }
        while (i < bytes.size() && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n')
            field.push_back(bytes[i++]);
        record.push_back(std::move(field));
        field.clear();
        if (i >= bytes.size()) break;
        if (bytes[i] == ',') {
            ++i;
            if (i == bytes.size()) record.emplace_back();
            continue;
        }
        i += (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        records.push_back(std::move(record));
        record.clear();
    }
    if (!record.empty()) records.push_back(std::move(record));
    return records;
}

SheetReading readTableSheet(const TableFile& file, std::string_view sheetBytes) {
    const std::string name(file.fileName());
    const auto refuse = [&](std::string why) { return SheetReading{{}, name + ": " + why}; };
    std::vector<std::vector<std::string>> records = readCsvRecords(sheetBytes);
    while (!records.empty() && emptyRecord(records.back())) records.pop_back();
    const std::size_t side = file.perLine;
    const std::string fix =
        "表の形は書き出したときのまま（行・列の並べ替え、挿入、削除なし）で保存してください。";

    if (records.empty()) return refuse("空のファイルです。" + fix);
    const std::string corner = records[0].empty() ? std::string() : records[0][0];
    const std::string cornerText(trimmed(corner));
    if (cornerText.substr(0, name.size()) != name ||
        (cornerText.size() > name.size() && cornerText[name.size()] != ' '))
        return refuse(cellName(0, 0) + "は「" + name + "」で始まるはずですが、" +
                      valueExcerpt(cornerText) + "です。別の表のファイルではありませんか。");

    // The stations first: a moved row or column is named where it is, before
    // the counts that it may also upset.
    for (std::size_t d = 0; d < side; ++d) {
        const std::string expected = sheetStationCell(file, d);
        const std::string held = d + 1 < records[0].size() ? records[0][d + 1] : std::string();
        if (withoutBlanks(held) != withoutBlanks(expected))
            return refuse("1 行目の " + cellName(0, d + 1) + "は発駅「" + expected +
                          "」のはずですが、" + valueExcerpt(trimmed(held)) + "です。" + fix);
    }
    for (std::size_t a = 0; a < side; ++a) {
        const std::string expected = sheetStationCell(file, a);
        const std::string held =
            a + 1 < records.size() && !records[a + 1].empty() ? records[a + 1][0] : std::string();
        if (withoutBlanks(held) != withoutBlanks(expected))
            return refuse("1 列目の " + cellName(a + 1, 0) + "は着駅「" + expected +
                          "」のはずですが、" + valueExcerpt(trimmed(held)) + "です。" + fix);
    }
    if (records.size() > side + 1)
        return refuse(std::to_string(side + 2) + " 行目にも値があります。表は見出しを含めて " +
                      std::to_string(side + 1) + " 行です。" + fix);
    for (std::size_t r = 0; r <= side; ++r) {
        const std::vector<std::string>& record = records[r];
        if (record.size() < side + 1)
            return refuse(std::to_string(r + 1) + " 行目の値が " + std::to_string(record.size()) +
                          " 列しかありません。表は見出しを含めて " + std::to_string(side + 1) +
                          " 列です。" + fix);
        for (std::size_t c = side + 1; c < record.size(); ++c)
            if (!trimmed(record[c]).empty())
                return refuse(cellName(r, c) + "にも値" + valueExcerpt(trimmed(record[c])) +
                              "があります。表は見出しを含めて " + std::to_string(side + 1) +
                              " 列です。" + fix);
    }

    SheetReading reading;
    const bool amounts = file.value == TableValue::Amount;
    for (std::size_t a = 0; a < side; ++a) {
        for (std::size_t d = 0; d < side; ++d) {
            const std::string_view value = trimmed(records[a + 1][d + 1]);
            const auto where = [&] {
                return cellName(a + 1, d + 1) + "（着 " +
                       stationText(stationAtIndex(file.space, a)) + "・発 " +
                       stationText(stationAtIndex(file.space, d)) + "）";
            };
            std::optional<std::string> written;
            if (amounts && !value.empty()) {
                const AmountReading amount = readAmount(value);
                if (!amount.yen)
                    return refuse(where() + "の" + valueExcerpt(value) + amount.refusal +
                                  "。金額（円の整数）か空にしてください。");
                written = std::to_string(*amount.yen);
            } else if (!isValidUtf8(value)) {
                return refuse(where() + "の値が UTF-8 ではありません。UTF-8 で保存してください。");
            } else if (!value.empty()) {
                written = writtenValue(value);
                if (!written)
                    return refuse(where() + "の" + valueExcerpt(value) +
                                  "は運賃表に書けません（引用符とコンマや改行が一緒にあります）。");
            }
            if (d > 0) reading.bytes += ',';
            if (written) reading.bytes += *written;
        }
        reading.bytes += "\r\n";
    }
    return reading;
}

namespace {

// `dir` ready to receive a set: created, or there and empty. Sets `created`.
// Returns the refusal, empty when ready.
std::string prepareFolder(const fs::path& dir, bool& created) {
    std::error_code ec;
    created = false;
    if (fs::exists(dir, ec)) {
        if (!fs::is_directory(dir, ec)) return bracketedPath(dir) + "はフォルダではありません。";
        if (!fs::is_empty(dir, ec) || ec)
            return "フォルダ" + bracketedPath(dir) +
                   "は空ではありません。上書きしないよう、ないフォルダか空のフォルダを指定してくだ"
                   "さい。";
        return {};
    }
    if (!fs::create_directory(dir, ec))
        return "フォルダ" + bracketedPath(dir) + "を作れません（" + systemErrorText(ec.value()) +
               "）。";
    created = true;
    return {};
}

// Writes `files` as one set into `dir`, which must not exist or be empty
// (nothing is ever written over); a folder made for it goes again when the
// write fails. Returns the refusal or failure, empty when written.
std::string writeIntoFreshFolder(const fs::path& dir, const std::vector<FileReplacement>& files) {
    bool created = false;
    if (std::string refusal = prepareFolder(dir, created); !refusal.empty()) return refusal;
    try {
        FolderTransaction transaction(dir);
        transaction.commit(files);
    } catch (const FolderWriteError& failure) {
        std::error_code ec;
        if (created) fs::remove_all(dir, ec);
        return "「" + failure.fileName() + "」を" + bracketedPath(dir) + "に書けません：" +
               failure.reason();
    }
    return {};
}

std::string readmeText() {
    std::string text(CsvByteOrderMark);
    const auto line = [&](std::string_view s) { text.append(s).append("\r\n"); };
    line("キップルンの運賃表（表計算ソフトで編集するためのもの）");
    line("");
    line("各ファイルは運賃表 1 つです。1 行目が発駅、1 列目が着駅（駅番号と駅名）、");
    line(
        "その交わるセルがその区間（発駅 → "
        "着駅）の値です。値は運賃表にあるとおりに書いてあります。");
    line("金額は円の整数で書きます（\"4,230\" のような 3 桁区切りも 4230 と読みます）。");
    line("行や列を並べ替えたり、挿入・削除したりしないでください。読み込むときに断ります。");
    line("編集したら CSV（UTF-8、コンマ区切り）で同じファイル名のまま保存し、");
    line("kippurun --import-tables このフォルダ --into 新しいフォルダ で運賃表に戻します。");
    line("入っていない表は今の運賃表からそのまま写されます。");
    line("");
    for (const TableFile& file : TableFiles)
        if (file.member != nullptr)
            line(std::string(file.fileName()) + "\t" + std::string(file.title));
    return text;
}

}  // namespace

int runExportTables(const fs::path& untinDir, const fs::path& dir, std::ostream& out,
                    std::ostream& err) {
    FareTables tables;
    try {
        tables = readWholeSet({untinDir}, [&] {
            FareTables set = FareTableLoad(untinDir);
            set.Gakuwari = GakuwariLoad(untinDir);
            return set;
        });
    } catch (const DataFileError& failure) {
        err << failure.what() << "\n";
        return 1;
    }
    std::vector<FileReplacement> files;
    for (const TableFile& file : TableFiles)
        if (file.member != nullptr)
            files.push_back({std::string(file.fileName()), tableSheet(file, tables.*file.member)});
    files.push_back({std::string(kReadmeName), readmeText()});
    if (const std::string failure = writeIntoFreshFolder(dir, files); !failure.empty()) {
        err << failure << " 何も書き出していません。\n";
        return 1;
    }
    out << bracketedPath(dir) << "に運賃表 " << files.size() - 1 << " ファイルと " << kReadmeName
        << " を書き出しました。\n";
    return 0;
}

int runImportTables(const fs::path& dir, const fs::path& newDir, const fs::path& untinDir,
                    std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        err << "読み込むフォルダ" << bracketedPath(dir) << "が見つかりません。\n";
        return 1;
    }
    std::vector<FileReplacement> files;
    std::vector<std::string> fromSheets, fromUntin, refusals;
    for (const std::string& name : officeFiles()) {
        std::string bytes;
        try {
            bytes = readTableFileBytes(dir, name);
        } catch (const DataFileError& failure) {
            if (failure.kind() == DataFileError::Kind::FileNotFound) {
                fromUntin.push_back(name);
                continue;
            }
            refusals.push_back(failure.what());
            continue;
        }
        // The names are the list's own: each has its entry.
        SheetReading reading = readTableSheet(*tableFileNamed(name), bytes);
        if (!reading.refusal.empty()) {
            refusals.push_back(reading.refusal);
            continue;
        }
        fromSheets.push_back(name);
        files.push_back({name, std::move(reading.bytes)});
    }
    if (!refusals.empty()) {
        for (const std::string& refusal : refusals) err << refusal << "\n";
        err << "読み込めない表があるため、" << bracketedPath(newDir)
            << "には何も書いていません。\n";
        return 1;
    }
    if (fromSheets.empty()) {
        err << "フォルダ" << bracketedPath(dir)
            << "には運賃表のファイル（Otona.csv など）がありません。" << bracketedPath(newDir)
            << "には何も書いていません。\n";
        return 1;
    }
    // Whatever else is there is said, so that a sheet saved under another
    // name ("Otona (2).csv") is not taken for imported.
    std::set<std::string> known(officeFiles().begin(), officeFiles().end());
    known.emplace(kReadmeName);
    std::vector<std::string> ignored;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!known.count(name) && name.front() != '.') ignored.push_back(name);
    }

    // The tables without a sheet and the counter's two files, as the
    // program reads them: from one whole set.
    std::vector<std::string> copied = fromUntin;
    copied.emplace_back(StartStationsFile.fileName());
    copied.emplace_back(KeyLayoutFile.fileName());
    try {
        std::vector<FileReplacement> copies = readWholeSet({untinDir}, [&] {
            std::vector<FileReplacement> read;
            for (const std::string& name : copied) {
                try {
                    read.push_back({name, readTableFileBytes(untinDir, name)});
                } catch (const DataFileError& failure) {
                    // The counter's own files are the check's to report.
                    const bool counters =
                        name == StartStationsFile.fileName() || name == KeyLayoutFile.fileName();
                    if (!counters || failure.kind() != DataFileError::Kind::FileNotFound) throw;
                }
            }
            return read;
        });
        for (FileReplacement& copy : copies) files.push_back(std::move(copy));
    } catch (const DataFileError& failure) {
        err << "運賃表フォルダ" << bracketedPath(untinDir) << "から写せません: " << failure.what()
            << " " << bracketedPath(newDir) << "には何も書いていません。\n";
        return 1;
    }

    if (const std::string failure = writeIntoFreshFolder(newDir, files); !failure.empty()) {
        err << failure << " 何も書いていません。\n";
        return 1;
    }
    const auto names = [](const std::vector<std::string>& list) {
        std::string text;
        for (const std::string& name : list) text += (text.empty() ? "" : "、") + name;
        return text.empty() ? std::string("なし") : text;
    };
    out << bracketedPath(newDir) << "に運賃表を書きました。表計算から " << fromSheets.size()
        << " ファイル: " << names(fromSheets) << "\n"
        << bracketedPath(untinDir) << "から写したもの: " << names(fromUntin) << "\n";
    if (!ignored.empty()) out << "読まなかったファイル: " << names(ignored) << "\n";
    out << "点検の結果:\n";
    const int status = runTableCheck(newDir, false, out);
    if (status != 0)
        err << bracketedPath(newDir)
            << "の表にエラーがあります。このままでは --install-tables で入れられません。\n";
    return status;
}

}  // namespace kippurun
