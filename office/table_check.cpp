#include "office/table_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "calendar/season_rule.h"
#include "data/amount.h"
#include "data/data_file_error.h"
#include "data/fare_tables.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "data/table_file.h"
#include "data/table_files.h"
#include "data/value_scanner.h"
#include "fare/determinations.h"
#include "fare/ticket_types.h"
#include "office/price_list.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

using Position = DataFileError::Position;

constexpr std::size_t kKeyCells = 52;  // Ekimei1.csv cells that belong to a key

// JiKaiHan: "1" sells the express coupon, "0" is the office's way to say no.
constexpr std::array<std::string_view, 2> kExpressCouponCodes = {"0", "1"};

class Findings {
  public:
    void add(std::string_view file, Position at, Severity severity, std::string message) {
        list_.push_back({std::string(file), at.line, at.field, severity, std::move(message)});
    }
    void addFile(std::string_view file, std::string message) {
        list_.push_back({std::string(file), 0, 0, Severity::Error, std::move(message)});
    }
    std::vector<Finding> take() { return std::move(list_); }

  private:
    std::vector<Finding> list_;
};

// A file read whole, kept for the comparisons between tables.
struct ReadFile {
    FileValues values;
    std::vector<Position> positions;             // of every value in the file
    bool inPlace = false;                        // no line shifts the values the program reads
    std::vector<std::optional<double>> amounts;  // the sound amounts of an amount table
};

std::string stopName(IndexSpace space, std::size_t index) {
    return "「" + std::string(stationName(stationAtIndex(space, index)).value_or("?")) + "」";
}

// "7170 番目の値（着 67「松　　山」・発 0「岡　　山」）「abc」"
std::string valueText(const TableFile& checked, const FileValues& file, std::size_t k) {
    std::string text = std::to_string(k + 1) + " 番目の値";
    if (checked.space != IndexSpace::None) {
        const std::size_t arrival = k / checked.perLine;
        const std::size_t departure = k % checked.perLine;
        const bool numbered = checked.space == IndexSpace::Stations;
        text += "（着" + (numbered ? " " + std::to_string(arrival) : std::string()) +
                stopName(checked.space, arrival) + "・発" +
                (numbered ? " " + std::to_string(departure) : std::string()) +
                stopName(checked.space, departure) + "）";
    }
    // An empty value is named as such by the complaint.
    return file.value(k).empty() ? text : text + valueExcerpt(file.value(k));
}

bool isOneOf(std::string_view text, const auto& codes) {
    return std::find(codes.begin(), codes.end(), text) != codes.end();
}

// The value's own finding under its file's rule, if any.
void checkCell(const TableFile& checked, ReadFile& read, std::size_t k, Findings& findings) {
    const FileValues& file = read.values;
    const std::string_view text = file.value(k);
    const Position at = read.positions[k];
    const auto error = [&](const std::string& complaint) {
        findings.add(file.relativePath, at, Severity::Error,
                     valueText(checked, file, k) + complaint);
    };
    const auto warning = [&](const std::string& complaint) {
        findings.add(file.relativePath, at, Severity::Warning,
                     valueText(checked, file, k) + complaint);
    };
    switch (checked.value) {
        case TableValue::StartStation:
        case TableValue::KeyStation:
            if (checked.value == TableValue::KeyStation && k >= kKeyCells) return;
            try {
                stationNumberValue(file, k, checked.value == TableValue::KeyStation);
            } catch (const DataFileError& failure) {
                findings.add(file.relativePath, failure.position, Severity::Error, failure.what());
            }
            return;
        case TableValue::Amount: {
            const AmountReading reading = readAmount(text);
            if (!reading.yen) {
                error(reading.refusal + "。");
                return;
            }
            read.amounts[k] = static_cast<double>(*reading.yen);
            if (reading.grouped) {
                warning("は桁区切りのコンマ付きで、" + std::to_string(*reading.yen) +
                        " 円と読みます。コンマなしで書くと確かです。");
            }
            return;
        }
        case TableValue::Distance:
            if (!readStrict(text))
                error(text.empty() ? "が空です。キロ程は数で書きます。"
                                   : "は数ではありません。キロ程は数で書きます。");
            return;
        case TableValue::Flag:
        case TableValue::MarineFlag: {
            if (!readStrict(text)) {
                error(std::string(text.empty() ? "が空です" : "は数ではありません") +
                      "。0（売らない）か 0 以外の数（売る）で書きます。");
                return;
            }
            const auto arrival = static_cast<int>(k / checked.perLine);
            const auto departure = static_cast<int>(k % checked.perLine);
            if (checked.value == TableValue::MarineFlag && flagAllows(text) &&
                (marineUpperStop(arrival) == NotSet || marineUpperStop(departure) == NotSet)) {
                warning("は 0 ではありませんが、坂出より先の駅にマリンは停まりません。");
            }
            return;
        }
        case TableValue::CouponCode:
            if (!couponKeysFor(text)) {
                warning(std::string(text.empty() ? "が空です。" : "は") +
                        "回数券の区分「0」「6」「11」「60」のどれでもありません。"
                        "この区間では回数券のキーが前の区間の状態のまま残ります。");
            }
            return;
        case TableValue::ExpressCouponCode:
            if (!isOneOf(text, kExpressCouponCodes)) {
                warning(
                    std::string(text.empty() ? "が空です。" : "は「0」でも「1」でもありません。") +
                    "「1」のほかは" + std::string(PassengerTypes[ExpressCouponTicket].name) +
                    "を売らない扱いです。");
            }
            return;
    }
}

// The values on each line, and whether some line shifts the values after it.
void checkLayout(const TableFile& checked, ReadFile& read, Findings& findings) {
    const std::vector<Position>& positions = read.positions;
    const std::string& file = read.values.relativePath;
    std::vector<std::pair<std::size_t, std::size_t>> lines;  // line, values on it
    for (const Position& p : positions) {
        if (lines.empty() || lines.back().first != p.line) lines.emplace_back(p.line, 0);
        ++lines.back().second;
    }
    std::map<std::size_t, std::size_t> lineLengths;  // values on a line -> lines with as many
    for (const auto& [line, values] : lines) ++lineLengths[values];
    const std::size_t usual =
        std::max_element(lineLengths.begin(), lineLengths.end(), [](const auto& x, const auto& y) {
            return x.second < y.second;
        })->first;
    const auto odd = std::find_if(lines.begin(), lines.end(),
                                  [usual](const auto& line) { return line.second != usual; });

    const std::size_t total = positions.size();
    const bool beyond = total > checked.count;
    const bool rowsShifted = odd != lines.end() && usual == checked.perLine;
    read.inPlace = !beyond && !rowsShifted;
    if (read.inPlace) return;

    std::string message;
    Position at;
    if (beyond) {
        message = "値が " + std::to_string(total) + " 個あり、読まれる " +
                  std::to_string(checked.count) + " 個を超えています。";
    }
    if (odd != lines.end()) {
        at = {0, odd->first, 1};
        message += std::to_string(odd->first) + " 行目の値の数（" + std::to_string(odd->second) +
                   " 個）がほかの行（" + std::to_string(usual) +
                   " 個）と違います。ずれの元はこの行です（空の行や行末の余分なコンマ）。";
    } else if (lines.size() > 1 && usual > checked.perLine) {
        at = {0, 1, checked.perLine + 1};
        message += "どの行にも値が " + std::to_string(usual) + " 個あります（1 行 " +
                   std::to_string(checked.perLine) +
                   " 個のはず）。2 行目から後の値がずれて読まれます（行末の余分なコンマ）。";
    } else {
        at = positions[checked.count];
        message += std::to_string(checked.count + 1) + " 番目から後の値は読まれません。";
    }
    findings.add(file, at, Severity::Warning, message);
}

std::optional<ReadFile> readAndCheck(const CounterFolders& folders, const TableFile& checked,
                                     Findings& findings) {
    const std::string name(checked.fileName());
    const bool counters = checked.fileName() == KeyLayoutFile.fileName() ||
                          checked.fileName() == StartStationsFile.fileName();
    ReadFile read;
    try {
        std::string bytes =
            readTableFileBytes(counters ? folders.counter : folders.tables, checked.literal);
        read.positions = valuePositions(bytes);
        read.values = takeFileValues(name, std::move(bytes), checked.count);
        // Both scans split values the same way; should they ever disagree,
        // the positions of the values read come from the reader's own.
        for (std::size_t k = read.positions.size(); k < checked.count; ++k) {
            read.positions.push_back(valuePosition(read.values.content, k));
        }
    } catch (const DataFileError& failure) {
        if (failure.kind() == DataFileError::Kind::PastEndOfFile) {
            findings.add(name, failure.position, Severity::Error, failure.what());
        } else {
            findings.addFile(name, failure.what());
        }
        return std::nullopt;
    }
    checkLayout(checked, read, findings);
    if (checked.value == TableValue::Amount) read.amounts.resize(checked.count);
    const bool square = checked.space != IndexSpace::None;
    for (std::size_t k = 0; k < checked.count; ++k) {
        if (square) {
            if (auto failure = squareTableValueFailure(read.values, k)) {
                findings.add(name, read.positions[k], Severity::Error, failure->what());
                continue;
            }
        }
        checkCell(checked, read, k, findings);
    }
    return read;
}

// A child or student price above the adult price of the same journey.
void compareWithAdult(const TableFile& checked, const ReadFile& lower, const ReadFile& adult,
                      Findings& findings) {
    if (!lower.inPlace || !adult.inPlace) return;  // the layout finding says it all
    for (std::size_t k = 0; k < checked.count; ++k) {
        const std::optional<double>& price = lower.amounts[k];
        const std::optional<double>& adultPrice = adult.amounts[k];
        if (!price || !adultPrice || *price <= *adultPrice) continue;
        const std::string who =
            checked.member == &FareTables::Gakuwari ? "は学割の運賃ですが" : "は小児の額ですが";
        findings.add(lower.values.relativePath, lower.positions[k], Severity::Warning,
                     valueText(checked, lower.values, k) + who + "、大人の額（" +
                         std::string(fileNameOf(checked.adultTable)) + " の同じ位置の「" +
                         std::string(adult.values.value(k)) + "」）より高くなっています。");
    }
}

// A fare or charge of 0 yen between two different stops, on a journey that
// sells its ticket: the run refuses to sell it, so the check names it. The
// zeros of a coupon that is not sold are the office's way to say so.
void checkSoldZeros(const CounterFolders& folders,
                    std::map<std::string, ReadFile, std::less<>>& read, Findings& findings) {
    FareTables tables;
    try {
        tables = FareTableLoad(folders.tables, folders.counter);
        tables.Gakuwari = GakuwariLoad(folders.tables);
    } catch (const DataFileError&) {
        return;  // the files' own findings say why
    }
    const JourneyPricer pricer(
        tables, {std::string(SeasonPeak), std::string(SeasonRegular), std::string(SeasonOffPeak)});
    std::set<std::pair<std::string_view, std::size_t>> named;
    std::vector<JourneyPricer::SoldPrice> prices;
    for (int d = 0; d < StationCount; ++d) {
        for (int a = 0; a < StationCount; ++a) {
            pricer.soldPrices(d, a, prices);
            for (const JourneyPricer::SoldPrice& sold : prices) {
                if (!sold.price.zeroBetweenStops()) continue;
                const auto file = read.find(sold.price.file());
                if (file == read.end()) continue;
                const TableFile* checked = tableFileNamed(file->first);
                if (checked == nullptr) continue;
                const std::size_t k =
                    static_cast<std::size_t>(sold.price.arrival()) * checked->perLine +
                    static_cast<std::size_t>(sold.price.departure());
                if (!named.emplace(checked->fileName(), k).second) continue;
                findings.add(file->first, file->second.positions[k], Severity::Error,
                             valueText(*checked, file->second.values, k) +
                                 std::string(zeroAmountRefusal()) + "（" +
                                 std::string(stationName(d).value_or("?")) + " → " +
                                 std::string(stationName(a).value_or("?")) + " の" +
                                 std::string(sold.ticket) + "で売られます）。");
            }
        }
    }
}

std::size_t fileOrder(const std::string& file) {
    const std::vector<std::string>& files = checkedFiles();
    return static_cast<std::size_t>(std::find(files.begin(), files.end(), file) - files.begin());
}

}  // namespace

const std::vector<std::string>& checkedFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> names;
        for (const TableFile& checked : TableFiles) names.emplace_back(checked.fileName());
        return names;
    }();
    return files;
}

CheckedFileShape checkedFileShape(std::string_view file) {
    for (const TableFile& checked : TableFiles) {
        if (checked.fileName() != file) continue;
        return {checked.count, checked.space == IndexSpace::None ? 0 : checked.perLine};
    }
    return {};
}

std::vector<Finding> checkTables(const CounterFolders& folders) {
    Findings findings;
    std::map<std::string, ReadFile, std::less<>> read;
    for (const TableFile& checked : TableFiles) {
        if (auto file = readAndCheck(folders, checked, findings)) {
            read.emplace(checked.fileName(), std::move(*file));
        }
    }
    checkSoldZeros(folders, read, findings);
    for (const TableFile& checked : TableFiles) {
        if (checked.adultTable == nullptr) continue;
        const auto lower = read.find(checked.fileName());
        const auto adult = read.find(fileNameOf(checked.adultTable));
        if (lower != read.end() && adult != read.end()) {
            compareWithAdult(checked, lower->second, adult->second, findings);
        }
    }
    std::vector<Finding> list = findings.take();
    std::stable_sort(list.begin(), list.end(), [](const Finding& x, const Finding& y) {
        const std::size_t xo = fileOrder(x.file);
        const std::size_t yo = fileOrder(y.file);
        if (xo != yo) return xo < yo;
        if (x.line != y.line) return x.line < y.line;
        return x.field < y.field;
    });
    return list;
}

std::string findingLine(const Finding& finding) {
    std::string line = finding.file + ":";
    if (finding.line > 0) {
        line += std::to_string(finding.line) + ":" + std::to_string(finding.field) + ":";
    }
    line += finding.severity == Severity::Error ? " エラー: " : " 警告: ";
    return line + finding.message;
}

std::string summaryLine(const std::vector<Finding>& findings, bool strict) {
    struct Counts {
        std::size_t errors = 0, warnings = 0;
    };
    std::vector<Counts> perFile(checkedFiles().size() + 1);
    Counts total;
    for (const Finding& finding : findings) {
        Counts& counts = perFile[std::min(fileOrder(finding.file), checkedFiles().size())];
        const bool error = finding.severity == Severity::Error;
        ++(error ? counts.errors : counts.warnings);
        ++(error ? total.errors : total.warnings);
    }
    const auto countText = [](const Counts& c) {
        std::string text;
        if (c.errors > 0) text += "エラー " + std::to_string(c.errors) + " 件";
        if (c.errors > 0 && c.warnings > 0) text += "・";
        if (c.warnings > 0) text += "警告 " + std::to_string(c.warnings) + " 件";
        return text;
    };
    std::string line = "まとめ: " + std::to_string(checkedFiles().size()) + " ファイル、エラー " +
                       std::to_string(total.errors) + " 件、警告 " +
                       std::to_string(total.warnings) + " 件";
    std::string files;
    for (std::size_t i = 0; i < checkedFiles().size(); ++i) {
        if (perFile[i].errors + perFile[i].warnings == 0) continue;
        files += (files.empty() ? "" : "、") + checkedFiles()[i] + " " + countText(perFile[i]);
    }
    if (!files.empty()) line += "（" + files + "）";
    if (strict && total.warnings > 0) line += "。--strict のため警告もエラーとして数えます";
    return line;
}

bool checkFails(const std::vector<Finding>& findings, bool strict) {
    return std::any_of(findings.begin(), findings.end(), [strict](const Finding& finding) {
        return finding.severity == Severity::Error || strict;
    });
}

}  // namespace kippurun
